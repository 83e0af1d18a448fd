"""The wizard at 96, 144 and 192 DPI in the languages whose texts are the longest (RU) or need
other fonts (CN), and in English at 96 DPI: an install of the example product through every
page, and on each page every control inside the window, no two overlapping, and every text
whole. The test changes the screen resolution of its prefix, so it has a prefix of its own
(the one the dialogs' DPI test uses; the two never run at once)."""
import shutil

import vekharness as h
import vekui as ui
# The example product's distribution with info pages and an agreement, and the wizard's
# control ids, as the wizard's own tests have them.
from test_wizard import (CONFIRM_LIST, CUSTOM_BTN, IDCANCEL, INST_UPD_LABEL, INSTALL_RADIO, LICENS_MEMO, NEXT, OK,
                         OPT_CHANGE, OPT_LIST, RICH_INFO, WHERETO_EDIT, YES, WizardCase, wait_visible,
                         with_info_pages_and_agreement)

SHOTS = h.BUILD_DIR / "screenshots"
RUNS = ((96, "UK"), (96, "RU"), (96, "CN"), (144, "RU"), (144, "CN"), (192, "RU"), (192, "CN"))

BS_TYPEMASK, BS_GROUPBOX = 0x0F, 0x07


def inside(outer: list, inner: list) -> bool:
    return outer[0] <= inner[0] and inner[2] <= outer[2] and outer[1] <= inner[1] and inner[3] <= outer[3]


def overlap(a: list, b: list) -> bool:
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def is_group_box(control: dict) -> bool:
    return control["class"] == "Button" and control["style"] & BS_TYPEMASK == BS_GROUPBOX


def name(control: dict) -> str:
    return f"{control['class']} {control['id']} {control['text'][:40]!r} {control['rect']}"


def layout_faults(window: ui.Window) -> list:
    """What is wrong with the layout of the window as it shows now: the window beyond the
    screen's work area, controls outside its client area, controls on top of each other, texts that do not fit."""
    top, *controls = window.controls()
    shown = [c for c in controls if c["visible"]]
    by_hwnd = {c["hwnd"]: c for c in controls}

    def ancestors(control: dict):
        parent = by_hwnd.get(control["parent"])
        while parent:
            yield parent["hwnd"]
            parent = by_hwnd.get(parent["parent"])

    faults = [] if inside(ui.screen()["work"], top["rect"]) else [f"off the screen: {name(top)}"]
    faults += [f"outside the window: {name(c)}" for c in shown if not inside(top["client"], c["rect"])]
    for i, a in enumerate(shown):
        for b in shown[i + 1:]:
            # A page panel holds its controls, and a group box frames the controls inside it.
            nested = a["hwnd"] in ancestors(b) or b["hwnd"] in ancestors(a)
            framed = (is_group_box(a) and inside(a["rect"], b["rect"])) or (is_group_box(b) and inside(b["rect"], a["rect"]))
            if overlap(a["rect"], b["rect"]) and not nested and not framed:
                faults.append(f"overlap: {name(a)} and {name(b)}")
    faults += [f"text cut: {f['class']} {f['id']} {f['text'][:40]!r} needs {f['need']}, has {f['room']}"
               for f in window.fits() if not f["fits"]]
    return faults


class WizardAtHighDpi(WizardCase):
    def setUp(self):
        super().setUp()
        self.addCleanup(ui.stop_prefix)
        self.addCleanup(ui.set_dpi, 96)

    def assert_cut_texts_are_found(self, w: ui.Window) -> None:
        """The measurement sees a text that does not fit: a caption too long for its button or
        its radio button, and a label wrapped onto more lines than it has room for."""
        cases = ((NEXT, "Next " * 8), (INSTALL_RADIO, "Install " * 20), (INST_UPD_LABEL, "A line\r\n" * 12))
        before = {id: w.control(id=id)["text"] for id, _ in cases}
        try:
            for id, text in cases:
                w.set_text(text, id=id)
            cut = {f["id"] for f in w.fits() if not f["fits"]}
            self.assertEqual(cut, {id for id, _ in cases})
        finally:
            for id, text in before.items():
                w.set_text(text, id=id)
        self.assertEqual([f for f in w.fits() if not f["fits"]], [])

    def install(self, dpi: int, language: str) -> list:
        """Goes through every page of an install; each page's layout faults, with its name."""
        folder = SHOTS / f"dpi{dpi}" / language
        shutil.rmtree(folder, ignore_errors=True)
        dist = self.make_dist(f"dpi{dpi}_{language.lower()}", with_info_pages_and_agreement)
        program = ui.Program(dist.program, "/s:", f"/LANG:{language}")
        self.addCleanup(program.kill)
        w = ui.wait_window(title_has="Vek", timeout=60)
        faults = []
        pages = []

        def check(page: str, window: ui.Window = w) -> None:
            pages.append(page)
            window.screenshot(folder / f"{len(pages):02}-{page}.png")
            faults.extend(f"{page}: {fault}" for fault in layout_faults(window))

        def then(button: int, control: int = None, text: str = None) -> None:
            w.click(id=button)
            if control is not None:
                wait_visible(w, control, timeout=120)
            if text is not None and not h.wait_for(lambda: text in w.control(id=RICH_INFO)["text"], timeout=30):
                raise AssertionError(f"{text!r} not shown")

        wait_visible(w, INSTALL_RADIO)
        check("welcome")
        if (dpi, language) == RUNS[0]:
            self.assert_cut_texts_are_found(w)
        then(NEXT, RICH_INFO, "Close your notes.")
        check("start-info")
        then(NEXT, RICH_INFO, "Second start page")
        then(NEXT, LICENS_MEMO)
        check("agreement")
        then(YES, WHERETO_EDIT)
        check("location")
        then(NEXT, CUSTOM_BTN)
        check("default-or-custom")
        then(CUSTOM_BTN, OPT_LIST)
        check("options")
        w.click(id=OPT_CHANGE)
        form = ui.wait_other_window(w)
        check("sub-options", form)
        form.click(id=IDCANCEL)
        self.assertTrue(h.wait_for(lambda: not form.exists(), timeout=30), "the sub-option form stays")
        then(NEXT, CONFIRM_LIST)
        check("confirm")
        then(NEXT, RICH_INFO, "Vek Notes is ready.")
        check("final-info")
        then(NEXT, OK)
        check("finish")
        w.click(id=OK)
        self.assertEqual(program.wait(60), 0)
        return faults

    def test_every_page_fits_at_every_resolution_and_language(self):
        dpi_now = None
        for dpi, language in RUNS:
            if dpi != dpi_now:
                ui.set_dpi(dpi)
                ui.stop_prefix()  # the resolution takes effect when the prefix starts again
                dpi_now = dpi
                self.assertEqual(ui.screen()["dpi"], dpi)
            with self.subTest(dpi=dpi, language=language):
                faults = self.install(dpi, language)
                self.assertEqual(faults, [], "\n".join(faults))


if __name__ == "__main__":
    h.main()
