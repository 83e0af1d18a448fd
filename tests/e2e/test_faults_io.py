"""Faults of the files an installation reads and writes: a drive that fills up, a pack cut short
or cut off while it is read, and targets that are read-only. Each run says which files it did
not install, ends with exit code 1 where files are missing, leaves no half-written file under
its final name, and its cleanup record lets the cleanup remove what it wrote."""
import os
import random
import shutil
import subprocess
import tempfile
import zipfile
from pathlib import Path

import test_faults_common as f
import vekharness as h

SMALL_DRIVE_BYTES = 8 * 1024 * 1024


def script(name: str, system: str, packs: str) -> str:
    return f"""[System Info]
Name={name}
InstallRoot={name.replace(' ', '')}
SystemDir={system}

[UnInstall]
Key=VekE2E{system}
DisplayName={name}
UninstallString=%SYSDIR%\\SETUP.EXE /UNINSTALL

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Files
Selected=1
PackFile={packs}
"""


def not_installed(log: list) -> list:
    """The files the run listed as not installed, in upper case."""
    at = next((i for i, line in enumerate(log) if line.startswith("Files not installed: ")), None)
    if at is None:
        return []
    count = int(log[at].split(": ")[1])
    return [line.strip().upper() for line in log[at + 1:at + 1 + count]]


def record_keys(record: Path, folder: str) -> set:
    sections = {name.upper(): keys for name, keys in h.profile_read(record).items()}
    return set(sections.get(folder.upper(), {}))


class SmallDrive:
    """A size-limited file system (tmpfs) mounted below the build tree and seen by the test prefix
    as the folder C:\\SmallVolume; mount() tells why not where mounting is not possible."""

    def __init__(self):
        self.dir = Path(tempfile.mkdtemp(prefix="smalldrive.", dir=h.BUILD_DIR))
        # The small file system is seen as a folder of C:, as a volume mounted into a folder
        # is: the free-space check of a silent run reads C:'s free space and lets the run start,
        # and the drive fills while the files are written.
        self.link = h.DRIVE_C / "SmallVolume"

    def mount(self) -> str:
        """An empty text when mounted, else why not."""
        if os.geteuid() != 0:
            return "mounting a small drive needs root"
        result = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={SMALL_DRIVE_BYTES}", "vek-small", str(self.dir)],
                                capture_output=True, text=True)
        if result.returncode != 0:
            return f"tmpfs cannot be mounted here: {result.stderr.strip()}"
        self.link.unlink(missing_ok=True)
        self.link.symlink_to(self.dir)
        return ""

    def remove(self) -> None:
        self.link.unlink(missing_ok=True)
        # Lazily: a program that still has the drive as its current folder does not keep it.
        subprocess.run(["umount", "-l", str(self.dir)], capture_output=True)
        shutil.rmtree(self.dir, ignore_errors=True)


