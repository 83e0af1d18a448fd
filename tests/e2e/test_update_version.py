"""The version tests of an update ([UVersionCheck]): an installed product is updated when its
installed version passes the tests, left alone with exit code 1 when one fails, and updated
regardless with /V."""
import shutil
import zipfile

import vekharness as h

BASE = h.DRIVE_C / "updver"
PROG = BASE / "VerApps" / "PROG"
VERSION_INI = "C:\\updver\\VerApps\\PROG\\version.ini"

SCRIPT = r"""[System Info]
Name=Versioned
InstallRoot=VerApps
SystemDir=VerSys
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
PackFile=update.zip

[UVersionCheck]
"""


def pack(path, files, year):
    with zipfile.ZipFile(path, "w") as out:
        for name, data in files.items():
            out.writestr(zipfile.ZipInfo(name, (year, 1, 1, 0, 0, 0)), data)


class UpdateVersionTests(h.WineTestCase):
    def update(self, dist, checks, content, year, *switches):
        dist.script(SCRIPT + checks)
        pack(dist.dir / "update.zip", {"app.txt": content}, year)
        h.clear_logs()
        result = dist.run("/Q", "/s:", "/U:C:\\updver", *switches)
        return result, next(iter(h.logs("setup_").values()))

    def test_passing_failing_and_overridden_version_tests(self):
        dist = h.Distribution("updver")
        dist.script(SCRIPT)
        shutil.rmtree(BASE, ignore_errors=True)
        BASE.mkdir(parents=True)
        pack(dist.dir / "v1.zip", {"app.txt": b"version 1", "version.ini": b"[Product]\r\nVersion=2.0\r\n"},
             2020)
        result = dist.run("/Q", "/s:", "/I:C:\\updver")
        self.assertEqual(result.returncode, 0, result.stderr[-400:])
        self.assertEqual((PROG / "app.txt").read_bytes(), b"version 1")

        # Every test passes: the update goes on, one log line per test.
        result, log = self.update(dist, f"File={VERSION_INI},Product,Version>=2.0\nError=Too old\n"
                                         "File1=<FILEEXISTS>C:\\updver\\absent.exe,FixedFileVersion,>=9\n",
                                  b"version 2", 2030)
        self.assertEqual(result.returncode, 0, log)
        self.assertIn(f'Version test "{VERSION_INI}" Product, Version: found "2.0" >= "2.0": passed', log)
        self.assertEqual(sum(line.startswith("Version test ") for line in log), 2, log)
        self.assertEqual((PROG / "app.txt").read_bytes(), b"version 2")

        # The second test fails: its text is reported, later tests do not run, nothing changes.
        checks = (f"File={VERSION_INI},Product,Version>=2.0\n"
                  f"File1={VERSION_INI},Product,Version>=3.0\nError1=Version 3 is needed first\n"
                  f"File2={VERSION_INI},Product,Version>=1\n")
        result, log = self.update(dist, checks, b"version 3", 2031)
        self.assertEqual(result.returncode, 1, log)
        self.assertIn(f'Version test "{VERSION_INI}" Product, Version: found "2.0" >= "3.0": failed', log)
        self.assertEqual(sum(line.startswith("Version test ") for line in log), 2, log)
        self.assertIn("The installation in C:\\updver\\VerApps cannot be updated.&&"
                      "Version 3 is needed first", log)
        self.assertNotIn("Install files", log)
        self.assertEqual((PROG / "app.txt").read_bytes(), b"version 2")

        # /V: the same failing tests are not run.
        result, log = self.update(dist, checks, b"version 3", 2031, "/V")
        self.assertEqual(result.returncode, 0, log)
        self.assertIn("Version tests skipped (/V)", log)
        self.assertFalse(any(line.startswith("Version test ") for line in log), log)
        self.assertEqual((PROG / "app.txt").read_bytes(), b"version 3")


if __name__ == "__main__":
    h.main()
