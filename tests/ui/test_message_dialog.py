"""The message dialog in real windows under Wine: shown by a small program that links the user
interface (dialogdemo.exe), operated from outside through the test driver as a user would."""
import os
from pathlib import Path

import vekharness as h
import vekui

DEMO = Path(os.environ["VEK_DIALOGDEMO_EXE"])
SHOTS = h.BUILD_DIR / "screenshots"
IMAGE_ID, FIRST_BUTTON_ID, CHECK_BOX_ID, TEXT_AREA_ID = 1000, 1001, 1005, 1006


def show(*args: str) -> vekui.Program:
    return vekui.Program(DEMO, *args)


def question(*extra: str, caption: str = "Question", message: str = "Go on?", buttons: str = "&Yes|&No|&Cancel"):
    return show("message", "--caption", caption, "--message", message, "--buttons", buttons, *extra)


def by_class(controls: list, cls: str) -> list:
    return [c for c in controls if c["class"].lower() == cls.lower()]


def width(control: dict) -> int:
    return control["rect"][2] - control["rect"][0]


def height(control: dict) -> int:
    return control["rect"][3] - control["rect"][1]


class Buttons(h.WineTestCase):
    def test_each_button_answers_its_number_and_shows_the_callers_captions_in_order(self):
        for clicked, answer in (("One", 1), ("Four", 4)):
            with self.subTest(clicked), question(buttons="&One|T&wo|Th&ree|&Four") as program:
                dialog = vekui.wait_window(title="Question")
                buttons = by_class(dialog.controls(), "Button")
                self.assertEqual([b["text"] for b in buttons], ["&One", "T&wo", "Th&ree", "&Four"])
                self.assertEqual([b["id"] for b in buttons], [1001, 1002, 1003, 1004])
                # 96 DPI: 81 wide, 101 apart, one row.
                self.assertEqual({width(b) for b in buttons}, {81})
                lefts = [b["rect"][0] for b in buttons]
                self.assertEqual([b - a for a, b in zip(lefts, lefts[1:])], [101, 101, 101])
                self.assertEqual(len({b["rect"][1] for b in buttons}), 1)
                dialog.click(text=clicked)
                self.assertEqual(program.wait(), answer)
                self.assertIn(f"answer={answer}".encode(), program.stdout)

    def test_esc_and_the_close_box_answer_0(self):
        for how in ("Esc", "close box"):
            with self.subTest(how), question() as program:
                dialog = vekui.wait_window(title="Question")
                if how == "Esc":
                    dialog.key(vekui.VK_ESCAPE)
                else:
                    dialog.close()
                self.assertEqual(program.wait(), 0)

    def test_keyboard_enter_takes_the_first_button_tab_and_accelerators_the_others(self):
        cases = [
            ("Enter", [vekui.VK_RETURN], 1),
            ("Tab, Enter", [vekui.VK_TAB, vekui.VK_RETURN], 2),
            ("Tab, Tab, Enter", [vekui.VK_TAB, vekui.VK_TAB, vekui.VK_RETURN], 3),
        ]
        for label, keys, answer in cases:
            with self.subTest(label), question() as program:
                dialog = vekui.wait_window(title="Question")
                self.assertTrue(dialog.control(text="Yes")["focused"])
                for key in keys:
                    dialog.key(key)
                self.assertEqual(program.wait(), answer)
        with self.subTest("Alt+N"), question() as program:
            vekui.wait_window(title="Question").accelerator("N")
            self.assertEqual(program.wait(), 2)

    def test_missing_captions_show_empty_buttons(self):
        # A text the language table lacks is empty: the buttons are still there and answer.
        with show("message", "--caption", "", "--message", "", "--buttons", "|") as program:
            dialog = vekui.wait_window(cls="#32770", title="")
            buttons = by_class(dialog.controls(), "Button")
            self.assertEqual([b["text"] for b in buttons], ["", ""])
            dialog.click(id=1002)
            self.assertEqual(program.wait(), 2)


