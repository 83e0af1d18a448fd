"""A silent installation of a product with two main options and four sub-options, from pack
files made by Info-ZIP zip, Python's zipfile (stored, deflated, forced ZIP64) and 7z."""
import os
import shutil
import subprocess
import time
import zipfile
from datetime import datetime
from pathlib import Path

import vekharness as h

ENTRY_TIME = (2020, 5, 17, 10, 20, 30)
OLD_TIME = datetime(2001, 1, 1, 12, 0, 0).timestamp()
NEW_TIME = datetime(2030, 1, 1, 12, 0, 0).timestamp()

SCRIPT = r"""[System Info]
Name=E2E Product
InstallRoot=E2EApps
SystemDir=Sys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Core
Selected=1
PackFile=core_zip.zip;core_py.zip
NewerOnly=1

[ISubOption1.2]
Caption=Documents
Selected=1
LibName=Docs
Files=*.txt;*.md
PackFile=docs_7z.zip broken.zip big64.zip missing.zip after_missing.zip

[IMainOption2]
Caption=Data
RootLib=Data

[ISubOption2.1]
Caption=New data only
Selected=1
LibName=New
Unpack=2
PackFile=data_stored.zip

[ISubOption2.2]
Caption=Existing data only
Selected=1
LibName=Existing
Unpack=1
PackFile=data_stored.zip
"""


def python_pack(path: Path, files: dict, method=zipfile.ZIP_DEFLATED, zip64=False):
    with zipfile.ZipFile(path, "w", method) as pack:
        for name, data in files.items():
            info = zipfile.ZipInfo(name, ENTRY_TIME)
            info.compress_type = method
            with pack.open(info, "w", force_zip64=zip64) as out:
                out.write(data)


def tool_pack(path: Path, files: dict, command):
    work = path.with_suffix(".src")
    shutil.rmtree(work, ignore_errors=True)
    for name, data in files.items():
        file = work / name
        file.parent.mkdir(parents=True, exist_ok=True)
        file.write_bytes(data)
        stamp = datetime(*ENTRY_TIME).timestamp()
        os.utime(file, (stamp, stamp))
    path.unlink(missing_ok=True)
    subprocess.run(command + [str(path.resolve()), *files], cwd=work, check=True, capture_output=True)
    shutil.rmtree(work)


