"""Cleanup runs on damaged and hostile cleanup records: the real setup.exe under Wine, started with
/UNINSTALL /Q beside a CLEANUP.INI that the test writes. Whatever the record says, a cleanup
removes only what an installation could have put there: never a drive root, a system or user
shell folder, a file outside the folder that names it or another program's registration; a
record that cannot be read removes nothing at all.

Each kind of damage is shown here once, through the whole program; the tables of further inputs
of each kind are unit tests (tests/engine: cleanup_safety_test.cpp, cleanup_script_test.cpp and,
under Wine, cleanup_run_test.cpp)."""
import os
import re
import shutil
import subprocess
import unittest
from pathlib import Path

import vekharness as h

CASES = h.DRIVE_C / "e2e" / "badrec"
PROFILE = h.temp_dir().parent  # C:\users\<user>
SIBLING_KEY = h.UNINSTALL + "\\VekE2EBadrecSibling"
OWN_KEY = h.UNINSTALL + "\\VekE2EBadrecOwn"
SENTINEL = b"nobody recorded this file"


def add_key(key: str, display_name: str) -> None:
    h.wine_command("reg", "add", key, "/v", "DisplayName", "/d", display_name, "/f")


def crlf(text: str) -> str:
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def utf16(text: str) -> bytes:
    """A record as an installation writes it: UTF-16 LE with a byte-order mark, CR LF lines."""
    return b"\xff\xfe" + crlf(text).encode("utf-16-le")


def record_text(folders: dict, uninstall_key=None) -> str:
    """A cleanup record listing each folder ({Windows folder name: [entries]}) with its entries."""
    lines = ["[LuM CleanUp]", "System=Bad Record Product", "Version=1.0", "[LuM CleanUp Directories]"]
    lines += [f"{folder}=1" for folder in folders]
    for folder, entries in folders.items():
        lines.append(f"[{folder}]")
        lines += [f"{entry}=" for entry in entries]
    if uninstall_key is not None:
        lines += ["[Uninstall]", f"Key={uninstall_key}"]
    return "\n".join(lines) + "\n"


def make_files(folder: Path, names) -> None:
    for name in names:
        path = folder / str(name).replace("\\", "/")
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(SENTINEL)


def tree(root: Path) -> list:
    """Every file and folder below root, with the sizes of the files; the setup logs and result
    files written to the temporary folder during the run are left out."""
    if not root.exists():
        return []
    temp = h.temp_dir()
    found = []
    for path in root.rglob("*"):
        if path.parent == temp and (path.suffix == ".log" or path.name.endswith(".result.ini")):
            continue
        size = None if path.is_dir() else path.stat().st_size
        found.append((str(path.relative_to(root)).replace(os.sep, "\\"), size))
    return sorted(found)


def names(root: Path) -> list:
    return [name for name, _ in tree(root)]


def outside_cases() -> list:
    """Every file and folder of drive C: but the test cases' own."""
    return [entry for entry in tree(h.DRIVE_C) if not entry[0].lower().startswith("e2e")]


class BadRecordCase(h.WineTestCase):
    """One case: a distribution folder C:\\e2e\\badrec\\<case> with setup.exe, the record written
    there and the folder "app" beside it standing for what an installation left."""

    def setUp(self):
        super().setUp()
        self.addCleanup(h.reg_delete_values, h.RUN_ONCE)

    def distribution(self, case: str) -> h.Distribution:
        self.dist = h.Distribution(f"badrec/{case}")
        self.app = self.dist.dir / "app"
        self.app.mkdir()
        return self.dist

    @property
    def app_name(self) -> str:
        return h.to_windows(self.app)

    def sentinel(self, path: Path) -> Path:
        """A file outside the case's folder that must survive; removed again after the test."""
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(SENTINEL)
        self.addCleanup(path.unlink, missing_ok=True)
        return path

    def run_cleanup(self, record, timeout: float = 120) -> list:
        """Writes the record (None: it is in place already), runs the cleanup and gives its log;
        the exit code is kept in self.exit_code. The timeout only keeps a hanging run from
        holding up the tests."""
        if record is not None:
            (self.dist.dir / "CLEANUP.INI").write_bytes(record)
        h.clear_logs()
        result = self.dist.run("/UNINSTALL", "/Q", timeout=timeout)
        self.exit_code = result.returncode
        return [line for lines in h.logs().values() for line in lines]


