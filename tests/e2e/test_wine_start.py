"""Starting Wine for the tests: after the server was stopped, the next program starts the prefix's
services detached, so output captured through pipes ends with the program; a start that hangs
fails and says why; the caller's locale does not decide which file names Wine can write. Runs
alone: it stops the prefix's server.

The timeouts below only keep a run that hangs (the fault these tests look for) from holding up
the tests; how long a start takes is not checked."""
import os
import shutil
import subprocess
import tempfile
import zipfile
from pathlib import Path

import vekharness as h


def stop_server() -> None:
    env = dict(os.environ, WINEPREFIX=str(h.PREFIX))
    subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
    subprocess.run(["wineserver", "-w"], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=30)


class WineStart(h.WineTestCase):
    def test_captured_output_ends_with_the_program_after_the_server_was_stopped(self):
        stop_server()
        result = h.wine_command("cmd", "/c", "echo", "vek-start", timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn(b"vek-start", result.stdout)
        # The services now run in sessions of their own, so the next call ends with its program
        # as well.
        self.assertEqual(h.wine_command("cmd", "/c", "exit", timeout=30).returncode, 0)

    def test_a_start_that_hangs_fails_and_says_so(self):
        stop_server()
        with tempfile.TemporaryDirectory() as fake_bin:
            hanging = Path(fake_bin) / "wineboot"
            # exec: the time limit ends the process it started, and nothing of the fake outlives it.
            hanging.write_text("#!/bin/sh\nexec sleep 600\n")
            hanging.chmod(0o755)
            # A start limit of 2 s against a wineboot that sleeps for ten minutes: without the
            # limit the run would outlast the timeout.
            env = dict(os.environ, PATH=fake_bin + os.pathsep + os.environ["PATH"], VEK_WINE_START_TIMEOUT="2")
            result = subprocess.run([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), "cmd", "/c", "exit"], env=env,
                                    stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 125, result.stderr)
        self.assertIn(b"did not start the services", result.stderr)
        # The half-started server was stopped again: the next start brings everything up.
        result = h.wine_command("cmd", "/c", "echo", "vek-again", timeout=60)
        self.assertIn(b"vek-again", result.stdout)


class CallersLocale(h.WineTestCase):
    """Wine takes the character set of the host's file names from the Unix locale. A caller without
    one (a new machine, a plain root, a cron job) must still get names outside ASCII installed."""

    NAMES = {"grüße €.txt": b"euro", "ünïcødé/日本語.txt": b"cjk", "plain.txt": b"ascii"}
    CASES = [("no locale at all", {}), ("the C locale", {"LC_ALL": "C"}), ("POSIX in LANG", {"LANG": "POSIX"})]

    def test_names_outside_ascii_are_installed_whatever_the_callers_locale(self):
        dist = h.Distribution("locale")
        dist.script("[System Info]\nName=Locale\nSystemDir=Sys\nCopySetup=0\n"
                    "[IMainOption1]\nCaption=All\nRootLib=Out\n"
                    "[ISubOption1.1]\nCaption=All files\nSelected=1\nPackFile=pack.zip\n")
        with zipfile.ZipFile(dist.dir / "pack.zip", "w") as pack:  # names flagged as UTF-8
            for name, data in self.NAMES.items():
                pack.writestr(name, data)
        # Python itself moves a C locale to C.UTF-8 for its children (LC_CTYPE): that goes too.
        plain = {k: v for k, v in os.environ.items() if k not in ("LANG", "LANGUAGE") and not k.startswith("LC_")}
        target = h.DRIVE_C / "LocaleApps"
        for label, locale in self.CASES:
            with self.subTest(label):
                shutil.rmtree(target, ignore_errors=True)
                result = subprocess.run([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), str(dist.program), "/Q", "/s:",
                                         "/I:" + h.to_windows(target)], env=dict(plain, **locale),
                                        stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
                self.assertEqual(result.returncode, 0, result.stderr[-400:])
                for name, data in self.NAMES.items():
                    path = target / "OUT" / name
                    self.assertTrue(path.is_file(), f"{name} missing; installed: {sorted(map(str, target.rglob('*')))}")
                    self.assertEqual(path.read_bytes(), data, name)


if __name__ == "__main__":
    h.main()
