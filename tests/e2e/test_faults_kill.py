"""Kill anywhere: a silent install, an update and a cleanup are killed (SIGKILL) at points spread
over their run, by time and by files written (or removed), and then the registered cleanup runs
to its end. Afterwards nothing the installation wrote remains, nothing that was there before is
gone, and the product's registration is there only while its files are.

VEK_KILL_POINTS (default 2) is the number of points for each kind of run and VEK_KILL_SEED
(default 15) chooses them; a failure names its seed and point, and VEK_KILL_ONLY=kind:point
replays that one point. bench/kill_anywhere.sh runs 30 points of each kind.
"""
import os
import random
import shutil
import sys
import time
from datetime import datetime

import test_faults_common as f
import vekharness as h

ROOT = h.DRIVE_C / "KillApps"
SYS = ROOT / "KillSys"
KEY = h.UNINSTALL + "\\VekE2EKill"
SEED = int(os.environ.get("VEK_KILL_SEED", "15"))
POINTS = int(os.environ.get("VEK_KILL_POINTS", "2"))
ONLY = os.environ.get("VEK_KILL_ONLY", "")
UPDATE_STAMP = datetime(*f.UPDATE_TIME).timestamp() - 86400

SCRIPT = r"""[System Info]
Name=Kill Product
Version=1.0
InstallRoot=KillApps
SystemDir=KillSys

[UnInstall]
Key=VekE2EKill
DisplayName=Kill Product
Publisher=E2E Maker
UninstallString=%SYSDIR%\SETUP.EXE /UNINSTALL

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Core
Selected=1
PackFile=core.zip

[ISubOption1.2]
Caption=Data
Selected=1
LibName=Data
PackFile=data.zip

[IMainOption2]
Caption=Documents
RootLib=Docs

[ISubOption2.1]
Caption=Manual
Selected=1
PackFile=docs.zip

[UMainOption1]
Caption=Program
RootLib=Prog

[USubOption1.1]
Caption=Core
Selected=1
PackFile=core2.zip

[USubOption1.2]
Caption=Data
Selected=1
LibName=Data
PackFile=data2.zip
"""


def make_distribution() -> h.Distribution:
    dist = h.Distribution("killanywhere")
    dist.script(SCRIPT)
    rng = random.Random(4711)
    core = {f"bin/f{i:03}.dll": rng.randbytes(rng.randint(2000, 30000)) for i in range(150)}
    f.pack(dist.dir / "core.zip", core)
    f.pack(dist.dir / "data.zip", {"big1.dat": rng.randbytes(3_000_000), "sub/big2.dat": rng.randbytes(2_000_000)})
    f.pack(dist.dir / "docs.zip", {f"page{i:02}.txt": b"page %d\r\n" % i * 200 for i in range(40)})
    # The update replaces every core file, adds new ones and rewrites the large data file.
    core2 = {name: b"v2 " + data[:5000] for name, data in core.items()}
    core2.update({f"bin/new{i:03}.dll": rng.randbytes(rng.randint(2000, 30000)) for i in range(60)})
    f.pack(dist.dir / "core2.zip", core2, f.UPDATE_TIME)
    f.pack(dist.dir / "data2.zip", {"big1.dat": rng.randbytes(3_500_000)}, f.UPDATE_TIME)
    return dist


def prepare_machine() -> None:
    """What was there before: a user's file in the folder the program goes to, and a folder of
    another program beside it."""
    shutil.rmtree(ROOT, ignore_errors=True)
    (ROOT / "PROG").mkdir(parents=True)
    (ROOT / "PROG" / "user notes.txt").write_bytes(b"the user's own file")
    (ROOT / "Other").mkdir()
    (ROOT / "Other" / "keep.cfg").write_bytes(b"another program's file")
    h.reg_delete_values(h.RUN_ONCE)
    h.wine_command("reg", "delete", KEY, "/f")
    h.clear_logs()


