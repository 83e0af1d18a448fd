"""A library planted under a system library's name beside setup.exe, in the temporary folder
(where the program's copy runs) or in the installed system folder is never loaded.

Every library the program may load is planted: the DLLs of its import table, every DLL name in
the built file (the delay-load libraries' names, the names it loads explicitly) and in the
sources, and the libraries the system loads for the program's windows. Each planted library
exports the real library's names and records in its folder when a process loads it. Then a
silent install, a wizard run relaunched from the temporary folder and left on its pages (the
folder dialog and a question included) and a cleanup from its temporary copy run among them.

Wine's loader prints every library it maps (+loaddll) with the path it found. A path in a
planted folder is a search that reached that folder: on Windows the planted file would have
run. Wine runs the planted file itself (native) for some names; for most it maps its own
built-in library under the found path instead, so the trace, not only the planted file's own
record, tells. Two kinds of such loads are Wine's own and tell nothing about the program:
- Wine's system libraries import more than Windows' do (its user32 imports version.dll), and
  its loader resolves them before the program's first instruction; a control program with
  setup.exe's import table and nothing else shows which those are.
- Wine's libraries load the known DLLs of Windows (ole32 for shell32, ...) by a search of their
  own; Windows takes those from its own folder, never by a search. Mapped as Wine's built-in
  library, such a load is no fault of the program's.
"""
import os
import re
import shutil
import subprocess
import unittest
from pathlib import Path
from unittest import mock

import peimage
import vekharness as h
import vekui as ui
from vekui import wait_visible

CC = os.environ["VEK_MINGW_CC"]
NM = os.environ["VEK_MINGW_NM"]
SOURCE_DIR = Path(os.environ["VEK_SOURCE_DIR"])
PLANTED_SOURCE = Path(__file__).parent / "tools" / "planted.c"
SYSTEM32 = h.DRIVE_C / "windows" / "system32"
NOTES = h.BUILD_DIR / "examples" / "notes"
MARKER = "planted-loads.txt"

# Loaded by the system for the program's windows, dialogs and rich text, not named by it.
LOADED_FOR_THE_PROGRAM = {"uxtheme.dll", "riched20.dll", "dwmapi.dll", "winspool.drv", "imm32.dll",
                          "oleacc.dll", "propsys.dll", "cryptbase.dll", "shcore.dll", "explorerframe.dll"}

_NAME = rb"[A-Za-z0-9_\-]{1,64}\.(?:dll|drv)"
_WIDE_NAME = rb"(?:[A-Za-z0-9_\-]\0){1,64}\.\0(?:[dD]\0[lL]\0[lL]\0|[dD]\0[rR]\0[vV]\0)"
_LOADED = re.compile(r'trace:loaddll:\w+ Loaded L"((?:[^"\\]|\\.)*)" at \w+: (\w+)')

# Control ids of the wizard (src/ui/WizardPages.h, OptionsPage.h, ConfirmPage.h).
NEXT = 102
INSTALL_RADIO, WHERETO_EDIT, BROWSE_BTN = 2012, 2022, 2023
CUSTOM_BTN, OPT_LIST, CONFIRM_LIST = 2034, 1102, 1302
IDCANCEL = 2


def names_in_binary(data: bytes) -> set:
    """Every DLL name the file holds, in ANSI (import and delay-load tables) or UTF-16 (the
    program's own wide literals)."""
    ascii_names = re.findall(rb"(?<![A-Za-z0-9_\-])" + _NAME, data, re.IGNORECASE)
    wide_names = re.findall(_WIDE_NAME, data)
    return ({n.decode("ascii").lower() for n in ascii_names} |
            {n.decode("utf-16-le").lower() for n in wide_names})


def names_in_sources() -> set:
    names = set()
    for source in (SOURCE_DIR / "src").rglob("*"):
        if source.suffix in (".cpp", ".h"):
            names |= {n.lower() for n in re.findall(r'"([A-Za-z0-9_\-]+\.(?:dll|drv))"', source.read_text("utf-8"),
                                                     re.IGNORECASE)}
    return names


def libraries_to_plant() -> set:
    image = peimage.PeImage(h.SETUP_EXE)
    names = {n.lower() for n in image.imports()} | {n.lower() for n in image.delay_imports()}
    return names | names_in_binary(image.data) | names_in_sources() | LOADED_FOR_THE_PROGRAM


