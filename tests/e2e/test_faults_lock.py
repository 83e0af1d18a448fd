"""Two runs at once: while one run works on an installation (frozen with SIGSTOP right after it
has taken its lock, so that the test does not race it), a second install or a cleanup of the
same installation waits briefly, then stops with a message and exit code 1 before changing
anything; a run of another product in another folder is not held up."""
import os
import random
import shutil

import test_faults_common as f
import vekharness as h

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


def lock_line(log: list) -> bool:
    """The run holds its lock from the check of the target folder on."""
    return "Read Externals" in log


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

        running = f.Background(first.program, "/Q", "/s:", "/I:C:\\")
        self.assertTrue(h.wait_for(lambda: any(lock_line(log) for log in h.logs("setup_").values())
                                   or not running.running(), timeout=60, interval=0.002))
        pids = f.windows_processes(first.program)
        f.freeze(pids)
        try:
            self.assertTrue(pids and running.running(), "the first run ended before it could be frozen")
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
        finally:
            f.thaw(pids)
        self.assertEqual(running.wait(), 0, h.logs("setup_"))
        # With the first run over, the installation is free again.
        self.assertEqual(h.wine(SYS / "SETUP.EXE", "/UNINSTALL", "/Q").returncode, 0, h.logs())


if __name__ == "__main__":
    h.main()