class CheckBox(h.WineTestCase):
    def test_the_check_box_state_comes_back(self):
        for initial, click, final in ((False, True, 1), (True, True, 0), (True, False, 1)):
            with self.subTest(initial=initial, click=click):
                extra = ["--check", "&Remember my answer"] + (["--checked"] if initial else [])
                with question(*extra) as program:
                    dialog = vekui.wait_window(title="Question")
                    box = dialog.control(id=CHECK_BOX_ID)
                    self.assertEqual(box["text"], "&Remember my answer")
                    self.assertEqual(box["checked"], 1 if initial else 0)
                    if click:
                        dialog.click(id=CHECK_BOX_ID)
                        self.assertIsNotNone(h.wait_for(lambda: dialog.control(id=CHECK_BOX_ID)["checked"] == final,
                                                        timeout=10))
                    dialog.click(text="No")
                    self.assertEqual(program.wait(), 2)
                    self.assertIn(f"checked={final}".encode(), program.stdout)

    def test_without_a_check_box_the_dialog_is_30_lower(self):
        heights = {}
        for label, extra in (("with", ["--check", "Remember"]), ("without", [])):
            with question(*extra) as program:
                dialog = vekui.wait_window(title="Question")
                heights[label] = height(dialog.describe())
                self.assertEqual(dialog.has_control(id=CHECK_BOX_ID), label == "with")
                dialog.key(vekui.VK_ESCAPE)
                program.wait()
        self.assertEqual(heights["with"] - heights["without"], 30)