class ProtectedFolders(BadRecordCase):
    def test_drive_root_entries_are_skipped_and_a_normal_folder_still_goes(self):
        self.distribution("root")
        make_files(self.app, ["a.txt", "a.~txt", "run.log"])
        sentinel = self.sentinel(h.DRIVE_C / "sentinel-root.txt")
        # Taken for a folder of the installation, the root would lose its files and every empty
        # folder of the drive.
        drive_before = outside_cases()
        log = self.run_cleanup(utf16(record_text({"C:\\": ["*.*", "sentinel-root.txt"],
                                                  self.app_name: ["a.txt", "*.log"]})))
        self.assertEqual(self.exit_code, 0, log)
        self.assertEqual(sentinel.read_bytes(), SENTINEL)
        self.assertEqual(outside_cases(), drive_before)
        self.assertIn("   Folder not removable, its entries skipped: C:\\", log)
        self.assertFalse(self.app.exists(), names(self.app))
        for name in ("a.txt", "a.~txt", "run.log"):
            self.assertIn(f"   Deleted {self.app_name}\\{name}", log)
        self.assertIn(f"   Removed {self.app_name}", log)

    def test_a_system_folder_keeps_every_file_and_sub_folder(self):
        # The Windows folder holds a file of ours that the record's wildcards match, and an empty
        # sub-folder that a folder removal would take with it. The other folders of the system
        # and of the user are checked against the system's own list in cleanup_run_test.cpp.
        folder = h.DRIVE_C / "windows"
        self.distribution("system")
        self.sentinel(folder / "vek-badrec-sentinel.ini")
        (folder / "vek-badrec-empty").mkdir(exist_ok=True)
        self.addCleanup(shutil.rmtree, folder / "vek-badrec-empty", ignore_errors=True)
        before = tree(folder)
        log = self.run_cleanup(utf16(record_text({"C:\\windows": ["*.*", "*.ini"]})))
        self.assertEqual(self.exit_code, 0, log)
        self.assertEqual(tree(folder), before)
        self.assertIn("   Wildcard entry in a system folder, skipped: C:\\windows\\*.ini", log)
        self.assertIn("   System folder kept: C:\\windows", log)

    # A trailing dot names the same folder to the system, which drops it: the protection must see
    # through it as the system does. The other spellings of a protected folder, drive roots
    # among them, are a table in cleanup_safety_test.cpp.
    def test_another_spelling_of_a_protected_folder(self):
        desktop = PROFILE / "Desktop"
        self.distribution("spelling")
        self.sentinel(desktop / "sentinel.txt")
        (desktop / "empty" / "deeper").mkdir(parents=True, exist_ok=True)
        self.addCleanup(shutil.rmtree, desktop / "empty", ignore_errors=True)
        self.addCleanup(desktop.mkdir, parents=True, exist_ok=True)  # a faulty run takes the folder itself
        log = self.run_cleanup(utf16(record_text({f"C:\\users\\{PROFILE.name}\\Desktop.": ["*.txt"]})))
        self.assertTrue((desktop / "sentinel.txt").is_file(), log)
        self.assertTrue((desktop / "empty" / "deeper").is_dir(), log)

    # A listed folder that holds protected ones (C:\users\Public holds the shared desktop and
    # documents) is kept, and its empty protected sub-folders with it.
    def test_a_protected_folder_below_a_listed_folder_stays(self):
        public = h.DRIVE_C / "users" / "Public"
        before = tree(public)
        self.addCleanup(lambda: [(public / name).mkdir(parents=True, exist_ok=True) for name, _ in before])
        self.distribution("below")
        log = self.run_cleanup(utf16(record_text({"C:\\users\\Public": ["vek-badrec.txt"]})))
        self.assertTrue((public / "Desktop").is_dir(), log)
        self.assertTrue((public / "Documents").is_dir(), log)


