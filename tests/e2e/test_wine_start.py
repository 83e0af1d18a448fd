"""Starting Wine for the tests: after the server was stopped, the next program starts the prefix's
services detached, so output captured through pipes ends with the program; a start that hangs
fails and says why. Runs alone: it stops the prefix's server.

The timeouts below only keep a run that hangs (the fault these tests look for) from holding up
the tests; how long a start takes is not checked."""
import os
import subprocess
import tempfile
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
            hanging.write_text("#!/bin/sh\nsleep 600\n")
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


if __name__ == "__main__":
    h.main()
