"""Two runs at once: while one run works on an installation, a second install or a cleanup of
the same installation waits briefly, then stops with a message and exit code 1 before changing
anything; a run of another product in another folder is not held up.

The first run is an interactive one that waits at its question about the installation it
found, which it asks holding the installation, so that the test does not race it."""
import random
import shutil

import test_faults_common as f
import vekharness as h
import vekui as ui

INST_UPD_LABEL, NEXT, EXIT = 2011, 102, 103

ROOT = h.DRIVE_C / "LockApps"
SYS = ROOT / "LockSys"

SCRIPT = r"""[System Info]
Name=Lock Product
InstallRoot=LockApps
SystemDir=LockSys

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Files
Selected=1
PackFile=files.zip
"""


class TwoRunsAtOnce(h.WineTestCase):
    maxDiff = None

    def test_a_second_run_of_the_installation_stops_and_another_product_goes_on(self):
        shutil.rmtree(ROOT, ignore_errors=True)
        shutil.rmtree(h.DRIVE_C / "OtherApps", ignore_errors=True)
        first = h.Distribution("lockfirst")
        first.script(SCRIPT)
        rng = random.Random(3)
        f.pack(first.dir / "files.zip", {f"f{i:02}.bin": rng.randbytes(300_000) for i in range(30)})
        # An installation to work on, so that its cleanup program and record are there.
        self.assertEqual(first.run("/Q", "/s:", "/I:C:\\").returncode, 0, h.logs())
        h.clear_logs()

        # The check of the target folder takes the lock before it asks about what it found.
        running = ui.Program(first.program, "/s:", "/I:C:\\")
        self.addCleanup(running.kill)
        wizard = ui.wait_window(title="Lock Product Setup", timeout=60)
        if not h.wait_for(lambda: any(c.get("id") == INST_UPD_LABEL and c["visible"] for c in wizard.controls()[1:]),
                          timeout=60):
            self.fail("the welcome page did not show")
        wizard.click(id=NEXT)
        question = ui.wait_window(title="Warning", timeout=60)
        before = f.snapshot(ROOT)
        record = (SYS / "CLEANUP.INI").read_bytes()

        second = h.Distribution("locksecond", program="second.exe")
        second.script(SCRIPT)
        shutil.copyfile(first.dir / "files.zip", second.dir / "files.zip")
        result = second.run("/Q", "/s:", "/I:C:\\")
        log = next(iter(h.logs("second_").values()))
        self.assertEqual(result.returncode, 1, log)
        message = next((line for line in log if line.startswith("Another setup program is working on")), None)
        self.assertIsNotNone(message, log)
        self.assertIn("C:\\LockApps\\LockSys", message)
        self.assertNotIn("Install files", log)

        cleanup = h.wine(SYS / "SETUP.EXE", "/UNINSTALL", "/Q")
        self.assertEqual(cleanup.returncode, 1, h.logs("SETUP_"))
        self.assertTrue(any(line.startswith("Another setup program is working on")
                            for log in h.logs("SETUP_").values() for line in log), h.logs("SETUP_"))
        self.assertEqual(f.snapshot(ROOT), before)
        self.assertEqual((SYS / "CLEANUP.INI").read_bytes(), record)

        other = h.Distribution("lockother", program="other.exe")
        other.script(SCRIPT.replace("Lock", "Other"))
        f.pack(other.dir / "files.zip", {"other.txt": b"another product"})
        result = other.run("/Q", "/s:", "/I:C:\\")
        self.assertEqual(result.returncode, 0, h.logs("other_"))
        self.assertTrue((h.DRIVE_C / "OtherApps" / "PROG" / "other.txt").exists())

        # The first run, told not to install over the installation, is left; it ends with Exit.
        question.click(text="No")
        ui.wait_gone(title="Warning")
        wizard.click(id=EXIT)
        self.assertEqual(running.wait(60), 1602)
        # With the first run over, the installation is free again.
        self.assertEqual(h.wine(SYS / "SETUP.EXE", "/UNINSTALL", "/Q").returncode, 0, h.logs())


if __name__ == "__main__":
    h.main()
