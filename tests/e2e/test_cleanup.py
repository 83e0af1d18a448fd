"""Install, then remove again: the cleanup record, the uninstall registration and the cleanup runs
of the real setup.exe under Wine (/UNINSTALL in place, /CLEANUP through the temporary copy), a
file held open by another process, and an installation killed halfway through a large pack."""
import os
import re
import shutil
import signal
import subprocess
import time
from pathlib import Path
from unittest import mock

import vekharness as h

ROOT = h.DRIVE_C / "CleanApps"
KEY = h.UNINSTALL + "\\VekE2EClean"

SCRIPT = r"""[System Info]
Name=Clean Product
Version=3.0
InstallRoot=CleanApps
SystemDir=Sys
CLFlash=Removing Clean Product

[UnInstall]
Key=VekE2EClean
DisplayName=Clean Product 3.0
Publisher=E2E Maker
UninstallString=%SYSDIR%\SETUP.EXE /UNINSTALL

[AppTest]
Window=Clean Product Main

[UninstallExternals]
Key=VekE2EViewer
DisplayString=E2E Viewer
UninstallString=%WINSYSTEMDIR%\cmd.exe /c echo viewer removed> C:\CleanViewer.txt

[de_Texts]
Program=Programm

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Core
Selected=1
PackFile=core.zip
CleanupFiles=*.log;session.tmp

[IMainOption2]
Caption=Documents
RootLib=Docs

[ISubOption2.1]
Caption=Manual
Selected=1
LibName=Manual
PackFile=docs.zip
"""

CORE = {"notes.exe": b"MZ notes", "lib/helper.dll": b"MZ helper", "readme.txt": b"read me"}
DOCS = {"manual.txt": b"the manual", "img/cover.txt": b"a picture"}


def make_pack(path: Path, files: dict) -> None:
    """A pack made by Info-ZIP zip from a folder tree."""
    work = path.with_suffix(".src")
    shutil.rmtree(work, ignore_errors=True)
    for name, data in files.items():
        (work / name).parent.mkdir(parents=True, exist_ok=True)
        (work / name).write_bytes(data)
    path.unlink(missing_ok=True)
    subprocess.run(["zip", "-q", "-r", "-X", str(path.resolve()), "."], cwd=work, check=True)
    shutil.rmtree(work)


def tree(root: Path) -> list:
    return sorted(str(p.relative_to(root)).replace(os.sep, "/") for p in root.rglob("*")) if root.exists() else []


def libraries_loaded_by_setup(trace: bytes) -> set:
    """The DLLs that Wine's loaddll trace shows setup.exe's main thread loading; the programs it
    starts (an uninstall command) trace into the same stream under threads of their own."""
    lines = re.findall(rb'^([0-9a-f]+):trace:loaddll:\w+ Loaded L"[^"]*\\\\([^"\\]+)"', trace, re.MULTILINE)
    setup_thread = next(thread for thread, name in lines if name.lower() == b"setup.exe")
    return {name.decode().lower() for thread, name in lines if thread == setup_thread}