class DriveAndSourceFaults(h.WineTestCase):
    def test_a_full_drive_names_the_file_and_the_space_and_the_record_removes_the_rest(self):
        drive = SmallDrive()
        self.addCleanup(drive.remove)
        reason = drive.mount()
        if reason:
            self.skipTest(reason)
        dist = h.Distribution("diskfull")
        dist.script(script("Full Product", "FullSys", "files.zip"))
        big = 3 * SMALL_DRIVE_BYTES // 2
        f.pack(dist.dir / "files.zip", {"a.txt": b"a" * 10000, "b/b.txt": b"b" * 10000, "big.bin": bytes(big),
                                        "z.txt": b"z" * 10000})
        result = dist.run("/Q", "/s:", "/I:C:\\SmallVolume")
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(result.returncode, 1, log)
        prog = drive.dir / "FullProduct" / "PROG"
        self.assertEqual(sorted(p.name for p in prog.rglob("*") if p.is_file()), ["a.txt", "b.txt", "z.txt"])
        # The message names the file and says how much it needs against what the drive has.
        line = next((line for line in log if "big.bin" in line and "Disk full" in line), None)
        self.assertIsNotNone(line, log)
        self.assertIn(f"the file needs {big} bytes", line)
        self.assertEqual(not_installed(log), ["C:\\SMALLVOLUME\\FULLPRODUCT\\PROG\\BIG.BIN"])
        record = drive.dir / "FullProduct" / "FullSys" / "CLEANUP.INI"
        self.assertTrue({"a.txt", "b/b.txt", "z.txt"} <= record_keys(record, "C:\\SmallVolume\\FullProduct\\PROG"))

        # The cleanup through the temporary copy removes the installation with its folders.
        h.clear_logs()
        self.assertEqual(h.wine(record.parent / "SETUP.EXE", "/CLEANUP", "/Q").returncode, 0, h.logs())
        # The copy in the temporary folder goes on after the first program has ended.
        self.assertTrue(h.wait_for(lambda: not os.listdir(drive.dir), timeout=60), (os.listdir(drive.dir), h.logs()))

    def test_a_pack_cut_short_is_reported_and_the_next_pack_installed(self):
        dist = h.Distribution("cutshort")
        dist.script(script("Cut Product", "CutSys", "cut.zip;whole.zip"))
        f.pack(dist.dir / "cut.zip", {f"c{i}.txt": os.urandom(3000) for i in range(5)})
        data = (dist.dir / "cut.zip").read_bytes()
        (dist.dir / "cut.zip").write_bytes(data[:len(data) * 2 // 3])
        f.pack(dist.dir / "whole.zip", {"w.txt": b"whole"})
        shutil.rmtree(h.DRIVE_C / "CutProduct", ignore_errors=True)
        result = dist.run("/Q", "/s:", "/I:C:\\")
        log = next(iter(h.logs("setup_").values()))
        # The pack cannot be read at all: its message, and the installation goes on.
        self.assertEqual(result.returncode, 0, log)
        self.assertTrue(any(line.startswith("The pack file C:\\e2e\\cutshort\\cut.zip cannot be read.")
                            for line in log), log)
        prog = h.DRIVE_C / "CutProduct" / "PROG"
        self.assertEqual(sorted(p.name for p in prog.iterdir()), ["w.txt"])

    def test_a_pack_cut_off_while_it_is_read_leaves_only_whole_files(self):
        dist = h.Distribution("cutoff")
        dist.script(script("Cutoff Product", "CutoffSys", "large.zip;after.zip"))
        rng = random.Random(7)
        files = {f"f{i:02}.bin": rng.randbytes(400_000) for i in range(40)}
        f.pack(dist.dir / "large.zip", files)
        f.pack(dist.dir / "after.zip", {"after.txt": b"after"})
        prog = h.DRIVE_C / "CutoffProduct" / "PROG"
        shutil.rmtree(prog.parent, ignore_errors=True)
        pack = dist.dir / "large.zip"
        with zipfile.ZipFile(pack) as archive:
            offsets = [info.header_offset for info in archive.infolist()]

        run = f.Background(dist.program, "/Q", "/s:", "/I:C:\\")
        # Frozen as soon as its first file appears, the run has the pack open; the share then
        # loses everything after the file after the ones it has begun.
        self.assertTrue(h.wait_for(lambda: prog.exists() and any(prog.iterdir()) or not run.running(),
                                   timeout=60, interval=0.002))
        pids = f.windows_processes(dist.program)
        f.freeze(pids)
        begun = len(list(prog.iterdir()))
        if not pids or begun + 2 >= len(offsets):
            f.thaw(pids)
            run.wait()
            self.skipTest("the extraction was over before it could be frozen")
        cut = offsets[begun + 1] + 100
        with open(pack, "r+b") as data:
            data.truncate(cut)
        f.thaw(pids)
        self.assertEqual(run.wait(), 1)
        log = next(iter(h.logs("setup_").values()))
        missing = not_installed(log)
        self.assertTrue(missing, log)
        self.assertTrue(any("Damaged entry" in line for line in log), log)
        # Every file under its final name is whole; the run went on with the next pack.
        for path in prog.iterdir():
            if path.name != "after.txt":
                self.assertEqual(path.read_bytes(), files[path.name], path.name)
                self.assertNotIn(h.to_windows(path).upper(), missing)
        self.assertEqual((prog / "after.txt").read_bytes(), b"after")
        self.assertEqual(len(missing) + len(list(prog.iterdir())) - 1, len(files))

    def test_read_only_targets_are_skipped_silently_and_reported(self):
        dist = h.Distribution("readonly")
        dist.script(script("RO Product", "ROSys", "files.zip"))
        f.pack(dist.dir / "files.zip", {"locked.txt": b"new", "free.txt": b"new"})
        prog = h.DRIVE_C / "ROProduct" / "PROG"
        shutil.rmtree(prog.parent, ignore_errors=True)
        prog.mkdir(parents=True)
        (prog / "locked.txt").write_bytes(b"old")
        h.set_file_attributes(prog / "locked.txt", h.READ_ONLY)
        result = dist.run("/Q", "/s:", "/I:C:\\")
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(result.returncode, 1, log)
        self.assertEqual((prog / "locked.txt").read_bytes(), b"old")
        self.assertEqual((prog / "free.txt").read_bytes(), b"new")
        question = next(i for i, line in enumerate(log) if "ReadOnly Error" in line and line.startswith("Question"))
        self.assertTrue(log[question + 1].startswith("Answer: ") and log[question + 1].endswith("(silent)"), log)
        self.assertEqual(not_installed(log), [h.to_windows(prog / "locked.txt").upper()])
        h.set_file_attributes(prog / "locked.txt", h.ARCHIVE)


if __name__ == "__main__":
    h.main()