def exported_names(library: str) -> list:
    """The names the real library exports, as a .def file can name them."""
    real = SYSTEM32 / library
    if not real.exists():
        return []
    return [n for n in peimage.PeImage(real).exports() if re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", n)]


def build_planted(names: set, folder: Path) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    for name in sorted(names):
        definition = folder / (name + ".def")
        definition.write_text(f"LIBRARY {name}\nEXPORTS\n" +
                              "".join(f"  {e} = PlantedExport\n" for e in exported_names(name)))
        subprocess.run([CC, "-shared", "-O1", "-nostartfiles", "-Wl,-e,PlantedMain", "-o", str(folder / name),
                        str(PLANTED_SOURCE), str(definition)], check=True)
        definition.unlink()


def build_control(folder: Path) -> Path:
    """A program that imports one function from each DLL of setup.exe's import table, restricts
    the library search as setup.exe does first, and ends."""
    imports = peimage.PeImage(h.SETUP_EXE).imports()
    references, libraries = [], []
    for dll, functions in imports.items():
        library = subprocess.run([CC, f"-print-file-name=lib{Path(dll).stem.lower()}.a"], check=True,
                                 capture_output=True, text=True).stdout.strip()
        defined = subprocess.run([NM, "--defined-only", library], check=True, capture_output=True, text=True).stdout
        function = next(f for f in functions if re.search(rf"\b__imp_{re.escape(f)}$", defined, re.MULTILINE))
        references.append(function)
        libraries.append(library)
    source = folder / "control.c"
    source.write_text("#include <windows.h>\n" +
                      "".join(f"extern void* __imp_{f};\n" for f in references) +
                      "void* volatile keep[] = {" + ", ".join(f"&__imp_{f}" for f in references) + "};\n"
                      "int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {\n"
                      "  (void)a; (void)b; (void)c; (void)d;\n"
                      "  return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) ? 0 : 1;\n}\n")
    program = folder / "control.exe"
    subprocess.run([CC, "-mwindows", "-o", str(program), str(source), *libraries], check=True)
    return program


def loads_from(trace: bytes, folders) -> set:
    """(library, how) for every library Wine mapped from one of the folders."""
    prefixes = [h.to_windows(f).lower().rstrip("\\") + "\\" for f in folders]
    found = set()
    for path, how in _LOADED.findall(trace.decode("utf-8", "replace")):
        path = path.replace("\\\\", "\\").lower()
        name = path.rsplit("\\", 1)[1]
        if any(path.startswith(p) for p in prefixes) and not name.endswith(".exe"):
            found.add((name, how))
    return found


def recorded_loads(folders) -> list:
    lines = []
    for folder in folders:
        marker = folder / MARKER
        if marker.exists():
            lines += marker.read_bytes().decode("utf-16-le").splitlines()
    return lines


class PlantedLibraries(h.WineTestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # One folder, made anew: a run that was killed leaves nothing that piles up.
        cls.work = h.BUILD_DIR / "planted"
        shutil.rmtree(cls.work, ignore_errors=True)
        cls.names = libraries_to_plant()
        cls.planted = cls.work / "dlls"
        build_planted(cls.names, cls.planted)
        control_dir = h.DRIVE_C / "e2e" / "planted_control"
        shutil.rmtree(control_dir, ignore_errors=True)
        control_dir.mkdir(parents=True)
        control = build_control(control_dir)
        cls.plant(control_dir)
        with mock.patch.dict(os.environ, {"VEK_WINEDEBUG": "+loaddll"}):
            run = h.wine(control)
        assert run.returncode == 0, run.stderr[-400:]
        # Wine's own import chain, mapped before the program's first instruction.
        cls.loaded_by_wine = loads_from(run.stderr, [control_dir])
        cls.ran_before_start = recorded_loads([control_dir])
        shutil.rmtree(control_dir)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)
        super().tearDownClass()

    @classmethod
    def plant(cls, folder: Path) -> None:
        for library in cls.planted.iterdir():
            shutil.copyfile(library, folder / library.name)
        (folder / MARKER).unlink(missing_ok=True)

    def setUp(self):
        super().setUp()
        self.root = h.DRIVE_C / "planted_root"
        shutil.rmtree(self.root, ignore_errors=True)
        self.addCleanup(shutil.rmtree, self.root, True)
        self.dist = h.Distribution("planted")
        for pack in NOTES.glob("*.zip"):
            shutil.copyfile(pack, self.dist.dir / pack.name)
        script = (NOTES / "setup.ini").read_text(encoding="utf-8")
        self.dist.script(script.replace("InstallDrive=C:\\", "InstallDrive=C:\\planted_root\\"))
        self.system_dir = self.root / "VekApps" / "Notes"
        self.key = h.UNINSTALL + "\\VekNotes"
        h.wine_command("reg", "delete", self.key, "/f")
        self.addCleanup(h.wine_command, "reg", "delete", self.key, "/f")
        self.folders = [self.dist.dir, h.temp_dir()]
        for folder in self.folders:
            self.plant(folder)
        self.addCleanup(self.unplant, h.temp_dir())
        # A copy that a failed test left running would keep the next one from being written.
        self.addCleanup(h.wine_command, "taskkill", "/F", "/IM", "VekSetup.exe")

    def unplant(self, folder: Path) -> None:
        for name in [*self.names, MARKER]:
            (folder / name).unlink(missing_ok=True)

    def assert_nothing_planted_loaded(self, trace: bytes) -> None:
        self.assertIn(b"trace:loaddll", trace)  # the trace works
        searched = {(name, how) for name, how in loads_from(trace, self.folders)
                    if how != "builtin" or (name, how) not in self.loaded_by_wine and name not in peimage.KNOWN_DLLS}
        self.assertEqual({"planted libraries that ran": recorded_loads(self.folders),
                          "libraries searched for in a planted folder": sorted(searched)},
                         {"planted libraries that ran": [], "libraries searched for in a planted folder": []})

    def test_the_import_table_brings_no_planted_library_in(self):
        # Resolved before the program's first instruction: every library there must be one
        # the loader never runs from the program's folder (here: Wine maps its own).
        self.assertEqual(self.ran_before_start, [])
        self.assertEqual(sorted(name for name, how in self.loaded_by_wine if how != "builtin"), [])

    def test_the_planted_set_covers_every_library_the_program_names(self):
        self.assertLessEqual({"version.dll", "msftedit.dll", "comctl32.dll", "gdiplus.dll", "kernel32.dll"},
                             self.names)
        self.assertTrue(exported_names("version.dll"))
        # The planted library works: loaded by a plain search, it records itself.
        probe = h.DRIVE_C / "e2e" / "planted_probe"
        shutil.rmtree(probe, ignore_errors=True)
        probe.mkdir(parents=True)
        self.addCleanup(shutil.rmtree, probe, True)
        shutil.copyfile(self.planted / "msftedit.dll", probe / "msftedit.dll")
        (probe / "load.c").write_text('#include <windows.h>\nint main(void) { return LoadLibraryW(L"msftedit.dll") ? 0 : 1; }\n')
        subprocess.run([CC, "-o", str(probe / "load.exe"), str(probe / "load.c")], check=True)
        self.assertEqual(h.wine(probe / "load.exe").returncode, 0)
        self.assertEqual(len(recorded_loads([probe])), 1)

    def test_a_silent_install_and_a_cleanup_from_the_temporary_copy(self):
        with mock.patch.dict(os.environ, {"VEK_WINEDEBUG": "+loaddll"}):
            install = self.dist.run("/Q", "/s:")
            self.assertEqual(install.returncode, 0, h.logs())
            self.assert_nothing_planted_loaded(install.stderr)
            self.plant(self.system_dir)
            self.folders.append(self.system_dir)
            # The copy in the temporary folder traces into the first process's stream, which is
            # read once the copy's log has its last line (the removal left to the next logon).
            cleanup = ui.Program(self.system_dir / "SETUP.EXE", "/CLEANUP", "/Q")
            self.addCleanup(cleanup.kill)
            self.assertEqual(cleanup.wait(60), 0)
            copy_ended = lambda: any(lines and lines[-1].startswith("Write ") for lines in h.logs("VekSetup_").values())
            self.assertTrue(h.wait_for(copy_ended), h.logs())
            cleanup.communicate(5)
        self.assertFalse((self.root / "VekApps" / "PROGRAM").exists(), h.logs())
        # The planted libraries are no part of the installation: the cleanup keeps them.
        self.assertTrue((self.system_dir / "version.dll").exists())
        self.assert_nothing_planted_loaded(cleanup.stderr)

    def test_a_wizard_relaunched_from_the_temporary_folder_through_its_pages(self):
        with mock.patch.dict(os.environ, {"VEK_WINEDEBUG": "+loaddll"}):
            # Without /s: setup.exe hands over to its copy in the temporary folder; /WAIT keeps
            # the first process until the copy ends, with the copy's trace in its stream.
            program = ui.Program(self.dist.program, "/WAIT")
            self.addCleanup(program.kill)
            w = ui.wait_window(title="Vek Notes Setup", timeout=60)
            wait_visible(w, INSTALL_RADIO)
            w.click(id=NEXT)
            wait_visible(w, WHERETO_EDIT)
            w.click(id=BROWSE_BTN)
            picker = ui.wait_window(title="Browse")
            picker.click(id=IDCANCEL)
            ui.wait_gone(title="Browse")
            w.click(id=NEXT)
            wait_visible(w, CUSTOM_BTN)
            w.click(id=CUSTOM_BTN)
            wait_visible(w, OPT_LIST)
            w.click(id=NEXT)
            wait_visible(w, CONFIRM_LIST)
            # A close asks first: the message dialog with its icon.
            w.close()
            question = ui.wait_window(title="Warning")
            question.click(text="Yes")
            self.assertEqual(program.wait(60), 1602)
        self.assert_nothing_planted_loaded(program.stderr)
        self.assertFalse((self.root / "VekApps" / "PROGRAM").exists())


if __name__ == "__main__":
    unittest.main(verbosity=2)
