"""Common files of a silent installation: copied into the common folder when missing or older,
kept when not older, none in a network installation; a target held open by another program
gives a job under the local machine's RunOnce key and a restart request, and a source on a
CD-ROM drive is first copied into the temporary folder, which the job deletes afterwards.

Runs alone: declaring a drive a CD-ROM restarts the prefix's server, and a job left under
RunOnce would run at the next start of the prefix."""
import os
import shutil
import struct
import subprocess
import zipfile
from pathlib import Path

import vekharness as h

VERSIONED = (h.BUILD_DIR / "bin" / "vek_test_versioned.dll").read_bytes()  # file version 2.1.0.5
PLAIN = (h.BUILD_DIR / "bin" / "vek_test_plain.dll").read_bytes()  # no version resource
RUN_ONCE = r"HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce"
WINE_DRIVES = r"HKLM\Software\Wine\Drives"
CD_LETTER = "r:"
COMMON = h.DRIVE_C / "ComShared"
CMD = r"C:\windows\system32\cmd.exe"


def with_version(dll: bytes, major: int, minor: int, release: int, build: int) -> bytes:
    """The DLL with another fixed file version (the fields after the signature 0xFEEF04BD)."""
    at = dll.index(struct.pack("<I", 0xFEEF04BD))
    version = struct.pack("<II", (major << 16) | minor, (release << 16) | build)
    return dll[:at + 8] + version + dll[at + 16:]


def pack(path: Path, files: dict) -> None:
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as out:
        for name, data in files.items():
            out.writestr(name, data)


def script(common_files: str) -> str:
    return ("[System Info]\nName=Common\nInstallRoot=ComApps\nSystemDir=Sys\nCopySetup=0\n"
            "[IMainOption1]\nCaption=Program\nRootLib=Prog\n"
            "[ISubOption1.1]\nCaption=Core\nSelected=1\nPackFile=core.zip\n"
            f"CommonFolder=C:\\ComShared\nCommonfiles={common_files}\n")


def lum_values() -> dict:
    return {name: data for name, data in (h.reg_values(RUN_ONCE) or {}).items() if name.startswith("lum_")}


def delete_lum_values() -> None:
    for name in lum_values():
        h.wine_command("reg", "delete", RUN_ONCE, "/v", name, "/f")


def stop_server() -> None:
    env = dict(os.environ, WINEPREFIX=str(h.PREFIX))
    subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
    subprocess.run(["wineserver", "-w"], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=30)


def drive_type(root: str) -> int:
    out = h.wine(h.E2ETOOL_EXE, "drivetype", root)
    return int(out.stdout.decode().strip())


