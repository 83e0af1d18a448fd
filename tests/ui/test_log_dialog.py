"""The log dialog in a real window under Wine: the lines, closing it, and saving them through
the system's save dialog (UTF-8, CR LF), also when the save fails."""
import os
from pathlib import Path

import vekharness as h
import vekui

DEMO = Path(os.environ["VEK_DIALOGDEMO_EXE"])
SHOTS = h.BUILD_DIR / "screenshots"
MEMO_ID, SAVE_ID, STATUS_ID = 1001, 1002, 1003
LINES = ["Copy \"C:\\App\\a.dll\": failed, error 5", "Ошибка при записи реестра", "无法创建快捷方式"]
FOLDER = h.DRIVE_C / "e2e" / "logdialog"


def show_log(*args: str) -> vekui.Program:
    return vekui.Program(DEMO, "log", "--lines", "|".join(LINES), *args)


def owned_by(owner: vekui.Window, title: str | None) -> vekui.Window:
    """The window with this caption (any caption for None) that owner owns: the dialog it opened."""
    found = h.wait_for(lambda: [w for w in vekui.windows()
                                if w["owner"] == owner.hwnd and title in (None, w["text"])], timeout=30)
    assert found, f"no window {title!r} of {owner.hwnd}; windows:\n{vekui.windows_text()}"
    return vekui.Window(found[0])


def save_as(log: vekui.Window, path: Path) -> vekui.Window:
    """Chooses path in the system's save dialog; that dialog, which may still ask a question."""
    log.click(id=SAVE_ID)
    dialog = owned_by(log, "Save As")
    dialog.set_text(h.to_windows(path), cls="Edit", id=1148)
    dialog.click(cls="Button", id=1)
    return dialog


class LogDialog(h.WineTestCase):
    def test_shows_the_lines_and_closes_with_ok_or_esc(self):
        for how, caption in (("OK", ""), ("Esc", "Errors of the run")):
            with self.subTest(how), show_log(*(["--caption", caption] if caption else [])) as program:
                # Without a caption of its own the dialog has language text 229.
                log = vekui.wait_window(title=caption or "Error list")
                self.assertEqual(log.text(id=MEMO_ID), "\r\n".join(LINES) + "\r\n")
                self.assertTrue(log.control(text="OK")["focused"])
                if how == "OK":
                    log.screenshot(SHOTS / "log-dialog.png")
                    log.click(text="OK")
                else:
                    log.key(vekui.VK_ESCAPE)
                self.assertEqual(program.wait(), 0)

    def test_save_writes_the_lines_as_utf8_with_cr_lf(self):
        FOLDER.mkdir(parents=True, exist_ok=True)
        target = FOLDER / "saved.txt"
        target.unlink(missing_ok=True)
        with show_log() as program:
            log = vekui.wait_window(title="Error list")
            save_as(log, target)
            self.assertTrue(h.wait_for(target.exists, timeout=30))
            expected = ("\r\n".join(LINES) + "\r\n").encode("utf-8")
            self.assertTrue(h.wait_for(lambda: target.read_bytes() == expected, timeout=10), target.read_bytes())
            # The dialog stays, and says where the log went.
            self.assertTrue(h.wait_for(lambda: log.text(id=STATUS_ID) == h.to_windows(target), timeout=10))
            log.click(text="OK")
            self.assertEqual(program.wait(), 0)

    def test_a_failed_save_says_why_and_keeps_the_dialog_open(self):
        FOLDER.mkdir(parents=True, exist_ok=True)
        target = FOLDER / "held.txt"
        release = FOLDER / "release"
        release.unlink(missing_ok=True)
        target.write_bytes(b"held")
        (FOLDER / "held.txt.held").unlink(missing_ok=True)
        # Another program holds the file open without sharing: writing it fails.
        with vekui.Program(h.E2ETOOL_EXE, "hold", h.to_windows(target), h.to_windows(release)) as holder, \
                show_log() as program:
            self.assertTrue(h.wait_for((FOLDER / "held.txt.held").exists, timeout=30))
            log = vekui.wait_window(title="Error list")
            # The save dialog asks whether to replace the existing file (Wine's question has no title).
            owned_by(save_as(log, target), None).click(text="Yes")
            message = owned_by(log, "Error list")
            texts = [c["text"] for c in message.controls() if c["class"] == "Static" and c["id"] > 1100]
            self.assertTrue(any(h.to_windows(target) in t for t in texts), texts)
            self.assertTrue(any("error 32" in t for t in texts), texts)
            message.screenshot(SHOTS / "log-dialog-save-failed.png")
            message.click(text="OK")
            # Still open, and still working.
            log = vekui.wait_window(title="Error list", enabled=True)
            self.assertEqual(log.text(id=STATUS_ID), "")
            release.write_bytes(b"")
            self.assertEqual(holder.wait(), 0)
            log.click(text="OK")
            self.assertEqual(program.wait(), 0)
        self.assertEqual(target.read_bytes(), b"held")


if __name__ == "__main__":
    h.main()
