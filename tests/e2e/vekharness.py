"""Runs the real setup.exe under Wine on distributions made by the tests.

The Wine prefix is the build tree's test prefix: C: is its drive_c, D: the build tree, and there
is no Z: drive, so a faulty run cannot write into the host's file system. Distributions are made
under C:\\e2e\\<test name>, and the Windows temporary folder is C:\\users\\<user>\\Temp.
"""
import contextlib
import getpass
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

SETUP_EXE = Path(os.environ["VEK_SETUP_EXE"])
E2ETOOL_EXE = Path(os.environ["VEK_E2ETOOL_EXE"])
WINE_RUN = os.environ["VEK_WINE_RUN"]
PREFIX = Path(os.environ["VEK_WINE_PREFIX"])
BUILD_DIR = Path(os.environ["VEK_BUILD_DIR"])
DRIVE_C = PREFIX / "drive_c"


def temp_dir() -> Path:
    return DRIVE_C / "users" / getpass.getuser() / "Temp"


def to_windows(path: Path) -> str:
    """The Windows name of a host path inside the prefix's C: drive or the build tree (D:)."""
    path = Path(path)
    for root, drive in ((DRIVE_C, "C:"), (BUILD_DIR, "D:")):
        try:
            rest = path.relative_to(root)
        except ValueError:
            continue
        return drive + "\\" + "\\".join(rest.parts)
    raise ValueError(f"{path} is not visible to Wine")


def _run_in_wine(args: list, timeout: float) -> subprocess.CompletedProcess:
    """Runs a command through tools/wine-run (which also retries Wine's own start failures).
    Its output goes into temporary files, not pipes: a Wine system process that the call starts
    (the desktop, the services, after the last program of the prefix took them down) inherits
    the call's standard streams and holds them for as long as it lives, so a caller reading
    pipes to their end would wait for it. The whole process group goes on a timeout."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen([WINE_RUN, str(PREFIX), str(BUILD_DIR), *args], stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=err, start_new_session=True)
        try:
            code = process.wait(timeout=timeout)
        finally:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(process.args, code, out.read(), err.read())


def exit_code_command(exe: Path, *args: str) -> list:
    """The arguments of wine-run that start a program through e2etool, which prints the
    program's whole exit code: Linux sees only the low eight bits of 3010 or 1602."""
    return [str(E2ETOOL_EXE), "exitcode", to_windows(exe), *args]


def whole_exit_code(low_bits: int, stderr: bytes) -> int:
    """The exit code that e2etool printed on stderr, or low_bits when it printed none (it could
    not start the program, or was killed)."""
    found = re.findall(rb"e2etool: exit code (\d+)", stderr or b"")
    return int(found[-1]) if found else low_bits


def wine(exe: Path, *args: str, timeout: float = 120, whole_code: bool = False) -> subprocess.CompletedProcess:
    """Runs a Windows program and waits for it; stdout and stderr are captured. With whole_code
    the returncode is the program's whole exit code, not only the low eight bits."""
    if not whole_code:
        return _run_in_wine([str(exe), *args], timeout)
    result = _run_in_wine(exit_code_command(exe, *args), timeout)
    result.returncode = whole_exit_code(result.returncode, result.stderr)
    return result


def wine_command(*args: str, timeout: float = 120) -> subprocess.CompletedProcess:
    """Runs a Wine built-in command such as `reg`."""
    return _run_in_wine(list(args), timeout)


def reg_values(key: str) -> dict:
    """The values of a registry key as `reg query` shows them ({name: data}); None when the key
    does not exist."""
    result = wine_command("reg", "query", key)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        parts = line.strip().split("    ")
        if len(parts) >= 3 and parts[1].startswith("REG_"):
            values[parts[0]] = "    ".join(parts[2:])
    return values


def reg_delete_values(key: str) -> None:
    wine_command("reg", "delete", key, "/va", "/f")


RUN_ONCE = r"HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"