class CommonFiles(h.WineTestCase):
    def setUp(self):
        super().setUp()
        delete_lum_values()
        shutil.rmtree(COMMON, ignore_errors=True)
        COMMON.mkdir()

    def tearDown(self):
        # The jobs are never left for the next start of the prefix.
        delete_lum_values()

    def install(self, name: str, files: dict, common_files: str, *args: str, root: Path = h.DRIVE_C,
                exit_code: int = 0):
        dist = h.Distribution(name)
        dist.script(script(common_files))
        pack(dist.dir / "core.zip", files)
        shutil.rmtree(root / "ComApps", ignore_errors=True)
        result = dist.run("/Q", "/s:", *args, whole_code=True)
        self.assertEqual(result.returncode, exit_code, result.stderr[-400:])
        return next(iter(h.logs("setup_").values()))

    def test_missing_and_older_targets_are_copied_others_kept(self):
        (COMMON / "older.dll").write_bytes(with_version(VERSIONED, 1, 9, 9, 9))
        (COMMON / "newer.dll").write_bytes(with_version(VERSIONED, 3, 0, 0, 0))
        (COMMON / "same.dll").write_bytes(VERSIONED)
        (COMMON / "plain.dll").write_bytes(b"no version here")
        (COMMON / "there.dll").write_bytes(with_version(VERSIONED, 2, 1, 0, 4))
        files = {"new.dll": VERSIONED, "older.dll": VERSIONED, "newer.dll": VERSIONED, "same.dll": with_version(
            VERSIONED, 2, 1, 0, 5) + b"\0", "plain.dll": PLAIN, "only.dll": VERSIONED, "there.dll": VERSIONED,
            "a.ocx": VERSIONED, "b.ocx": PLAIN, "c.txt": b"text"}
        log = self.install("common", files, "new.dll;older.dll;newer.dll;same.dll;plain.dll;<FileExists>only.dll;"
                                            "<fileexists>there.dll;*.ocx;missing.dll")
        self.assertEqual(sorted(p.name for p in COMMON.iterdir()),
                         ["a.ocx", "b.ocx", "new.dll", "newer.dll", "older.dll", "plain.dll", "same.dll",
                          "there.dll"])
        for name in ("new.dll", "older.dll", "there.dll", "a.ocx"):
            self.assertEqual((COMMON / name).read_bytes(), VERSIONED, name)
        self.assertEqual((COMMON / "b.ocx").read_bytes(), PLAIN)
        self.assertEqual((COMMON / "newer.dll").read_bytes(), with_version(VERSIONED, 3, 0, 0, 0))
        self.assertEqual((COMMON / "same.dll").read_bytes(), VERSIONED)
        self.assertEqual((COMMON / "plain.dll").read_bytes(), b"no version here")

        source = r"C:\ComApps\PROG"
        for name in ("new.dll", "older.dll", "there.dll", "a.ocx", "b.ocx"):
            self.assertIn(f'Common file copied: "{source}\\{name}" -> "C:\\ComShared\\{name}"', log)
        kept = [line for line in log if line.startswith("Common file kept: ")]
        self.assertEqual(len(kept), 3, log)
        self.assertIn('Common file kept: "C:\\ComShared\\newer.dll" (version 3.0.0.0), '
                      f'"{source}\\newer.dll" (version 2.1.0.5) is not newer', log)
        self.assertTrue(any(line.startswith(f'Common file "{source}\\missing.dll": not found') for line in log))
        self.assertTrue(any(line.startswith('Common file "C:\\ComShared\\only.dll": not there') for line in log))
        self.assertEqual(lum_values(), {})
        self.assertFalse(any(line.startswith("Restart needed") for line in log))
        self.assertNotIn("common files", " ".join(line for line in log if line.startswith("Not built yet")))
        # Common files belong to every product that uses them: a cleanup does not remove them.
        record = (h.DRIVE_C / "ComApps" / "Sys" / "CLEANUP.INI").read_bytes().decode("utf-16")
        self.assertNotIn("ComShared", record)

    def test_a_network_installation_copies_no_common_files(self):
        log = self.install("commonnet", {"new.dll": VERSIONED}, "new.dll", "/N")
        self.assertEqual(list(COMMON.iterdir()), [])
        self.assertIn('Common files of "Core": not copied in a network installation', log)

    def test_bad_file_lists_are_logged_and_the_installation_goes_on(self):
        log = self.install("commonbad", {"a.dll": VERSIONED}, '[z-a]*.dll;<FILEEXISTS>;;a.dll;"unclosed;x.dll')
        self.assertEqual(sorted(p.name for p in COMMON.iterdir()), ["a.dll"])
        self.assertIn('Common file "C:\\ComApps\\PROG\\[z-a]*.dll": no file matches, nothing copied', log)
        self.assertIn('Common file "C:\\ComApps\\PROG\\unclosed;x.dll": not found, nothing copied', log)
        self.assertEqual(log[-1], "Terminate")

    def hold_and_install(self, name: str, root: Path, *args: str):
        held = COMMON / "held.dll"
        held.write_bytes(with_version(VERSIONED, 1, 0, 0, 0))
        with h.held_open(held, h.DRIVE_C / "e2e" / f"{name}.release", readable=True):
            # A copy left for the next start: done, but a restart is needed (3010).
            log = self.install(name, {"held.dll": VERSIONED, "free.dll": VERSIONED}, "held.dll;free.dll", *args,
                               root=root, exit_code=3010)
        self.assertEqual(held.read_bytes(), with_version(VERSIONED, 1, 0, 0, 0))
        self.assertEqual((COMMON / "free.dll").read_bytes(), VERSIONED)
        self.assertIn('Restart needed: common files of "Core" are copied at the next start of Windows', log)
        return log

    def test_a_target_in_use_is_scheduled_under_the_first_free_copy_name(self):
        for taken in ("lum_copy0", "lum_copy1", "lum_copy3"):
            h.wine_command("reg", "add", RUN_ONCE, "/v", taken, "/d", "an earlier job", "/f")
        log = self.hold_and_install("commonheld", h.DRIVE_C)
        job = f'{CMD} /c "xcopy /I /Y "C:\\ComApps\\PROG\\held.dll" "C:\\ComShared\\*.*""'
        self.assertEqual(lum_values(), {"lum_copy0": "an earlier job", "lum_copy1": "an earlier job",
                                        "lum_copy2": job, "lum_copy3": "an earlier job"})
        self.assertIn(f"Common file scheduled: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                      f"RunOnce\\lum_copy2 = {job}", log)
        self.assertFalse(any(line.startswith("Common file staged") for line in log))

    def test_a_source_on_a_cd_is_staged_and_the_job_deletes_the_staged_copy(self):
        cd = h.DRIVE_C / "e2e" / "cdrom"
        shutil.rmtree(cd, ignore_errors=True)
        cd.mkdir(parents=True)
        link = h.PREFIX / "dosdevices" / CD_LETTER
        link.unlink(missing_ok=True)
        link.symlink_to(cd)
        h.wine_command("reg", "add", WINE_DRIVES, "/v", CD_LETTER, "/d", "cdrom", "/f")
        # The drive types are read when the prefix starts.
        stop_server()
        try:
            self.assertEqual(drive_type("R:\\"), 5)
            self.assertEqual(drive_type("C:\\"), 3)
            staged = h.temp_dir() / "held.dll"
            staged.unlink(missing_ok=True)
            log = self.hold_and_install("commoncd", cd, "/I:R:\\")
            self.assertEqual(staged.read_bytes(), VERSIONED)
            temp = h.to_windows(h.temp_dir())
            job = (f'{CMD} /c "xcopy /I /Y "{temp}\\held.dll" "C:\\ComShared\\*.*"" '
                   f'"&& Del "{temp}\\held.dll""')
            self.assertEqual(lum_values(), {"lum_copy0": job})
            self.assertIn(f'Common file staged: "R:\\ComApps\\PROG\\held.dll" -> "{temp}\\held.dll" '
                          "(its drive is not a fixed disk)", log)
        finally:
            delete_lum_values()
            h.wine_command("reg", "delete", WINE_DRIVES, "/v", CD_LETTER, "/f")
            link.unlink(missing_ok=True)
            stop_server()


if __name__ == "__main__":
    h.main()
