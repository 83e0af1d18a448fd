"""Start-up of setup.exe: run modes, the relaunch from the temporary folder, exit codes, log."""
import shutil

import vekharness as h
import vekui

SCRIPT = """[System Info]
Name=Demo
SystemDir=DemoSys

[IMainOption1]
Caption=Program

[ISubOption1.1]
Caption=Files
Selected=1
"""


# The typical silent install sequence of a script whose selection is empty: the confirmation
# and the file installation are passed over.
SILENT_INSTALL_WITHOUT_FILES = [
    "Unknown step: 4", "Unknown step: 5", "Install or Update", "   Install",
    "Verify SystemInfo Users rights", "Application Run Test", "Read Options", "Start Info",
    "User Accept Licenses", "Where To Install", "Check Installpath", "Read Externals",
    "Default or Custom", "   Use Default Options", "Unknown step: 25", "Verify user rigths",
    "Copy Externals", "Execute externals", "Final info", "Finish", "Terminate"]


class Startup(h.WineTestCase):
    def test_silent_run_in_place_writes_the_log_of_every_step(self):
        # An existing system folder would add the question about it (and its silent answer).
        shutil.rmtree(h.DRIVE_C / "DemoSys", ignore_errors=True)
        dist = h.Distribution("inplace")
        dist.script(SCRIPT)
        result = dist.run("/Q", "/s:")
        self.assertEqual(result.returncode, 0, result.stderr)
        found = h.logs("setup_")
        self.assertEqual(len(found), 1, found.keys())
        lines = next(iter(found.values()))
        self.assertRegex(next(iter(found)), r"^setup_\d{6}_\d{6}\.log$")
        self.assertEqual(lines[0], "Start")
        self.assertIn("setup.exe", lines[1])
        self.assertTrue(lines[1].endswith("/Q /s:"), lines[1])
        self.assertEqual(lines[2:], SILENT_INSTALL_WITHOUT_FILES)
        self.assertTrue((h.DRIVE_C / "DemoSys").is_dir())

    def test_setup_exe_relaunches_from_the_temporary_folder(self):
        dist = h.Distribution("relaunch")
        dist.script(SCRIPT)
        for stale in ("VekSetup.exe", "VekSetup.ini"):
            (h.temp_dir() / stale).unlink(missing_ok=True)
        result = dist.run("/Q")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue((h.temp_dir() / "VekSetup.exe").exists())
        # The copy runs silently to its end, logs under its own name, deletes its script copy
        # and leaves its own removal to the next logon.
        copy_log = h.wait_for(lambda: [lines for lines in h.logs("VekSetup_").values()
                                       if any(line.startswith("Write ") for line in lines)])
        self.assertTrue(copy_log, h.logs())
        lines = copy_log[0]
        self.assertIn('VekSetup.exe" /Q /s:C:\\e2e\\relaunch\\', lines[1])
        self.assertIn("Terminate", lines)
        self.assertFalse((h.temp_dir() / "VekSetup.ini").exists())
        self.assertRegex(lines[-1], r'^Write "HKEY_CURRENT_USER\\.*\\RunOnce\\Finish_VEKsetup\d*" = "".*cmd\.exe" /c "Del ".*\\VekSetup\.exe" ".*\\setup_uk\.dll""": done$')
        # The first process logged the relaunch and nothing of the engine.
        first = h.logs("setup_")
        self.assertEqual(len(first), 1)
        self.assertNotIn("Start", next(iter(first.values())))

    def test_program_under_another_name_runs_in_place_with_its_wizard(self):
        dist = h.Distribution("othername", program="install.exe")
        dist.script(SCRIPT)
        (h.temp_dir() / "VekSetup.ini").unlink(missing_ok=True)
        # An interactive run opens the wizard in place; Exit on its first page ends the run
        # before its work: the exit code says the user cancelled, and the log says so.
        for args in ((), ("/LOG", "/s:")):
            with vekui.Program(dist.program, *args) as program:
                wizard = vekui.wait_window(cls="#32770", title_has="Setup")
                # The welcome page's Install button shows once the engine has started.
                self.assertTrue(h.wait_for(lambda: wizard.control(id=2012)["visible"], timeout=30))
                wizard.click(text="Exit")
                self.assertEqual(program.wait(), 1602, program.stderr)
            self.assertFalse((h.temp_dir() / "VekSetup.ini").exists())
        lines = [line for log in h.logs("install_").values() for line in log]
        self.assertIn("Start", lines)
        self.assertIn(" User Terminated", lines)

    def test_unknown_switch_ends_with_exit_code_1(self):
        dist = h.Distribution("unknown")
        dist.script(SCRIPT)
        result = dist.run("/BOGUS", "/Q", "/s:")
        self.assertEqual(result.returncode, 1)
        lines = [line for log in h.logs().values() for line in log]
        self.assertTrue(any("/BOGUS" in line and "setup.exe" in line for line in lines), lines)
        self.assertNotIn("Start", lines)

    def test_missing_script_ends_with_exit_code_0_and_no_engine_run(self):
        for name, make in (("noscript", lambda d: None),
                           ("scriptfolder", lambda d: (d.dir / "setup.ini").mkdir())):
            with self.subTest(name):
                h.clear_logs()
                dist = h.Distribution(name)
                make(dist)
                result = dist.run("/Q", "/s:")
                self.assertEqual(result.returncode, 0)
                lines = [line for log in h.logs().values() for line in log]
                self.assertTrue(any("setup.ini" in line.lower() for line in lines), lines)
                self.assertNotIn("Start", lines)

    def test_bad_arguments_get_a_clear_outcome(self):
        dist = h.Distribution("badargs")
        dist.script(SCRIPT)
        # A target folder that cannot be used ends the run as failed, with the reason logged;
        # shown here with a path near the command-line limit. An empty value ("/I:") is checked
        # by cmdline_test.cpp and setup_log_test.cpp.
        cases = [
            (["/Q", "/s:", "/I:C:\\" + "x" * 30000], 1),      # near the command-line limit
            (["/Q", "/s:", "C:\\e2e\\badargs"], 1),           # a folder where a script file belongs
            (["/Q", "/s:", "/L:"], 0),
        ]
        for args, code in cases:
            with self.subTest(args[-1][:20]):
                h.clear_logs()
                result = dist.run(*args)
                self.assertEqual(result.returncode, code, result.stderr[-500:])
                if code == 1 and args[-1].startswith("/I:"):
                    lines = [line for log in h.logs().values() for line in log]
                    self.assertTrue(any("cannot" in line for line in lines), lines)

    # The language given on the command line; a code without a column of its own and a run
    # without a language (English) are rows of the table in resource_test.cpp.
    def test_messages_in_the_language_of_the_run(self):
        dist = h.Distribution("language")
        dist.script(SCRIPT)
        result = dist.run("/Q", "/LANG:de", "/s:", "/BOGUS")
        self.assertEqual(result.returncode, 1)
        lines = [line for log in h.logs().values() for line in log]
        self.assertTrue(any(line.startswith("Unbekannter Befehlszeilenschalter") and "/BOGUS" in line
                            for line in lines), lines)

    def test_script_language_section_chooses_the_language(self):
        dist = h.Distribution("scriptlanguage")
        dist.script("[Language]\nLangCode=de\n" + SCRIPT)
        result = dist.run("/Q", "/s:", "/BOGUS")
        self.assertEqual(result.returncode, 1)
        lines = [line for log in h.logs().values() for line in log]
        self.assertTrue(any(line.startswith("Unbekannter") for line in lines), lines)

    def test_non_ascii_and_quoted_paths(self):
        dist = h.Distribution("\u00d8st dir \u6587")
        dist.script(SCRIPT)
        # Wine quotes an argument with blanks when it builds the Windows command line.
        result = dist.run("/Q", "/s:", "/I:C:\\e2e\\\u00d8 target")
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = next(iter(h.logs("setup_").values()))
        self.assertIn("\u00d8st dir \u6587", lines[1])
        self.assertIn('"/I:C:\\e2e\\\u00d8 target"', lines[1])


if __name__ == "__main__":
    h.main()
