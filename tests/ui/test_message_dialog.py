"""The message dialog in a real window under Wine: shown by a small program that links the
user interface, operated from outside through the test driver."""
import os
from pathlib import Path

import vekharness as h
import vekui

DEMO = Path(os.environ["VEK_DIALOGDEMO_EXE"])
SHOTS = h.BUILD_DIR / "screenshots"


def show(*args: str) -> vekui.Program:
    return vekui.Program(DEMO, *args)


class MessageDialog(h.WineTestCase):
    def test_the_answer_is_the_number_of_the_button_clicked(self):
        for caption, answer in (("Yes", 1), ("No", 2)):
            with self.subTest(caption), show("message", "--caption", "Question", "--message", "Go on?",
                                             "--buttons", "&Yes|&No") as program:
                dialog = vekui.wait_window(title="Question")
                dialog.screenshot(SHOTS / "message-question.png")
                dialog.click(text=caption)
                self.assertEqual(program.wait(), answer)
                self.assertIn(f"answer={answer}".encode(), program.stdout)


if __name__ == "__main__":
    h.main()