def record_parts(app: str) -> tuple:
    """The program record, the folder list and the folder app's section of a record; the folder's
    section also names the registration of the sibling key."""
    program = "[LuM CleanUp]\nSystem=Bad Record Product\nVersion=1.0\n"
    folders = f"[LuM CleanUp Directories]\n{app}=1\n"
    folder = f"[{app}]\n*.*=\na.txt=\n[Uninstall]\nKey=VekE2EBadrecSibling\n"
    return program, folders, folder


class UnreadableRecords(BadRecordCase):
    def setUp(self):
        super().setUp()
        add_key(SIBLING_KEY, "Sibling")
        self.addCleanup(h.wine_command, "reg", "delete", SIBLING_KEY, "/f")

    def run_held(self, record: bytes) -> list:
        """Runs the cleanup while e2etool holds the record open without sharing."""
        record_path = self.dist.dir / "CLEANUP.INI"
        record_path.write_bytes(record)
        release = self.dist.dir / "release"
        held = Path(str(record_path) + ".held")
        for _ in range(3):  # a holder that Wine failed to start ends at once
            holder = subprocess.Popen([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), str(h.E2ETOOL_EXE), "hold",
                                       h.to_windows(record_path), h.to_windows(release)],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            h.wait_for(lambda: held.exists() or holder.poll() is not None)
            if held.exists():
                break
        try:
            self.assertTrue(held.exists())
            return self.run_cleanup(None)
        finally:
            release.write_bytes(b"")
            holder.wait(timeout=60)

    def refuse(self, record: bytes, held: bool = False) -> None:
        """Runs a cleanup with an unusable record and checks that it removed nothing."""
        self.distribution("unreadable")
        make_files(self.app, ["a.txt", "b.log", "sub\\c.txt"])
        before = tree(self.app)
        record_path = self.dist.dir / "CLEANUP.INI"
        log = self.run_held(record) if held else self.run_cleanup(record)
        self.assertEqual(self.exit_code, 1, log)
        error = f" cannot be removed: the cleanup record {h.to_windows(record_path)} cannot be read."
        self.assertTrue([line for line in log if line.endswith(error)], log)
        self.assertEqual([line for line in log if re.match(r"   (Deleted|Removed) ", line)], [])
        self.assertEqual(tree(self.app), before)
        self.assertEqual(h.reg_values(SIBLING_KEY), {"DisplayName": "Sibling"})

    # A record that another program holds open without sharing cannot be read at all.
    def test_a_record_held_open_by_another_program_removes_nothing(self):
        self.refuse(utf16("".join(record_parts(h.to_windows(CASES / "unreadable" / "app")))), held=True)

    # A record without its folder list is not a cleanup record (the other records that are not
    # one are a table in cleanup_script_test.cpp). It removes nothing: the record and the setup
    # program that could remove the installation once the record is mended stay, and nothing is
    # registered for the logon.
    def test_a_refused_record_stays_with_its_setup_program(self):
        program, _, folder = record_parts(h.to_windows(CASES / "unreadable" / "app"))
        record = utf16(program + folder)
        self.refuse(record)
        record_path = self.dist.dir / "CLEANUP.INI"
        self.assertEqual(record_path.read_bytes() if record_path.is_file() else None, record)
        pending = [command for command in (h.reg_values(h.RUN_ONCE) or {}).values()
                   if h.to_windows(self.dist.program).upper() in command.upper()]
        self.assertEqual(pending, [])


class HostileNames(BadRecordCase):
    # A wildcard entry that climbs to the parent folder, which holds files nobody recorded; the
    # record's own entries in the folder still go. The other names that leave their folder are
    # a table in cleanup_safety_test.cpp.
    def test_a_name_that_leaves_its_folder_is_skipped(self):
        self.distribution("hostile")
        inner = self.app / "inner"
        make_files(inner, ["own.txt", "own.~txt", "run.log"])
        outside = [self.app / "outside.txt", self.app / "x.txt", self.app / "other.txt"]
        make_files(self.app, [path.relative_to(self.app) for path in outside])
        hostile = "..\\*.txt"
        log = self.run_cleanup(utf16(record_text({h.to_windows(inner): [hostile, "own.txt", "*.log"]})))
        self.assertEqual(self.exit_code, 0, log)
        for path in outside:
            self.assertEqual(path.read_bytes(), SENTINEL, path)
        self.assertIn(f"   Not a file name of this folder, skipped: {hostile}", log)
        self.assertFalse(inner.exists(), names(inner))


