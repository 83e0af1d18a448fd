"""What deployment tools rely on: the exit codes of real runs, /WAIT for the temporary copy, the
result file (and bad /RESULT: paths), the full uninstall entry, and /? on the console."""
import re
import shutil
import subprocess
import zipfile
from pathlib import Path

import vekharness as h

ROOT = h.DRIVE_C / "DeployApps"
KEY = h.UNINSTALL + "\\VekE2EDeploy"

SCRIPT = r"""[System Info]
Name=Deploy Product
Version=2.5
InstallRoot=DeployApps
SystemDir=Sys

[UnInstall]
Key=VekE2EDeploy
DisplayName=Deploy Product 2.5
Publisher=E2E Maker
UninstallString=%SYSDIR%\SETUP.EXE /UNINSTALL
DisplayIcon=%SYSDIR%\deploy.ico

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Core
Selected=1
PackFile=core.zip
"""

CORE = {"app.exe": b"MZ" + b"a" * 3000, "data/one.txt": b"one" * 100}


def make_pack(path: Path, files: dict) -> None:
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as pack:
        for name, data in files.items():
            pack.writestr(name, data)


def read_result(path: Path) -> dict:
    """The result file as {section: {key: value}}, checked to be UTF-16 with its byte-order mark."""
    data = path.read_bytes()
    assert data.startswith(b"\xff\xfe"), data[:8]
    sections, current = {}, None
    for line in data.decode("utf-16").split("\r\n"):
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif current is not None and "=" in line:
            key, _, value = line.partition("=")
            current[key] = value
    return sections