class Cleanup(h.WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(ROOT, ignore_errors=True)
        (h.DRIVE_C / "CleanViewer.txt").unlink(missing_ok=True)
        h.reg_delete_values(h.RUN_ONCE)

    def install(self, name: str, script: str = SCRIPT, core: dict = CORE) -> h.Distribution:
        dist = h.Distribution(name)
        dist.script(script)
        make_pack(dist.dir / "core.zip", core)
        make_pack(dist.dir / "docs.zip", DOCS)
        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, h.logs())
        h.clear_logs()
        return dist

    def cleanup_log(self) -> list:
        logs = h.wait_for(lambda: [lines for lines in h.logs().values() if "Terminate" in lines])
        self.assertTrue(logs, h.logs())
        return logs[0]

    def test_install_records_everything_and_registers_the_product(self):
        self.install("record")
        # Read back with the system's profile functions; section names, as Windows compares them,
        # without regard to case.
        record = {section.upper(): keys for section, keys in h.profile_read(ROOT / "Sys" / "CLEANUP.INI").items()}
        self.assertTrue((ROOT / "Sys" / "CLEANUP.INI").read_bytes().startswith(b"\xff\xfe"))
        self.assertEqual(record["LUM CLEANUP"],
                         {"System": "Clean Product", "Version": "3.0", "flash": "",
                          "CLflash": "Removing Clean Product"})
        self.assertEqual({name.upper() for name in record["LUM CLEANUP DIRECTORIES"]},
                         {"C:\\CLEANAPPS", "C:\\CLEANAPPS\\SYS", "C:\\CLEANAPPS\\PROG", "C:\\CLEANAPPS\\DOCS",
                          "C:\\CLEANAPPS\\DOCS\\MANUAL"})
        self.assertEqual(record["C:\\CLEANAPPS\\SYS"], {"SETUP.EXE": "", "setup_uk.dll": "", "CLEANUP.INI": "1"})
        self.assertEqual(set(record["C:\\CLEANAPPS\\PROG"]),
                         {"*.log", "session.tmp", "notes.exe", "lib/helper.dll", "readme.txt"})
        self.assertEqual(set(record["C:\\CLEANAPPS\\DOCS\\MANUAL"]), {"manual.txt", "img/cover.txt"})
        self.assertEqual(record["LANGUAGE"], {"LangCode": "uk"})
        self.assertEqual(record["APPTEST"], {"Window": "Clean Product Main"})
        self.assertEqual(record["DE_TEXTS"], {"Program": "Programm"})
        self.assertEqual(record["UNINSTALLEXTERNALS"]["Key"], "VekE2EViewer")
        self.assertEqual(record["UNINSTALL"],
                         {"Key": "VekE2EClean", "DisplayString": "Clean Product 3.0", "Publisher": "E2E Maker",
                          "UnInstallString": "%SYSDIR%\\SETUP.EXE /UNINSTALL"})
        values = h.reg_values(KEY)
        self.assertEqual({name: values[name] for name in ("DisplayName", "Publisher", "Uninstallstring")},
                         {"DisplayName": "Clean Product 3.0", "Publisher": "E2E Maker",
                          "Uninstallstring": "C:\\CleanApps\\Sys\\SETUP.EXE /UNINSTALL"})
        # The entry is complete for the tools that read it (test_deploy.py checks the values).
        self.assertEqual(values["DisplayIcon"], "C:\\CleanApps\\Sys\\SETUP.EXE")

    def test_uninstall_in_place_removes_everything_but_a_users_document(self):
        self.install("uninstall")
        prog = ROOT / "PROG"
        for name in ("session.log", "debug.log", "session.tmp", "notes.~exe"):
            (prog / name).write_bytes(b"made by the program")
        manual = ROOT / "DOCS" / "MANUAL"
        (manual / "my notes.txt").write_bytes(b"the user's own document")

        result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        self.assertEqual(result.returncode, 0, h.logs())
        log = self.cleanup_log()
        self.assertIn("Uninstall VekE2EViewer: C:\\windows\\system32\\cmd.exe /c echo viewer removed> "
                      "C:\\CleanViewer.txt", log)
        self.assertTrue((h.DRIVE_C / "CleanViewer.txt").exists())
        # The user's document keeps its folder; the running program's folder waits for the logon.
        self.assertEqual(tree(ROOT), ["DOCS", "DOCS/MANUAL", "DOCS/MANUAL/my notes.txt", "Sys", "Sys/SETUP.EXE"])
        self.assertIsNone(h.reg_values(KEY))
        command = ('"C:\\windows\\system32\\cmd.exe" /c "Del "C:\\CleanApps\\Sys\\SETUP.EXE" '
                   '"C:\\CleanApps\\Sys\\setup_uk.dll" && rmdir "C:\\CleanApps\\Sys""')
        self.assertEqual(h.reg_values(h.RUN_ONCE), {"Finish_VEKsetup": command})
        self.assertEqual(log[log.index("Terminate") + 1], 'Delete "C:\\CleanApps\\Sys\\CLEANUP.INI": done')

        # The next logon runs the registered command: the setup program and its folder go.
        logon = h.wine(h.E2ETOOL_EXE, "runonce")
        self.assertEqual(logon.returncode, 0, logon.stderr)
        self.assertEqual(tree(ROOT), ["DOCS", "DOCS/MANUAL", "DOCS/MANUAL/my notes.txt"])

    def test_silent_runs_do_not_load_the_libraries_of_the_wizard(self):
        # The common controls (with the visual-styles engine), the common dialogs (with the
        # printing libraries) and the network-drive library are loaded by the wizard's first
        # call: mapped at the start, they cost a silent run about 10 MiB of memory under Wine.
        wizard_only = {"comctl32.dll", "uxtheme.dll", "comdlg32.dll", "winspool.drv", "mpr.dll"}
        dist = h.Distribution("nowizard")
        dist.script(SCRIPT)
        make_pack(dist.dir / "core.zip", CORE)
        make_pack(dist.dir / "docs.zip", DOCS)
        with mock.patch.dict(os.environ, {"VEK_WINEDEBUG": "+loaddll"}):
            install = dist.run("/Q", "/s:", "/I:C:\\")
            uninstall = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        for run in (install, uninstall):
            self.assertEqual(run.returncode, 0, h.logs())
            loaded = libraries_loaded_by_setup(run.stderr)
            self.assertIn("kernel32.dll", loaded)  # the trace works
            self.assertEqual(loaded & wizard_only, set())

    def test_a_new_installation_cancels_the_pending_removal_of_its_setup_program(self):
        dist = self.install("reinstall")
        result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        self.assertEqual(result.returncode, 0, h.logs())
        self.assertEqual(list(h.reg_values(h.RUN_ONCE)), ["Finish_VEKsetup"])
        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, h.logs())
        self.assertEqual(h.reg_values(h.RUN_ONCE), {})
        self.assertTrue((ROOT / "Sys" / "SETUP.EXE").exists())
        self.assertIsNotNone(h.reg_values(KEY))

    def test_cleanup_through_the_temporary_copy_leaves_nothing(self):
        self.install("relaunch")
        (ROOT / "PROG" / "notes.~exe").write_bytes(b"backup")
        # A program group as the shortcut commands record it: the folder and its shortcut.
        programs = h.temp_dir().parent / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
        group = programs / "Clean Product"
        group.mkdir(parents=True, exist_ok=True)
        (group / "Clean Product.lnk").write_bytes(b"L\0\0\0")
        record = ROOT / "Sys" / "CLEANUP.INI"
        text = record.read_bytes().decode("utf-16")
        text += f"[LuM CleanUp Groups]\r\n{h.to_windows(group)}\\=\r\n\r\n" \
                f"[{h.to_windows(group)}\\]\r\nClean Product.lnk=\r\n\r\n"
        record.write_bytes(text.encode("utf-16"))
        result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/CLEANUP", "/Q")
        self.assertEqual(result.returncode, 0, h.logs())
        copy_log = h.wait_for(lambda: [lines for lines in h.logs("VekSetup_").values()
                                       if lines and lines[-1].startswith("Write ")])
        self.assertTrue(copy_log, h.logs())
        self.assertFalse(ROOT.exists(), tree(ROOT))
        self.assertFalse(group.exists())
        self.assertTrue(programs.exists())
        self.assertIsNone(h.reg_values(KEY))
        self.assertEqual(h.reg_values(h.RUN_ONCE),
                         {"Finish_VEKsetup": '"C:\\windows\\system32\\cmd.exe" /c "Del '
                                             '"C:\\users\\root\\Temp\\VekSetup.exe" '
                                             '"C:\\users\\root\\Temp\\setup_uk.dll""'.replace(
                                                 "root", h.temp_dir().parent.name)})

    def test_a_file_held_open_is_reported_once_and_everything_else_goes(self):
        self.install("held")
        held = ROOT / "PROG" / "readme.txt"
        release = h.DRIVE_C / "e2e" / "held" / "release"
        release.unlink(missing_ok=True)
        holder = subprocess.Popen([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), str(h.E2ETOOL_EXE), "hold",
                                   h.to_windows(held), h.to_windows(release)], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.assertTrue(h.wait_for(lambda: Path(str(held) + ".held").exists()))
            result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        finally:
            release.write_bytes(b"")
            holder.wait(timeout=60)
        self.assertEqual(result.returncode, 1)
        log = self.cleanup_log()
        self.assertIn("Clean up show errors", log)
        errors = log[log.index("Cleanup errors:") + 1:log.index("Finish CleanUp")]
        self.assertEqual([line.upper() for line in errors],
                         ["   THE FILE C:\\CLEANAPPS\\PROG\\README.TXT COULD NOT BE DELETED.",
                          "   THE FOLDER C:\\CLEANAPPS\\PROG COULD NOT BE REMOVED."])
        self.assertEqual(tree(ROOT), ["PROG", "PROG/readme.txt", "PROG/readme.txt.held", "Sys", "Sys/SETUP.EXE"])
        self.assertIsNone(h.reg_values(KEY))

    def test_a_record_that_cannot_be_written_is_reported_once_and_the_install_goes_on(self):
        # A folder in the record's place: every save fails.
        (ROOT / "Sys" / "CLEANUP.INI").mkdir(parents=True)
        dist = h.Distribution("unwritable")
        dist.script(SCRIPT)
        make_pack(dist.dir / "core.zip", CORE)
        make_pack(dist.dir / "docs.zip", DOCS)
        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, h.logs())
        log = next(iter(h.logs("setup_").values()))
        reports = [line for line in log if "Cannot write to the cleanup record" in line]
        self.assertEqual(len(reports), 1, log)
        self.assertIn("C:\\CleanApps\\Sys\\CLEANUP.INI", reports[0])
        self.assertTrue((ROOT / "DOCS" / "MANUAL" / "manual.txt").exists())

    def test_a_killed_installation_leaves_a_record_that_removes_what_it_extracted(self):
        big = {f"data/file{i:04}.bin": os.urandom(2048) + b"x" * 30000 for i in range(3000)}
        dist = h.Distribution("killed")
        dist.script(SCRIPT)
        make_pack(dist.dir / "core.zip", big)
        make_pack(dist.dir / "docs.zip", DOCS)
        data = ROOT / "PROG" / "data"
        setup = subprocess.Popen([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), str(dist.program), "/Q", "/s:",
                                  "/I:C:\\"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            self.assertTrue(h.wait_for(lambda: data.exists() and len(os.listdir(data)) > 300, timeout=120))
        finally:
            # The whole process group: the Wine loader and the Windows process itself.
            os.killpg(setup.pid, signal.SIGKILL)
            subprocess.run(["pkill", "-9", "-f", "killed.setup.exe"], check=False)
            setup.wait(timeout=30)
        extracted = len(os.listdir(data))
        self.assertLess(extracted, len(big), "the installation ended before it was killed")
        self.assertFalse((ROOT / "DOCS").exists())

        h.clear_logs()
        result = h.wine(ROOT / "Sys" / "SETUP.EXE", "/UNINSTALL", "/Q")
        self.assertEqual(result.returncode, 0, h.logs())
        self.assertEqual(tree(ROOT), ["Sys", "Sys/SETUP.EXE"])


if __name__ == "__main__":
    h.main()