class DamagedText(BadRecordCase):
    def test_an_ansi_record_is_read_as_windows_1252(self):
        self.distribution("ansi")
        make_files(self.app, ["Übersicht.txt", "Preis€.txt", "Ubersicht.txt", "Größe\\a.txt", "Größe\\b.TXT"])
        record = record_text({self.app_name: ["Übersicht.txt", "Preis€.txt"],
                              self.app_name + "\\Größe": ["*.txt"]})
        log = self.run_cleanup(crlf(record).encode("cp1252"))
        self.assertEqual(self.exit_code, 0, log)
        self.assertEqual(names(self.app), ["Ubersicht.txt"], log)
        self.assertIn(f"   Deleted {self.app_name}\\Übersicht.txt", log)

    def test_a_record_cut_short_keeps_what_its_last_line_named(self):
        # The record names a.txt and then longname.txt, but its bytes end inside the last name;
        # "longn" is a file of the user's that the cut name must not reach. Cuts elsewhere in
        # the line are a table in cleanup_script_test.cpp.
        record = utf16(record_text({h.to_windows(CASES / "truncated" / "app"): ["a.txt", "longname.txt"]}))
        start = record.index("longname.txt".encode("utf-16-le"))
        self.distribution("truncated")
        make_files(self.app, ["a.txt", "longn", "longname.txt"])
        log = self.run_cleanup(record[:start + 10])
        self.assertEqual(self.exit_code, 0, log)
        self.assertEqual(names(self.app), ["longn", "longname.txt"], log)


class ManyEntries(BadRecordCase):
    # How long such a record takes is measured by bench/cleanup_wildcards.sh; the timeout here
    # only keeps a run that never ends from holding up the tests.
    def test_ten_thousand_wildcard_entries(self):
        self.distribution("many")
        make_files(self.app, ["a.x0", "b.x9999", "c.x5000", "d.tmp", "e.TMP", "d.~tmp", "keep.x10000", "keep.y1",
                              "keep.tmpx", "keep.txt"])
        entries = [f"*.x{i}" for i in range(10000)] + ["*.tmp"] * 3000 + ["*.TMP", "*.Tmp"] * 500
        log = self.run_cleanup(utf16(record_text({self.app_name: entries})), timeout=300)
        self.assertEqual(self.exit_code, 0, log)
        self.assertEqual(names(self.app), ["keep.tmpx", "keep.txt", "keep.x10000", "keep.y1"], log)


class RegistrationKeys(BadRecordCase):
    def setUp(self):
        super().setUp()
        for key in (SIBLING_KEY, OWN_KEY):
            add_key(key, "Badrec")
            self.addCleanup(h.wine_command, "reg", "delete", key, "/f")

    # A key that climbs to another program's registration. The other keys that are not one name
    # below the uninstall key, and a record without a key, are a table in cleanup_run_test.cpp.
    def test_a_key_that_is_not_one_name_below_the_uninstall_key_is_left_alone(self):
        self.distribution("keys")
        key = "..\\VekE2EBadrecSibling"
        log = self.run_cleanup(utf16(record_text({self.app_name: ["a.txt"]}, uninstall_key=key)))
        self.assertEqual(self.exit_code, 0, log)
        self.assertIn(f"   Not an uninstall key name, left alone: {key}", log)
        self.assertIsNotNone(h.reg_values(h.UNINSTALL))
        self.assertEqual(h.reg_values(SIBLING_KEY), {"DisplayName": "Badrec"}, log)
        self.assertEqual(h.reg_values(OWN_KEY), {"DisplayName": "Badrec"}, log)

    def test_a_proper_key_removes_only_its_own_registration(self):
        self.distribution("keys")
        log = self.run_cleanup(utf16(record_text({self.app_name: ["a.txt"]}, uninstall_key="VekE2EBadrecOwn")))
        self.assertEqual(self.exit_code, 0, log)
        self.assertIsNone(h.reg_values(OWN_KEY), log)
        self.assertEqual(h.reg_values(SIBLING_KEY), {"DisplayName": "Badrec"})


if __name__ == "__main__":
    h.main()
