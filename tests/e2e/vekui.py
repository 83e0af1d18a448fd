"""Drives real windows of programs running under Wine, through the test driver uidriver.exe.

Every program runs in the build tree's test prefix on that prefix's own Xvfb display (see
tools/wine-run). A program is started in the background (Program), its windows are waited for by
class and caption (wait_window), and their controls are found by class, caption or id, read,
clicked and typed into as a user would, then the program's exit code is awaited.

Every wait has a time limit: a window that never comes, or a program that never ends, fails the
test with what was on the screen instead of hanging it.
"""
import json
import os
import signal
import subprocess
import tempfile
from pathlib import Path

import vekharness as h

UIDRIVER_EXE = Path(os.environ.get("VEK_UIDRIVER_EXE", h.BUILD_DIR / "bin" / "uidriver.exe"))

# Virtual-key codes the tests press.
VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE = 0x09, 0x0D, 0x1B, 0x20

# BM_GETCHECK states.
UNCHECKED, CHECKED = 0, 1

NOT_FOUND = 2


class DriverError(AssertionError):
    pass


def driver(*args: str, timeout: float = 60) -> subprocess.CompletedProcess:
    """Runs one command of the driver; the result's returncode is the driver's exit code."""
    return h.wine(UIDRIVER_EXE, *args, timeout=timeout)


def _checked(result: subprocess.CompletedProcess, what: str) -> str:
    if result.returncode != 0:
        raise DriverError(f"{what}: driver exit code {result.returncode}; "
                          f"{result.stderr.decode('utf-8', 'replace')[-400:]}\nwindows now:\n{windows_text()}")
    return result.stdout.decode("utf-8")


def _lines(text: str) -> list:
    return [json.loads(line) for line in text.splitlines() if line.strip()]


def windows() -> list:
    """Every visible top-level window, as the driver describes it."""
    return _lines(driver("windows").stdout.decode("utf-8"))


def windows_text() -> str:
    try:
        return "\n".join(f"  {w['class']!r} {w['text']!r} enabled={w['enabled']}" for w in windows())
    except Exception as error:  # the listing only explains a failure; it must not hide it
        return f"  (could not list: {error})"


def screen() -> dict:
    """The work area, the screen size and the system DPI: {"work": [l, t, r, b], "screen": [w, h], "dpi": n}."""
    return json.loads(_checked(driver("screen"), "screen"))


def _window_args(cls: str = None, title: str = None, title_has: str = None) -> list:
    args = []
    if cls is not None:
        args += ["--class", cls]
    if title is not None:
        args += ["--title", title]
    if title_has is not None:
        args += ["--title-has", title_has]
    return args


def _control_args(cls: str = None, text: str = None, id: int = None, nth: int = None) -> list:
    args = []
    if cls is not None:
        args += ["--ctl-class", cls]
    if text is not None:
        args += ["--text", text]
    if id is not None:
        args += ["--id", str(id)]
    if nth is not None:
        args += ["--nth", str(nth)]
    return args


def wait_window(cls: str = None, title: str = None, title_has: str = None, timeout: float = 30,
                enabled: bool = False) -> "Window":
    """Waits for a visible top-level window with this class and/or caption (exact, or a part of it)."""
    args = ["wait", *_window_args(cls, title, title_has), "--timeout", str(int(timeout * 1000))]
    if enabled:
        args.append("--enabled")
    found = _lines(_checked(driver(*args, timeout=timeout + 60), f"no window {args[1:-2]}"))
    return Window(found[0])


def wait_other_window(window: "Window", timeout: float = 30) -> "Window":
    """Waits for a visible top-level window besides this one, such as a form it opened, whatever
    its caption in the language of the run."""
    other = h.wait_for(lambda: next((w for w in windows() if w["hwnd"] != window.hwnd), None), timeout=timeout)
    if other is None:
        raise AssertionError(f"no window besides {window.info['text']!r}; windows now:\n{windows_text()}")
    return Window(other)


def wait_gone(cls: str = None, title: str = None, title_has: str = None, timeout: float = 30) -> None:
    args = ["gone", *_window_args(cls, title, title_has), "--timeout", str(int(timeout * 1000))]
    _checked(driver(*args, timeout=timeout + 60), f"window still there {args[1:-2]}")