class KillAnywhere(h.WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.dist = make_distribution()
        # One undisturbed cycle gives each kind of run its length and its number of files.
        prepare_machine()
        cls.before = f.snapshot(ROOT)
        cls.before_files = [name for name, digest in cls.before.items() if digest != "<dir>"]
        started = time.monotonic()
        assert cls.dist.run("/Q", "/s:", "/I:C:\\").returncode == 0, h.logs()
        cls.install_seconds = time.monotonic() - started
        cls.installed_files = f.count_files(ROOT)
        started = time.monotonic()
        assert cls.dist.run("/Q", "/s:", "/U:C:\\").returncode == 0, h.logs()
        cls.update_seconds = time.monotonic() - started
        cls.update_entries = f.count_files(ROOT, newer_than=UPDATE_STAMP)
        started = time.monotonic()
        assert h.wine(SYS / "SETUP.EXE", "/UNINSTALL", "/Q").returncode == 0, h.logs()
        cls.cleanup_seconds = time.monotonic() - started

    outcomes = []

    @classmethod
    def tearDownClass(cls):
        # What each point did, for the record of a campaign: a point where the run ended before
        # its kill still checks a whole run and its cleanup.
        for kind in ("install", "update", "cleanup"):
            hows = [how for k, how in cls.outcomes if k == kind]
            killed = sum("(killed)" in how for how in hows)
            print(f"\nkill anywhere, {kind}: {len(hows)} points, {killed} killed, {len(hows) - killed} ended first"
                  f" (seed {SEED})", file=sys.stderr)
        super().tearDownClass()

    def points(self, kind: str):
        """(point, "time" or "files", value) for each point of this kind; the two ways alternate."""
        for point in range(POINTS):
            if ONLY and ONLY != f"{kind}:{point}":
                continue
            rng = random.Random(f"{SEED}/{kind}/{point}")
            yield point, ("time" if point % 2 == 0 else "files"), rng

    def kill(self, run: f.Background, by: str, rng: random.Random, seconds: float, files: int, done) -> str:
        """Kills the run after a time, or once done() (the files it has written or removed so
        far) reaches a number up to `files`; says which, and whether the run ended first."""
        if by == "time":
            at = rng.uniform(0.0, seconds)
            killed = run.kill_at(seconds=at)
            return f"after {at:.3f}s ({'killed' if killed else 'ended first'})"
        at = rng.randint(1, max(1, files))
        while run.running() and done() < at:
            time.sleep(0.003)
        killed = run.kill()
        return f"at {at} files ({'killed' if killed else 'ended first'})"

    def assert_registration_consistent(self, what: str) -> None:
        if h.reg_values(KEY) is not None:
            self.assertTrue((SYS / "CLEANUP.INI").exists() and (SYS / "SETUP.EXE").exists(),
                            f"{what}: registered without its files")

    def clean_up_to_the_end(self, what: str) -> None:
        """The registered cleanup, run to its end, and the next logon that removes the program."""
        if (SYS / "CLEANUP.INI").exists():
            if not (SYS / "SETUP.EXE").exists():
                # Killed before the setup program was in place: the administrator takes it from
                # the distribution, where the registration would have found it.
                shutil.copyfile(self.dist.program, SYS / "SETUP.EXE")
            result = h.wine(SYS / "SETUP.EXE", "/UNINSTALL", "/Q")
            self.assertEqual(result.returncode, 0, f"{what}: {h.logs()}")
        # The next logon: a cleanup that reached its end left the removal of its own program.
        self.assertEqual(h.wine(h.E2ETOOL_EXE, "runonce").returncode, 0, what)
        self.assertIsNone(h.reg_values(KEY), f"{what}: still registered")
        self.assertEqual(f.snapshot(ROOT), self.before, f"{what}: the machine is not as it was")

    def replay(self, kind: str, point: int, how: str) -> str:
        self.outcomes.append((kind, how))
        return f"{kind} point {point} killed {how} (replay: VEK_KILL_SEED={SEED} VEK_KILL_ONLY={kind}:{point})"

    def test_a_killed_install_is_removed_by_its_cleanup(self):
        for point, by, rng in self.points("install"):
            with self.subTest(point=point, by=by):
                prepare_machine()
                run = f.Background(self.dist.program, "/Q", "/s:", "/I:C:\\")
                how = self.kill(run, by, rng, self.install_seconds, self.installed_files - len(self.before_files),
                                lambda: f.count_files(ROOT) - len(self.before_files))
                what = self.replay("install", point, how)
                self.assert_registration_consistent(what)
                self.clean_up_to_the_end(what)

    def test_a_killed_update_is_removed_with_the_installation(self):
        for point, by, rng in self.points("update"):
            with self.subTest(point=point, by=by):
                prepare_machine()
                self.assertEqual(self.dist.run("/Q", "/s:", "/I:C:\\").returncode, 0, h.logs())
                run = f.Background(self.dist.program, "/Q", "/s:", "/U:C:\\")
                # The update's files carry its entries' date, later than any file written before.
                how = self.kill(run, by, rng, self.update_seconds, self.update_entries,
                                lambda: f.count_files(ROOT, newer_than=UPDATE_STAMP))
                what = self.replay("update", point, how)
                self.assert_registration_consistent(what)
                self.clean_up_to_the_end(what)

    def test_a_killed_cleanup_run_again_removes_the_rest(self):
        for point, by, rng in self.points("cleanup"):
            with self.subTest(point=point, by=by):
                prepare_machine()
                self.assertEqual(self.dist.run("/Q", "/s:", "/I:C:\\").returncode, 0, h.logs())
                run = f.Background(SYS / "SETUP.EXE", "/UNINSTALL", "/Q")
                # The cleanup keeps its program and its record until its end.
                installed = f.count_files(ROOT)
                how = self.kill(run, by, rng, self.cleanup_seconds, installed - len(self.before_files) - 2,
                                lambda: installed - f.count_files(ROOT))
                what = self.replay("cleanup", point, how)
                self.assert_registration_consistent(what)
                self.clean_up_to_the_end(what)


if __name__ == "__main__":
    h.main()