class Message(h.WineTestCase):
    def test_lines_icon_and_height(self):
        seen = {}
        for label, message, dialog_type in (("one line", "Only one line", 3), ("three lines", "First&&Second&&Third", 3),
                                            ("custom", "No icon&&here", 4), ("high bits", "Error icon", 0x81)):
            with self.subTest(label), show("message", "--caption", "Lines", "--message", message, "--type",
                                           str(dialog_type), "--buttons", "&OK") as program:
                dialog = vekui.wait_window(title="Lines")
                controls = dialog.controls()
                seen[label] = controls[0]
                lines = [c for c in controls if c["class"] == "Static" and c["id"] > 1100]
                self.assertEqual([c["text"] for c in lines], message.split("&&"))
                self.assertEqual([c["id"] for c in lines], [1101 + i for i in range(len(lines))])
                has_icon = any(c["id"] == IMAGE_ID for c in controls)
                self.assertEqual(has_icon, dialog_type != 4)
                # Centred on one axis: the full width without an icon, right of the icon with one.
                centres = {(c["rect"][0] + c["rect"][2]) // 2 for c in lines}
                self.assertLessEqual(max(centres) - min(centres), 1)
                if not has_icon:
                    middle = (controls[0]["rect"][0] + controls[0]["rect"][2]) // 2
                    self.assertLessEqual(abs(centres.pop() - middle), 2)
                dialog.screenshot(SHOTS / f"message-{label.replace(' ', '-')}.png")
                dialog.key(vekui.VK_RETURN)
                self.assertEqual(program.wait(), 1)
        self.assertEqual(height(seen["three lines"]) - height(seen["one line"]), 32)

    def test_a_long_caption_widens_the_dialog(self):
        widths = []
        for caption in ("Short", "A caption that is much longer than the message of this dialog, " * 2):
            with show("message", "--caption", caption, "--message", "Hi", "--buttons", "&OK") as program:
                dialog = vekui.wait_window(title=caption)
                widths.append(width(dialog.describe()))
                dialog.key(vekui.VK_ESCAPE)
                program.wait()
        self.assertGreater(widths[1], widths[0] + 300)

    def test_long_messages_stay_inside_the_work_area(self):
        work = vekui.screen()["work"]
        words = ("Installation " * 8000)[:100000]
        cases = [
            ("one word of 100000 characters", "x" * 100000, True),
            ("100000 characters of words", words, True),
            ("500 lines", "&&".join(f"Line {i}" for i in range(500)), True),
            ("one long line of words", ("wrapped words " * 60).strip(), False),
        ]
        for label, message, scrolls in cases:
            with self.subTest(label):
                path = h.DRIVE_C / "e2e" / "dialogs" / "message.txt"
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_bytes(message.encode("utf-8"))
                with show("message", "--caption", "Long", "--message-file", h.to_windows(path), "--type", "1",
                          "--buttons", "&OK") as program:
                    dialog = vekui.wait_window(title="Long", timeout=60)
                    controls = dialog.controls()
                    box = controls[0]["rect"]
                    self.assertGreaterEqual(box[0], work[0])
                    self.assertGreaterEqual(box[1], work[1])
                    self.assertLessEqual(box[2], work[2])
                    self.assertLessEqual(box[3], work[3])
                    for control in controls[1:]:  # nothing is cut off by the dialog's edge
                        self.assertTrue(box[0] <= control["rect"][0] and control["rect"][2] <= box[2], control)
                        self.assertTrue(box[1] <= control["rect"][1] and control["rect"][3] <= box[3], control)
                    areas = [c for c in controls if c["id"] == TEXT_AREA_ID]
                    if scrolls:
                        self.assertEqual(len(areas), 1)
                        self.assertEqual(areas[0]["text"], message.replace("&&", "\r\n"))
                    else:
                        self.assertEqual(areas, [])
                        lines = [c["text"] for c in controls if c["class"] == "Static" and c["id"] > 1100]
                        self.assertGreater(len(lines), 1)
                        self.assertEqual(" ".join(lines), message)
                    dialog.screenshot(SHOTS / f"message-long-{label.replace(' ', '-')}.png")
                    dialog.click(text="OK")
                    self.assertEqual(program.wait(), 1)


class Owner(h.WineTestCase):
    def test_the_owner_is_disabled_while_the_dialog_is_shown(self):
        with show("--owner", "message", "--caption", "Owned", "--message", "Owner waits", "--buttons", "&OK") as program:
            dialog = vekui.wait_window(title="Owned")
            owner = vekui.wait_window(cls="VekDemoOwner")
            self.assertEqual(dialog.info["owner"], owner.hwnd)
            self.assertFalse(owner.describe()["enabled"])
            dialog.click(text="OK")
            self.assertEqual(program.wait(), 1)


class Languages(h.WineTestCase):
    WRAPPERS = [("ok", [136]), ("yesno", [111, 112]), ("okcancel", [136, 164]), ("retry", [121, 119, 164])]

    def test_the_wrappers_buttons_in_the_language_of_the_run(self):
        messages = {"UK": "The file is in use.&&Close the program that uses it, then try again.",
                    "RU": "Файл используется.&&Закройте программу, которая его использует, и повторите попытку.",
                    "CN": "文件正在使用中。&&请关闭使用它的程序，然后重试。",
                    "DE": "Die Datei wird verwendet.&&Schließen Sie das Programm, das sie verwendet, und versuchen Sie es erneut."}
        for code, message in messages.items():
            texts = vekui.language_texts(code)
            for wrapper, ids in self.WRAPPERS:
                with self.subTest(code=code, wrapper=wrapper), show("--lang", code, wrapper, "--caption", f"{code} {wrapper}",
                                                                    "--message", message, "--type", "0") as program:
                    dialog = vekui.wait_window(title=f"{code} {wrapper}")
                    buttons = by_class(dialog.controls(), "Button")
                    self.assertEqual([b["text"] for b in buttons], [texts[i] for i in ids])
                    if wrapper == "retry":
                        dialog.screenshot(SHOTS / f"dialogs-{code.lower()}.png")
                    dialog.click(id=1000 + len(ids))
                    self.assertEqual(program.wait(), len(ids))


if __name__ == "__main__":
    h.main()