class Window:
    """A top-level window of the program under test, named by its handle."""

    def __init__(self, info: dict):
        self.info = info
        self.hwnd = info["hwnd"]

    def _run(self, command: str, *args: str, what: str = "") -> str:
        return _checked(driver(command, "--hwnd", str(self.hwnd), *args), what or f"{command} {args}")

    def answers(self, ms: int = 2000) -> dict:
        """How quickly the window's thread answered questions asked every 20 ms for ms
        milliseconds: asked, unanswered (none in 5 s), slowest_ms, median_ms."""
        return json.loads(self._run("answers", "--ms", str(ms)))

    def describe(self) -> dict:
        """The window's own description now (caption, enabled, rect...)."""
        return self.controls()[0]

    def controls(self) -> list:
        """The window itself, then each of its descendants: {"class", "id", "text", "visible",
        "enabled", "focused", "rect", "style", ["checked"], ["items", "selected"]...}."""
        return _lines(self._run("list"))

    def control(self, cls: str = None, text: str = None, id: int = None, nth: int = None) -> dict:
        """The first control matching everything given; text matches with or without its "&"."""
        return _lines(self._run("find", *_control_args(cls, text, id, nth), what=f"no control {cls} {text!r} {id}"))[0]

    def fits(self) -> list:
        """For each visible control that shows a text (and each list's row height): whether it
        fits, measured with the control's own font: {"hwnd", "id", "class", "text", "need": [w, h],
        "room": [w, h], "fits"}."""
        return _lines(self._run("fits"))

    def has_control(self, cls: str = None, text: str = None, id: int = None) -> bool:
        return driver("find", "--hwnd", str(self.hwnd), *_control_args(cls, text, id)).returncode == 0

    def text(self, **control) -> str:
        return self._run("text", *_control_args(**control))

    def click(self, how: str = "bm", **control) -> None:
        """Clicks a button (BM_CLICK, or how="command": WM_COMMAND to its parent)."""
        self._run("click", *_control_args(**control), "--how", how)

    def mouse(self, x: int, y: int, double: bool = False, **control) -> None:
        """A left click at a point of the control's client area."""
        self._run("mouse", *_control_args(**control), "--x", str(x), "--y", str(y), *(["--double"] if double else []))

    def set_text(self, value: str, **control) -> None:
        self._run("settext", *_control_args(**control), "--value", value)

    def select(self, index: int = None, item: str = None, **control) -> None:
        args = ["--index", str(index)] if item is None else ["--item", item]
        self._run("select", *_control_args(**control), *args)

    def key(self, vk: int, alt: bool = False, **control) -> None:
        """Presses a key on the control, or on the window's focused control when none is named."""
        self._run("key", *_control_args(**control), "--vk", str(vk), *(["--alt"] if alt else []))

    def accelerator(self, letter: str) -> None:
        """Alt and the letter, as a user presses an "&" accelerator."""
        self.key(ord(letter.upper()), alt=True)

    def close(self) -> None:
        """What the close box does: WM_CLOSE."""
        self._run("close")

    def screenshot(self, path: Path) -> Path:
        """The window as the screen shows it, as a PNG file (a path inside the prefix or the build tree)."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run("screenshot", "--out", h.to_windows(path))
        return path

    def exists(self) -> bool:
        return driver("find", "--hwnd", str(self.hwnd), "--hidden").returncode == 0


def visible(window: "Window", id: int) -> bool:
    """Whether the window's control with this id shows."""
    return any(c.get("id") == id and c["visible"] for c in window.controls()[1:])


def wait_visible(window: "Window", id: int, timeout: float = 60) -> None:
    """Waits until the control shows (in a wizard: its page is the active one)."""
    if not h.wait_for(lambda: visible(window, id), timeout=timeout, interval=0.3):
        raise AssertionError(f"control {id} did not show; controls:\n" +
                             "\n".join(str(c) for c in window.controls() if c["visible"]))


class Program:
    """A Windows program started in the background under Wine, such as setup.exe without /Q."""

    def __init__(self, exe: Path, *args: str):
        # Output into files, as in vekharness: a Wine system process the program starts must not
        # keep the test waiting for the end of a pipe.
        self._out = tempfile.TemporaryFile()
        self._err = tempfile.TemporaryFile()
        self.process = subprocess.Popen(self.command(exe, *args), stdin=subprocess.DEVNULL, stdout=self._out,
                                        stderr=self._err, start_new_session=True)
        self.stdout = b""
        self.stderr = b""

    @staticmethod
    def command(exe: Path, *args: str) -> list:
        """Started through e2etool, so that wait() tells the whole exit code (1602, 3010)."""
        return [h.WINE_RUN, str(h.PREFIX), str(h.BUILD_DIR), *h.exit_code_command(exe, *args)]

    def communicate(self, timeout: float) -> None:
        self.process.wait(timeout)
        self._out.seek(0)
        self.stdout = self._out.read()
        self._err.seek(0)
        self.stderr = self._err.read()

    def wait(self, timeout: float = 60) -> int:
        """The program's exit code; a program still running after the timeout is killed and fails."""
        try:
            self.communicate(timeout)
        except subprocess.TimeoutExpired:
            screen_now = windows_text()
            self.kill()
            raise AssertionError(f"the program did not end within {timeout} s; windows were:\n{screen_now}")
        return h.whole_exit_code(self.process.returncode, self.stderr)

    def kill(self) -> None:
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        self._out.close()
        self._err.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()


def set_dpi(dpi: int) -> None:
    """The screen resolution that programs started from now on in this prefix see (96, 144, 192...).
    It changes the whole prefix: only a test with a prefix of its own may call it."""
    result = h.wine_command("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                            "/d", str(dpi), "/f")
    assert result.returncode == 0, result.stderr


def stop_prefix() -> None:
    """Stops the prefix's Wine server, and with it its Xvfb: for a test with a prefix of its own."""
    env = dict(os.environ, WINEPREFIX=str(h.PREFIX))
    subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)


def language_texts(code: str) -> dict:
    """The language table's texts of one language column ("UK", "RU", "CN"...), by number."""
    table = Path(__file__).resolve().parents[2] / "src" / "language" / "veklang.tsv"
    rows = table.read_text(encoding="utf-8").split("\n")
    column = rows[0].rstrip("\r").split("\t").index(code)
    texts = {}
    for row in rows[1:]:
        cells = row.rstrip("\r").split("\t")
        if len(cells) > column and cells[0].isdigit():
            texts[int(cells[0])] = cells[column]
    return texts
