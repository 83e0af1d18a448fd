"""The message and log dialogs at 144 and 192 DPI: the 96-DPI figures scale with the screen and
no text is cut off. The test changes the screen resolution of its prefix, so it has a prefix of
its own."""
import os
from pathlib import Path

import vekharness as h
import vekui

DEMO = Path(os.environ["VEK_DIALOGDEMO_EXE"])
SHOTS = h.BUILD_DIR / "screenshots"
MESSAGE = "Файл используется.&&文件正在使用中。&&The file is in use."


def inside(outer: list, inner: list) -> bool:
    return outer[0] <= inner[0] and inner[2] <= outer[2] and outer[1] <= inner[1] and inner[3] <= outer[3]


class HighDpi(h.WineTestCase):
    def test_the_dialogs_scale_with_the_screen(self):
        self.addCleanup(vekui.stop_prefix)
        self.addCleanup(vekui.set_dpi, 96)
        for dpi in (144, 192):
            vekui.set_dpi(dpi)
            vekui.stop_prefix()  # the resolution takes effect when the prefix starts again
            with self.subTest(dpi=dpi), vekui.Program(DEMO, "--lang", "RU", "retry", "--caption", f"DPI {dpi}",
                                                      "--message", MESSAGE, "--type", "0") as program:
                dialog = vekui.wait_window(title=f"DPI {dpi}")
                controls = dialog.controls()
                buttons = [c for c in controls if c["class"] == "Button"]
                lefts = [b["rect"][0] for b in buttons]
                # 81 wide and 101 apart at 96 DPI.
                for b in buttons:
                    self.assertAlmostEqual(b["rect"][2] - b["rect"][0], 81 * dpi / 96, delta=1)
                for a, b in zip(lefts, lefts[1:]):
                    self.assertAlmostEqual(b - a, 101 * dpi / 96, delta=1)
                for control in controls[1:]:
                    self.assertTrue(inside(controls[0]["rect"], control["rect"]), control)
                dialog.screenshot(SHOTS / f"dialogs-{dpi}dpi.png")
                dialog.click(id=1003)
                self.assertEqual(program.wait(), 3)
            with vekui.Program(DEMO, "--lang", "CN", "log", "--lines", "Ошибка|无法创建快捷方式") as program:
                log = vekui.wait_window(title=vekui.language_texts("CN")[229])
                log.screenshot(SHOTS / f"log-dialog-{dpi}dpi.png")
                log.key(vekui.VK_ESCAPE)
                self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    h.main()
