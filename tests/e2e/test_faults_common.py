"""Pieces the fault tests share: a product to install, starting setup.exe in the background and
killing it (SIGKILL, the Wine loader and the Windows process alike), and snapshots of a tree."""
import hashlib
import os
import signal
import subprocess
import time
import zipfile
from pathlib import Path

import vekharness as h

ENTRY_TIME = (2020, 5, 17, 10, 20, 30)
UPDATE_TIME = (2030, 1, 1, 0, 0, 0)


def pack(path: Path, files: dict, date=ENTRY_TIME) -> None:
    """A deflated pack; files maps names to contents."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in files.items():
            info = zipfile.ZipInfo(name, date)
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data)


def snapshot(root: Path) -> dict:
    """Every file and folder below root: {relative path: digest of the content, or "<dir>"}."""
    state = {}
    if not root.exists():
        return state
    for folder, dirs, files in os.walk(root):
        for name in dirs:
            state[os.path.relpath(os.path.join(folder, name), root)] = "<dir>"
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                state[os.path.relpath(path, root)] = hashlib.sha1(f.read()).hexdigest()
    return state


def count_files(root: Path, newer_than: float = None) -> int:
    """The files below root; with newer_than, only those last written after that time."""
    count = 0
    for folder, _, files in os.walk(root):
        for name in files:
            try:
                if newer_than is None or os.stat(os.path.join(folder, name)).st_mtime > newer_than:
                    count += 1
            except OSError:
                pass
    return count


def windows_processes(program: Path) -> list:
    """The host pids of the Windows processes running program: Wine names the process by the
    path it was started with, the host's or the Windows one."""
    wanted = (h.to_windows(program).upper().encode(), str(program).upper().encode())
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                command = f.read().replace(b"\0", b" ").upper()
        except OSError:
            continue
        if command.startswith(wanted):
            found.append(int(entry))
    return found


class Background:
    """setup.exe (or any program) started through tools/wine-run in a session of its own."""

    def __init__(self, program: Path, *args: str):
        self.program = program
        self.process = subprocess.Popen([h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), str(program), *args],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        self.started = time.monotonic()

    def running(self) -> bool:
        return self.process.poll() is None

    def kill(self) -> bool:
        """SIGKILL to every process that runs the program, by pid; True when one was killed.
        Never to the whole process group: the first Wine program of a prefix starts the
        prefix's desktop process in its group, and every later program would wait for the
        desktop that was killed with it."""
        killed = False
        while self.running():
            for pid in windows_processes(self.program):
                try:
                    os.kill(pid, signal.SIGKILL)
                    killed = True
                except ProcessLookupError:
                    pass
            time.sleep(0.002)
        # The Windows process may outlive its loader for a moment; it must be gone before the
        # next run looks at the files.
        h.wait_for(lambda: not windows_processes(self.program), timeout=30)
        return killed

    def wait(self, timeout: float = 120) -> int:
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise

    def kill_at(self, seconds: float = None, files: int = None, root: Path = None) -> bool:
        """Kills the run after `seconds`, or once `files` files exist below root, whichever is
        asked; True when it was killed, False when it ended first."""
        while self.running():
            if seconds is not None and time.monotonic() - self.started >= seconds:
                break
            if files is not None and count_files(root) >= files:
                break
            time.sleep(0.003)
        return self.kill()



def _all_stopped(pid: int) -> bool:
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
        for task in tasks:
            with open(f"/proc/{pid}/task/{task}/stat") as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
            if state not in ("T", "t"):
                return False
        return True
    except (OSError, IndexError):
        return True  # gone


def freeze(pids: list) -> None:
    """SIGSTOP to each process, and back only once every thread of it has stopped: a system call
    in flight when the signal comes still finishes, and the test must not look at the files
    before that."""
    for pid in pids:
        os.kill(pid, signal.SIGSTOP)
    for pid in pids:
        assert h.wait_for(lambda: _all_stopped(pid), timeout=30, interval=0.001), f"{pid} does not stop"


def thaw(pids: list) -> None:
    for pid in pids:
        try:
            os.kill(pid, signal.SIGCONT)
        except ProcessLookupError:
            pass