class Deploy(h.WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(ROOT, ignore_errors=True)
        h.wine_command("reg", "delete", KEY, "/f")
        for leftover in h.temp_dir().glob("*.result.ini"):
            leftover.unlink()
        # An earlier relaunch leaves its copy until the next logon.
        copy = h.temp_dir() / "VekSetup.exe"
        if copy.is_dir():
            copy.rmdir()
        copy.unlink(missing_ok=True)

    def distribution(self, name: str, script: str = SCRIPT) -> h.Distribution:
        dist = h.Distribution(name)
        dist.script(script)
        make_pack(dist.dir / "core.zip", CORE)
        return dist

    def only_log(self, prefix: str = "setup_") -> list:
        logs = h.logs(prefix)
        self.assertEqual(len(logs), 1, logs)
        return next(iter(logs.values()))

    def copy_finished(self) -> list:
        """The log of the temporary copy once it has ended."""
        def finished():
            # The copy writes its result beside its log once the finish routine is done.
            return [lines for name, lines in h.logs("VekSetup_").items()
                    if lines and lines[-1].startswith("Write ")
                    and (h.temp_dir() / name.replace(".log", ".result.ini")).exists()]
        logs = h.wait_for(finished)
        self.assertTrue(logs, h.logs())
        return logs[0]

    def test_install_writes_the_full_uninstall_entry_and_the_cleanup_removes_it(self):
        dist = self.distribution("entry")
        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, h.logs())
        values = h.reg_values(KEY)
        self.assertRegex(values.pop("InstallDate"), r"^20\d{6}$")
        size = int(values.pop("EstimatedSize"), 16)
        # The pack's two files and the setup program: a few KiB beyond the program's own size.
        program_kib = (ROOT / "Sys" / "SETUP.EXE").stat().st_size // 1024
        self.assertTrue(program_kib + 3 <= size <= program_kib + 8, (size, program_kib))
        self.assertEqual(values, {
            "DisplayName": "Deploy Product 2.5", "Publisher": "E2E Maker",
            "Uninstallstring": "C:\\DeployApps\\Sys\\SETUP.EXE /UNINSTALL",
            "DisplayVersion": "2.5",
            "QuietUninstallString": "C:\\DeployApps\\Sys\\SETUP.EXE /UNINSTALL /Q",
            "InstallLocation": "C:\\DeployApps",
            # The script's own value wins over the installed setup program.
            "DisplayIcon": "C:\\DeployApps\\Sys\\deploy.ico",
            "NoModify": "0x1", "NoRepair": "0x1"})
        result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        self.assertEqual(result.returncode, 0, h.logs())
        self.assertIsNone(h.reg_values(KEY))

    def test_exit_codes_and_result_files_of_real_runs(self):
        dist = self.distribution("codes")
        # Done: the result goes beside the log.
        self.assertEqual(dist.run("/Q", "/s:", "/I:C:\\").returncode, 0, h.logs())
        log_name = next(iter(h.logs("setup_")))
        done = read_result(h.temp_dir() / log_name.replace(".log", ".result.ini"))["Result"]
        self.assertRegex(done.pop("StartTime"), r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")
        self.assertRegex(done.pop("EndTime"), r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")
        self.assertEqual(done, {
            "ExitCode": "0", "Meaning": "done", "RestartNeeded": "0", "RunMode": "install",
            "InstallMode": "install", "InstallPath": "C:\\", "FilesInstalled": "2", "FilesKept": "0",
            "FilesSkipped": "0", "FilesFailed": "0", "ProgramsRun": "0",
            "LogFile": "C:\\users\\" + h.temp_dir().parent.name + "\\Temp\\" + log_name})
        self.assertEqual(self.only_log()[-1], "Terminate")

        # Stopped without doing its work: an update with nothing installed, result where asked.
        h.clear_logs()
        empty = h.DRIVE_C / "nodeploy"
        shutil.rmtree(empty, ignore_errors=True)
        empty.mkdir()
        asked = dist.dir / "failed result.ini"
        result = dist.run("/Q", "/s:", "/U:C:\\nodeploy", f"/RESULT:{h.to_windows(asked)}")
        self.assertEqual(result.returncode, 1, h.logs())
        failed = read_result(asked)["Result"]
        self.assertEqual((failed["ExitCode"], failed["Meaning"], failed["InstallMode"], failed["FilesInstalled"]),
                         ("1", "stopped without doing its work", "update", "0"))
        self.assertFalse(Path(str(asked) + ".tmp").exists())

        # Could not be carried out: the temporary copy cannot be made (a folder holds its name),
        # so nothing is started. The result comes from the first process; without /WAIT the
        # relaunch fails the same way.
        h.clear_logs()
        (h.temp_dir() / "VekSetup.exe").mkdir()
        broken = dist.dir / "broken.ini"
        result = dist.run("/WAIT", "/Q", f"/RESULT:{h.to_windows(broken)}")
        self.assertEqual(result.returncode, 2, h.logs())
        self.assertEqual(read_result(broken)["Result"]["ExitCode"], "2")
        self.assertTrue(any(line.startswith("Delete ") and "VekSetup.exe" in line and "failed, error" in line
                            for line in self.only_log()), self.only_log())
        self.assertFalse(any(line.startswith("Restarting") for line in self.only_log()))
        self.assertEqual(dist.run("/Q").returncode, 2)

    def test_wait_returns_the_exit_code_of_the_temporary_copy(self):
        dist = self.distribution("wait")
        empty = h.DRIVE_C / "nodeploy"
        shutil.rmtree(empty, ignore_errors=True)
        empty.mkdir()
        result_file = dist.dir / "copy.ini"
        result = dist.run("/WAIT", "/Q", "/U:C:\\nodeploy", f"/RESULT:{h.to_windows(result_file)}")
        self.assertEqual(result.returncode, 1, h.logs())
        copy_log = next(iter(h.logs("VekSetup_").values()))
        self.assertIn(" /WAIT", copy_log[1])
        self.assertIn("The temporary copy ended with exit code 1", self.only_log())
        # The copy wrote the result file it was handed on.
        self.assertEqual(read_result(result_file)["Result"]["ExitCode"], "1")

        h.clear_logs()
        self.assertEqual(dist.run("/WAIT", "/Q", "/I:C:\\").returncode, 0, h.logs())
        self.assertTrue((ROOT / "PROG" / "app.exe").exists())

        # Without /WAIT the first process ends at once with 0, whatever the copy ends with.
        h.clear_logs()
        self.assertEqual(dist.run("/Q", "/U:C:\\nodeploy").returncode, 0)
        self.copy_finished()

    def test_bad_result_paths_are_logged_and_change_nothing_else(self):
        dist = self.distribution("badresult")
        read_only = dist.dir / "readonly.ini"
        read_only.write_bytes(b"old")
        h.set_file_attributes(read_only, h.READ_ONLY)
        cases = (("/RESULT:", "/RESULT: names no file; the result goes beside the log"),
                 ("/RESULT:C:\\no such folder\\r.ini", 'Write result file "C:\\no such folder\\r.ini": failed, error 3'),
                 (f"/RESULT:{h.to_windows(read_only)}", f'Write result file "{h.to_windows(read_only)}": failed, error 5'))
        for switch, line in cases:
            with self.subTest(switch):
                h.clear_logs()
                shutil.rmtree(ROOT, ignore_errors=True)
                result = dist.run("/Q", "/s:", "/I:C:\\", switch)
                self.assertEqual(result.returncode, 0, h.logs())
                log = self.only_log()
                self.assertTrue(any(entry.startswith(line) for entry in log), log[-5:])
                self.assertTrue((ROOT / "PROG" / "app.exe").exists())
        self.assertEqual(read_only.read_bytes(), b"old")
        self.assertFalse((h.DRIVE_C / "no such folder").exists())

    def test_a_silent_run_without_room_changes_nothing(self):
        dist = self.distribution("nospace")
        # A pack whose directory promises a petabyte: the selection cannot fit on any disk.
        with zipfile.ZipFile(dist.dir / "huge.zip", "w", zipfile.ZIP_DEFLATED) as pack:
            pack.writestr("huge.bin", b"x" * 1000)
            pack.filelist[0].file_size = 1 << 50
        dist.script(SCRIPT.replace("PackFile=core.zip", "PackFile=core.zip;huge.zip"))
        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 1, h.logs())
        log = self.only_log()
        shortage = [line for line in log if line.startswith("Not enough space on C:\\: needs ")]
        self.assertEqual(len(shortage), 1, log)
        self.assertRegex(shortage[0], r"needs \d{16,} bytes, \d+ bytes free$")
        self.assertNotIn("Install files", log)
        # The folders the path check had made are gone again; nothing was registered.
        self.assertFalse(ROOT.exists())
        self.assertIsNone(h.reg_values(KEY))

    def test_a_deep_pack_installs_is_recorded_and_removed(self):
        dist = h.Distribution("deep")
        dist.script(SCRIPT)
        deep = "/".join(["d" * 60] * 5) + "/deep file.txt"
        # Over 32,767 characters: no form of path reaches it.
        too_long = "/".join(["x" * 200] * 170) + "/never.txt"
        with zipfile.ZipFile(dist.dir / "core.zip", "w", zipfile.ZIP_DEFLATED) as pack:
            pack.writestr("app.exe", b"MZ")
            pack.writestr(deep, b"deep")
            pack.writestr(too_long, b"never")
            pack.writestr("after.txt", b"after")
        self.assertGreater(len("C:\\DeployApps\\PROG\\" + deep), 300)
        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, h.logs())
        self.assertEqual((ROOT / "PROG" / deep).read_bytes(), b"deep")
        self.assertEqual((ROOT / "PROG" / "after.txt").read_bytes(), b"after")
        log = self.only_log()
        self.assertTrue(any(line.upper().startswith("SKIPPED, THE PATH IS LONGER THAN 32767 CHARACTERS: "
                                                    "C:\\DEPLOYAPPS\\PROG\\XXXX") for line in log), log[-8:])
        record = (ROOT / "Sys" / "CLEANUP.INI").read_bytes().decode("utf-16")
        self.assertIn(deep + "=", record)
        self.assertNotIn("never.txt", record)
        result_file = read_result(h.temp_dir() / next(iter(h.logs("setup_"))).replace(".log", ".result.ini"))
        self.assertEqual((result_file["Result"]["FilesInstalled"], result_file["Result"]["FilesFailed"]), ("3", "1"))

        h.clear_logs()
        result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        self.assertEqual(result.returncode, 0, h.logs())
        self.assertFalse((ROOT / "PROG").exists())

    def test_help_in_the_language_of_the_run_on_the_console(self):
        dist = self.distribution("help")
        for args, expected in ((["/?", "/Q"], ["Usage: setup.exe [switches] [script file]",
                                              "/WAIT\tWait for the temporary copy of the program",
                                              "Exit codes: 0 done; 3010 done"]),
                               (["/HELP", "/LANG:DE", "/Q", "/BOGUS"], ["Aufruf: setup.exe [Schalter] [Skriptdatei]",
                                                                       "/RESULT:file\tDas Ergebnis des Laufs"])):
            with self.subTest(args[0]):
                h.clear_logs()
                result = dist.run(*args)
                self.assertEqual(result.returncode, 0, result.stderr[-300:])
                text = result.stdout.decode("utf-8")
                for piece in expected:
                    self.assertIn(piece, text)
                # Help is all such a run does.
                self.assertEqual(h.logs(), {})
                self.assertFalse((h.temp_dir() / "VekSetup.exe").exists())


if __name__ == "__main__":
    h.main()