class Install(h.WineTestCase):
    def test_silent_install_of_two_options_from_every_kind_of_pack(self):
        dist = h.Distribution("install")
        dist.script(SCRIPT)
        d = dist.dir
        tool_pack(d / "core_zip.zip", {"bin/app.exe": b"MZ app", "bin/readme": b"no extension",
                                       "keep.dat": b"from the pack"}, ["zip", "-q", "-X"])
        python_pack(d / "core_py.zip", {"lib/core.dll": os.urandom(5000), "old.dat": b"new from pack"})
        tool_pack(d / "docs_7z.zip", {"guide.md": b"# Guide", "notes.txt": b"notes", "skip.pdf": b"%PDF"},
                  ["7z", "a", "-tzip", "-bd"])
        (d / "broken.zip").write_bytes(b"PK\x03\x04 this is not a pack file at all")
        python_pack(d / "big64.zip", {"zip64.txt": b"forced zip64\r\n" * 100}, zip64=True)
        python_pack(d / "after_missing.zip", {"never.txt": b"never"})
        python_pack(d / "data_stored.zip", {"a.txt": b"A from pack", "b.txt": b"B from pack"},
                    method=zipfile.ZIP_STORED)

        root = h.DRIVE_C / "E2EApps"
        shutil.rmtree(root, ignore_errors=True)
        prog = root / "PROG"
        prog.mkdir(parents=True)
        # Newer-only: a newer installed file stays, an older one is replaced.
        (prog / "keep.dat").write_bytes(b"installed, newer")
        os.utime(prog / "keep.dat", (NEW_TIME, NEW_TIME))
        (prog / "old.dat").write_bytes(b"installed, older")
        os.utime(prog / "old.dat", (OLD_TIME, OLD_TIME))
        # Unpack mode 2 leaves installed files alone; mode 1 replaces only installed ones.
        (root / "DATA" / "NEW").mkdir(parents=True)
        (root / "DATA" / "NEW" / "a.txt").write_bytes(b"A installed")
        (root / "DATA" / "EXISTING").mkdir(parents=True)
        (root / "DATA" / "EXISTING" / "a.txt").write_bytes(b"A installed")

        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, result.stderr[-400:])
        log = next(iter(h.logs("setup_").values()))

        tree = sorted(str(p.relative_to(root)).replace(os.sep, "/") for p in root.rglob("*") if p.is_file())
        self.assertEqual(tree, sorted([
            "PROG/bin/app.exe", "PROG/bin/readme", "PROG/keep.dat", "PROG/lib/core.dll", "PROG/old.dat",
            "PROG/DOCS/guide.md", "PROG/DOCS/notes.txt", "PROG/DOCS/zip64.txt",
            "DATA/NEW/a.txt", "DATA/NEW/b.txt", "DATA/EXISTING/a.txt", "Sys/CLEANUP.INI"]), log)
        self.assertEqual((prog / "keep.dat").read_bytes(), b"installed, newer")
        self.assertEqual((prog / "old.dat").read_bytes(), b"new from pack")
        self.assertEqual((root / "DATA/NEW/a.txt").read_bytes(), b"A installed")
        self.assertEqual((root / "DATA/NEW/b.txt").read_bytes(), b"B from pack")
        self.assertEqual((root / "DATA/EXISTING/a.txt").read_bytes(), b"A from pack")
        self.assertEqual((prog / "DOCS/zip64.txt").read_bytes(), b"forced zip64\r\n" * 100)
        expected = datetime(*ENTRY_TIME).timestamp()
        for name in ("bin/app.exe", "lib/core.dll", "DOCS/guide.md"):
            self.assertAlmostEqual((prog / name).stat().st_mtime, expected, delta=2, msg=name)

        for pack in ("core_zip.zip", "core_py.zip", "docs_7z.zip", "broken.zip", "big64.zip", "data_stored.zip"):
            self.assertIn(f"Extracting files from: C:\\e2e\\install\\{pack}", log)
        missing = "C:\\e2e\\install\\missing.zip"
        at = log.index("ERROR File not found: " + missing)
        self.assertEqual(log[at + 1], "WARNING Files where not extracted from: " + missing)
        self.assertNotIn("Extracting files from: C:\\e2e\\install\\after_missing.zip", log)
        # The broken pack is reported (language text 72) and the installation goes on.
        self.assertTrue(any(line.startswith("The pack file C:\\e2e\\install\\broken.zip cannot be read.")
                            for line in log), log)
        self.assertIn("Install files", log)
        self.assertEqual(log[-1], "Terminate")

        # The cleanup record names the folders and every file the installation created.
        record_bytes = (root / "Sys" / "CLEANUP.INI").read_bytes()
        self.assertTrue(record_bytes.startswith(b"\xff\xfe"))
        record = record_bytes.decode("utf-16")
        for line in ("[LuM CleanUp]", "System=E2E Product", "[LuM CleanUp Directories]",
                     "app.exe=", "core.dll=", "guide.md=", "zip64.txt=", "b.txt=", "SETUP.EXE="):
            self.assertIn(line, record)
        self.assertNotIn("skip.pdf", record)

    def test_obsolete_files_no_files_mask_and_setup_copy(self):
        dist = h.Distribution("obsolete")
        dist.script(r"""[System Info]
Name=Obsolete
SystemDir=ObsSys

[IMainOption1]
Caption=Program
RootLib=ObsProg

[ISubOption1.1]
Caption=Clean up only
Selected=1
Files=$$$$$$$$.$$$
FileAttr=1
DeleteFiles=old.txt;"read only.txt";absent.txt
PackFile=files.zip

[ISubOption1.2]
Caption=Files, so that the selection has a size
Selected=1
LibName=Sub
PackFile=files.zip
""")
        python_pack(dist.dir / "files.zip", {"new.txt": b"unpacked by the second sub-option"})
        prog = h.DRIVE_C / "ObsProg"
        shutil.rmtree(prog, ignore_errors=True)
        shutil.rmtree(h.DRIVE_C / "ObsSys", ignore_errors=True)
        prog.mkdir()
        (prog / "old.txt").write_bytes(b"old")
        (prog / "read only.txt").write_bytes(b"old")
        (prog / "kept.txt").write_bytes(b"not listed")
        os.chmod(prog / "read only.txt", 0o444)

        result = dist.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, result.stderr[-400:])
        self.assertEqual(sorted(p.name for p in prog.iterdir()), ["SUB", "kept.txt"])
        self.assertEqual([p.name for p in (prog / "SUB").iterdir()], ["new.txt"])
        # The setup program is copied into the system folder for the later cleanup run.
        self.assertEqual((h.DRIVE_C / "ObsSys" / "SETUP.EXE").read_bytes(), h.SETUP_EXE.read_bytes())
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(log.count("Extracting files from: C:\\e2e\\obsolete\\files.zip"), 1)

    def test_update_finds_the_installed_system_and_replaces_older_files(self):
        dist = h.Distribution("update")
        dist.script(r"""[System Info]
Name=Updatable
InstallRoot=UpdApps
SystemDir=UpdSys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Files
Selected=1
PackFile=v1.zip

[UMainOption1]
Caption=Program
RootLib=Prog

[USubOption1.1]
Caption=Files
Selected=1
PackFile=v2.zip
""")
        base = h.DRIVE_C / "upd"
        shutil.rmtree(base, ignore_errors=True)
        (base / "elsewhere" / "deep").mkdir(parents=True)
        python_pack(dist.dir / "v1.zip", {"app.txt": b"version 1", "same.txt": b"v1"})
        result = dist.run("/Q", "/s:", "/I:C:\\upd")
        self.assertEqual(result.returncode, 0, result.stderr[-400:])
        prog = base / "UpdApps" / "PROG"
        self.assertEqual((prog / "app.txt").read_bytes(), b"version 1")

        h.clear_logs()
        with zipfile.ZipFile(dist.dir / "v2.zip", "w") as pack:
            pack.writestr(zipfile.ZipInfo("app.txt", (2030, 1, 1, 0, 0, 0)), b"version 2")
            pack.writestr(zipfile.ZipInfo("same.txt", (2001, 1, 1, 0, 0, 0)), b"older than installed")
        result = dist.run("/Q", "/s:", "/U:C:\\upd")
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(result.returncode, 0, log)
        self.assertIn("   Update", log)
        self.assertEqual((prog / "app.txt").read_bytes(), b"version 2")
        self.assertEqual((prog / "same.txt").read_bytes(), b"v1")  # update mode replaces only by newer

    def test_a_file_held_open_is_asked_about_and_a_silent_run_skips_it(self):
        dist = h.Distribution("heldinstall")
        dist.script("[System Info]\nName=Held\nInstallRoot=HeldApps\nSystemDir=Sys\nCopySetup=0\n"
                    "[IMainOption1]\nCaption=Program\nRootLib=Prog\n"
                    "[ISubOption1.1]\nCaption=Core\nSelected=1\nPackFile=core.zip\n")
        python_pack(dist.dir / "core.zip", {"held.txt": b"second version", "free.txt": b"second version"})
        root = h.DRIVE_C / "HeldApps"
        shutil.rmtree(root, ignore_errors=True)
        (root / "PROG").mkdir(parents=True)
        held = root / "PROG" / "held.txt"
        held.write_bytes(b"first version")
        release = dist.dir / "release"
        holder = subprocess.Popen([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), str(h.E2ETOOL_EXE), "hold",
                                   h.to_windows(held), h.to_windows(release)], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.assertTrue(h.wait_for(lambda: Path(str(held) + ".held").exists()))
            result = dist.run("/Q", "/s:")
        finally:
            release.write_bytes(b"")
            holder.wait(timeout=60)
        # The skipped file was not replaced: the run says so in its log and its exit code.
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(held.read_bytes(), b"first version")
        self.assertEqual((root / "PROG" / "free.txt").read_bytes(), b"second version")
        log = next(iter(h.logs("setup_").values()))
        question = [i for i, line in enumerate(log) if line.startswith('Question "Setup error": ')]
        self.assertEqual(len(question), 1, log)
        self.assertIn("HELD.TXT", log[question[0]].upper())
        self.assertTrue(log[question[0]].endswith("[Continue/Retry/Abort]"), log[question[0]])
        self.assertEqual(log[question[0] + 1], "Answer: Continue (silent)")
        listed = log.index("Files not installed: 1")
        self.assertEqual(log[listed + 1].upper(), "   " + h.to_windows(held).upper())

    def test_file_attribute_commands_before_and_after_unpacking(self):
        dist = h.Distribution("fileattr")
        dist.script(r"""[System Info]
Name=Attributes
SystemDir=AttrSys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=AttrProg

[ISubOption1.1]
Caption=Files
Selected=1
PackFile=files.zip
FileAttr1=1,+1,*.ini
FileAttr2=0,+2,*.ini;c.txt
FileAttr3=0,-$1,kept.txt
FileAttr4=0,0x3,d.txt
FileAttr5=0,0,hidden.txt
FileAttr6=1,+x,*.txt
FileAttr7=0,+1,absent.txt;none*.xyz
FileAttr8=
FileAttr9=0,+1,c.txt
""")
        python_pack(dist.dir / "files.zip", {"a.ini": b"a", "c.txt": b"c", "d.txt": b"d"})
        prog = h.DRIVE_C / "AttrProg"
        shutil.rmtree(prog, ignore_errors=True)
        shutil.rmtree(h.DRIVE_C / "AttrSys", ignore_errors=True)
        prog.mkdir()
        for name in ("pre.ini", "kept.txt", "hidden.txt"):
            (prog / name).write_bytes(b"installed before")
        h.set_file_attributes(prog / "kept.txt", h.READ_ONLY | h.ARCHIVE)
        h.set_file_attributes(prog / "hidden.txt", h.HIDDEN | h.SYSTEM)

        result = dist.run("/Q", "/s:", "/I:C:\\")
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(result.returncode, 0, log)
        pre, a, c, d, kept, hidden = h.file_attributes(*(prog / n for n in (
            "pre.ini", "a.ini", "c.txt", "d.txt", "kept.txt", "hidden.txt")))
        # Before unpacking only pre.ini was there to be made read-only; after it, every INI
        # file and c.txt got hidden added, kept.txt lost read-only and the set commands wrote
        # exactly their bits.
        self.assertEqual(pre & (h.READ_ONLY | h.HIDDEN), h.READ_ONLY | h.HIDDEN)
        self.assertEqual(a & (h.READ_ONLY | h.HIDDEN), h.HIDDEN)
        self.assertEqual(c & (h.READ_ONLY | h.HIDDEN), h.HIDDEN)  # FileAttr9 comes after the empty key
        self.assertEqual(d & (h.READ_ONLY | h.HIDDEN | h.SYSTEM), h.READ_ONLY | h.HIDDEN)
        self.assertEqual(kept & h.READ_ONLY, 0)
        self.assertEqual(hidden & (h.HIDDEN | h.SYSTEM), 0)

        folder = "C:\\AttrProg\\"
        extracting = log.index("Extracting files from: C:\\e2e\\fileattr\\files.zip")
        before = log.index(f'File attributes "{folder}pre.ini": 0x{pre & ~h.READ_ONLY & ~h.HIDDEN:08X} -> '
                           f'0x{(pre & ~h.HIDDEN) | h.READ_ONLY:08X}')
        self.assertLess(before, extracting, log)
        after = [line for line in log[extracting:] if line.startswith("File attributes ")]
        for name in ("pre.ini", "a.ini", "c.txt", "kept.txt", "d.txt", "hidden.txt"):
            self.assertTrue(any(line.startswith(f'File attributes "{folder}{name}": ') for line in after),
                            (name, log))
        self.assertIn(f'File attributes "{folder}absent.txt": no such file, nothing changed', after)
        self.assertIn(f'File attributes "{folder}none*.xyz": no file matches', after)
        # The unreadable number is reported with the value and never applied.
        self.assertIn("Syntax error: fileattr = +x, is not a valid number!&&(1,+x,*.txt)", log)
        self.assertFalse(any("not built yet" in line.lower() and "FileAttr" in line for line in log), log)

    def test_attributes_that_cannot_be_written_are_asked_about_and_logged(self):
        dist = h.Distribution("fileattrfail")
        dist.script(r"""[System Info]
Name=Attribute failures
SystemDir=AttrFailSys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=AttrFail

[ISubOption1.1]
Caption=Files
Selected=1
PackFile=files.zip
FileAttr1=1,+1,*.lck
FileAttr2=0,+1,free.txt
""")
        python_pack(dist.dir / "files.zip", {"new.txt": b"unpacked"})
        prog = h.DRIVE_C / "AttrFail"
        locked = [prog / "one.lck", prog / "two.lck"]
        for path in locked:
            if path.exists() and shutil.which("chattr"):
                subprocess.run(["chattr", "-i", str(path)], capture_output=True)
        shutil.rmtree(prog, ignore_errors=True)
        prog.mkdir()
        for path in locked + [prog / "free.txt"]:
            path.write_bytes(b"installed before")
        # An immutable file refuses every change of its attributes, as a file on a read-only
        # medium or under a stricter owner does on Windows.
        if shutil.which("chattr") is None:
            self.skipTest("chattr is not installed")
        for path in locked:
            if subprocess.run(["chattr", "+i", str(path)], capture_output=True).returncode != 0:
                self.skipTest("this file system cannot make a file immutable")
            self.addCleanup(subprocess.run, ["chattr", "-i", str(path)], capture_output=True)

        result = dist.run("/Q", "/s:", "/I:C:\\")
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(result.returncode, 0, log)
        # A silent run asks about every failure, takes "Continue", and goes on with the next
        # file and the next command.
        for path in locked:
            name = h.to_windows(path)
            self.assertTrue(any(line.startswith(f'Set attributes of "{name}": failed, error ') for line in log),
                            (name, log))
            question = f'Question "Setup error": The attributes read-only of the file {name} cannot be set.'
            at = next((i for i, line in enumerate(log) if line.startswith(question)), None)
            self.assertIsNotNone(at, log)
            self.assertTrue(log[at].endswith("[Continue/OK]"), log[at])
            self.assertEqual(log[at + 1], "Answer: Continue (silent)")
        self.assertEqual(h.file_attributes(prog / "free.txt")[0] & h.READ_ONLY, h.READ_ONLY)

    def test_update_without_an_installed_system_fails(self):
        dist = h.Distribution("noupdate")
        dist.script("[System Info]\nName=Nothing here\nSystemDir=NoSuchSystem\n"
                    "[UMainOption1]\nCaption=P\n[USubOption1.1]\nCaption=F\nSelected=1\n")
        empty = h.DRIVE_C / "noupd"
        shutil.rmtree(empty, ignore_errors=True)
        (empty / "a" / "b").mkdir(parents=True)
        result = dist.run("/Q", "/s:", "/U:C:\\noupd")
        self.assertEqual(result.returncode, 1)
        log = next(iter(h.logs("setup_").values()))
        self.assertIn("Check Installpath", log)
        self.assertTrue(any("Nothing here" in line for line in log), log)


if __name__ == "__main__":
    h.main()