def profile_read(path: Path) -> dict:
    """An INI file as the system's profile functions read it: {section: {key: value}}, names as
    stored."""
    out = wine(E2ETOOL_EXE, "ini", to_windows(path))
    assert out.returncode == 0, out.stderr
    sections = {}
    current = None
    for line in out.stdout.decode("utf-8").splitlines():
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif current is not None:
            key, _, value = line.partition("=")
            current[key] = value
    return sections


READ_ONLY, HIDDEN, SYSTEM, ARCHIVE = 0x01, 0x02, 0x04, 0x20


def file_attributes(*paths: Path) -> list:
    """The Windows attributes of each file as the system reports them (None: not there)."""
    out = wine(E2ETOOL_EXE, "attrib", *(to_windows(p) for p in paths))
    assert out.returncode == 0, out.stderr
    values = []
    for line in out.stdout.decode("utf-8").splitlines():
        value, _, _ = line.partition(" ")
        values.append(None if value == "-" else int(value, 16))
    assert len(values) == len(paths), out.stdout
    return values


def set_file_attributes(path: Path, attributes: int) -> None:
    out = wine(E2ETOOL_EXE, "setattrib", f"{attributes:x}", to_windows(path))
    assert out.returncode == 0, out.stderr


@contextlib.contextmanager
def held_open(path: Path, release: Path, readable: bool = False):
    """Keeps a file open in another Windows process while the block runs: without sharing, or
    with others still allowed to read it (a program library in use)."""
    release.unlink(missing_ok=True)
    holder = subprocess.Popen([WINE_RUN, str(PREFIX), str(BUILD_DIR), str(E2ETOOL_EXE),
                               "holdread" if readable else "hold", to_windows(path), to_windows(release)],
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: Path(str(path) + ".held").exists()):
            raise AssertionError(f"{path} was not opened by the holder")
        yield
    finally:
        release.write_bytes(b"")
        holder.wait(timeout=60)


def ensure_prefix() -> None:
    """The first Wine call of a run creates the prefix, which takes minutes; make it before the
    first test, whose own timeouts are meant for hangs only."""
    wine_command("cmd", "/c", "exit", timeout=300)


def write_script(path: Path, text: str, encoding: str = "utf-8-sig") -> None:
    """Writes a setup script with CR LF line ends (the default encoding writes a UTF-8 BOM)."""
    path.write_bytes(text.replace("\r\n", "\n").replace("\n", "\r\n").encode(encoding))


class Distribution:
    """A distribution folder under C:\\e2e with setup.exe (under any name) and its script."""

    def __init__(self, name: str, program: str = "setup.exe"):
        self.dir = DRIVE_C / "e2e" / name
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        self.program = self.dir / program
        shutil.copyfile(SETUP_EXE, self.program)

    def script(self, text: str, name: str = "", encoding: str = "utf-8-sig") -> Path:
        path = self.dir / (name or (self.program.stem + ".ini"))
        write_script(path, text, encoding)
        return path

    def run(self, *args: str, timeout: float = 120, whole_code: bool = False) -> subprocess.CompletedProcess:
        return wine(self.program, *args, timeout=timeout, whole_code=whole_code)


def clear_logs() -> None:
    temp = temp_dir()
    temp.mkdir(parents=True, exist_ok=True)
    # The result files that runs write beside their logs go with them.
    for log in [*temp.glob("*.log"), *temp.glob("*.result.ini")]:
        log.unlink()


def logs(prefix: str = "") -> dict:
    """The setup logs in the temporary folder, by file name, as text lines."""
    found = {}
    for log in sorted(temp_dir().glob(f"{prefix}*.log")):
        data = log.read_bytes()
        assert not data.startswith(b"\xef\xbb\xbf"), f"{log.name} has a byte-order mark"
        found[log.name] = data.decode("utf-8").split("\r\n")[:-1]
    return found


def wait_for(predicate, timeout: float = 60.0, interval: float = 0.2):
    """Polls until predicate() gives a true value, which is returned; None after the timeout."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return None


class WineTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        ensure_prefix()

    def setUp(self):
        clear_logs()


def main():
    unittest.main(verbosity=2)
