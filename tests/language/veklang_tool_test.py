#!/usr/bin/env python3
"""tools/veklang.py: the table checks that stop the build, the header of the rows' names as the
compiler sees it, and the numbers that used-ids finds in the sources.

VEK_CXX names the C++ compiler of the build (the header is compiled with the build's warnings);
without it the compiler on the path is used.
"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOL = pathlib.Path(__file__).resolve().parents[2] / "tools" / "veklang.py"
HEADER = "ID\tName\tUK\tDE\n"


def run_tool(*args):
    return subprocess.run([sys.executable, str(TOOL), *args], capture_output=True, text=True, check=False)


class TempDir(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory()
        self.dir = pathlib.Path(self._dir.name)

    def tearDown(self):
        self._dir.cleanup()

    def write_table(self, lines):
        path = self.dir / "veklang.tsv"
        path.write_bytes((HEADER + "".join(line + "\n" for line in lines)).encode("utf-8"))
        return path


class TableCheck(TempDir):
    """Each case is a table of two rows; a fault must stop the build and name the line."""

    CASES = [
        # what, second row, fault expected on line 3 (None: the table is accepted)
        ("plain name", "2\tMsg_Error\tError\tFehler", None),
        ("keyword in another case", "2\tClass\tx\t", None),
        ("keyword inside a name", "2\tMsg_class\tx\t", None),
        ("keyword", "2\tclass\tx\t", 'Name "class" is a C++ keyword'),
        ("alternative operator token", "2\tnot\tx\t", 'Name "not" is a C++ keyword'),
        ("C++20 keyword", "2\tco_await\tx\t", 'Name "co_await" is a C++ keyword'),
        ("reserved double underscore", "2\tMsg__Error\tx\t", 'contains "__"'),
        ("same name", "2\tcontr_Next\tx\t", 'Name "contr_Next" already used on line 2'),
        ("same name in another case", "2\tCONTR_NEXT\tx\t", 'Name "CONTR_NEXT" already used on line 2'),
        ("leading digit", "2\t2nd\tx\t", 'Name "2nd" must be a letter'),
        ("leading underscore", "2\t_Msg\tx\t", 'Name "_Msg" must be a letter'),
        ("non-ASCII letter", "2\tMsg_Fehlermeldung_ä\tx\t", "must be a letter"),
        ("same ID", "1\tMsg_Other\tx\t", "ID 1 already used on line 2"),
        ("line break inside a text", "2\tMsg_Error\tfirst\rsecond\t", "3 columns, the header has 4"),
    ]

    def test_names_and_ids(self):
        for what, row, fault in self.CASES:
            with self.subTest(what):
                table = self.write_table(["1\tcontr_Next\t&Next >\t&Weiter >", row])
                out = self.dir / "out"
                result = run_tool("build", "--tsv", str(table), "--out-dir", str(out))
                if fault is None:
                    self.assertEqual(result.returncode, 0, result.stderr)
                    self.assertTrue((out / "LanguageTextIds.h").is_file())
                else:
                    self.assertEqual(result.returncode, 1)
                    self.assertIn(f"{table}:3: ", result.stderr)
                    self.assertIn(fault, result.stderr)
                    self.assertFalse(out.exists(), "nothing is generated from a faulty table")
                shutil.rmtree(out, ignore_errors=True)

    def test_not_utf8_is_a_fault_not_a_crash(self):
        table = self.dir / "veklang.tsv"
        table.write_bytes(HEADER.encode() + b"1\tMsg_Error\tError \xff\t\n")
        result = run_tool("build", "--tsv", str(table), "--out-dir", str(self.dir / "out"))
        self.assertEqual(result.returncode, 1)
        self.assertIn("not UTF-8", result.stderr)
        self.assertNotIn("Traceback", result.stderr)


class IdsHeader(TempDir):
    """The English text stands beside each number as a comment. Whatever the text holds, the
    comment must end where its line ends and must not make the compiler warn."""

    TEXTS = [
        ("Plain", 1, "Not enough memory."),
        ("Quotes", 2, 'Error: Can not find "%s"  !!!'),
        ("BackslashInside", 3, "C:\\Program Files\\%s"),
        ("BackslashAtTheEnd", 4, "C:\\"),
        ("Tab", 5, "escaped\\tby hand"),
        ("FormFeedAndVerticalTab", 6, "a\fb\vc"),
        # Line ends to Unicode, not to the table's reader nor to the compiler.
        ("NextLineAndLineSeparator", 7, "a\u0085b\u2028c\u2029d"),
        ("BidiOverride", 8, "abc \u202edef\u2066 ghi"),
        ("CommentMarks", 9, "Text files (*.txt)|*.txt /* not a comment */ // nor this"),
        ("TrigraphAtTheEnd", 10, "What??/"),
        ("NonAscii", 11, "Übersicht – 概要 \U0001F600"),
        ("Negative", -5, "minus"),
        ("Smallest", -2147483648, "the smallest ID"),
        ("Largest", 2147483647, "the largest ID"),
    ]

    def compiler(self):
        compiler = os.environ.get("VEK_CXX") or shutil.which("c++")
        if not compiler:
            self.skipTest("no C++ compiler")
        return compiler

    def test_header_compiles_with_the_build_warnings_and_gives_every_number(self):
        table = self.write_table(f"{number}\t{name}\t{text}\t" for name, number, text in self.TEXTS)
        out = self.dir / "language"
        result = run_tool("build", "--tsv", str(table), "--out-dir", str(out))
        self.assertEqual(result.returncode, 0, result.stderr)
        header = (out / "LanguageTextIds.h").read_text(encoding="utf-8")
        # One line per row: no text may start a line of its own.
        self.assertEqual(sum(line.startswith("inline constexpr int ") for line in header.splitlines()),
                         len(self.TEXTS))
        self.assertIn('inline constexpr int Quotes = 2;  // "Error: Can not find \\"%s\\"  !!!"', header)
        self.assertIn('Übersicht – 概要', header)
        probe = self.dir / "probe.cpp"
        probe.write_text(
            '#include "language/LanguageTextIds.h"\n'
            '#include "language/LanguageTextIds.h"\n'  # included twice: #pragma once
            + "".join(f"static_assert(vek::txt::{name} == {number});\n"
                      for name, number, _text in self.TEXTS),
            encoding="utf-8")
        flags = ["-std=c++20", "-fsyntax-only", "-Wall", "-Wextra", "-Wpedantic", "-Wshadow", "-Wundef",
                 "-Werror", f"-I{self.dir}"]
        compiled = subprocess.run([self.compiler(), *flags, str(probe)], capture_output=True, text=True,
                                  check=False)
        self.assertEqual(compiled.returncode, 0, compiled.stderr)

    def test_sorted_by_number_and_unchanged_output_is_not_rewritten(self):
        table = self.write_table(["27\tDeftCust_3\tCustom\t", "16\tcontr_Default\t&Default\t"])
        out = self.dir / "language"
        self.assertEqual(run_tool("build", "--tsv", str(table), "--out-dir", str(out)).returncode, 0)
        header = out / "LanguageTextIds.h"
        lines = [line for line in header.read_text().splitlines() if line.startswith("inline")]
        self.assertEqual(lines, ['inline constexpr int contr_Default = 16;  // "&Default"',
                                 'inline constexpr int DeftCust_3 = 27;  // "Custom"'])
        # The same table again: same bytes, so nothing that includes the header is recompiled
        # for a change elsewhere.
        before = header.read_bytes()
        os.utime(header, (0, 0))
        self.assertEqual(run_tool("build", "--tsv", str(table), "--out-dir", str(out)).returncode, 0)
        self.assertEqual(header.read_bytes(), before)


class UsedIds(TempDir):
    SOURCES = {
        "app/Startup.cpp": 'MessageOk(LanguageText(109), FormatText(LanguageText(66), {path}), mtError);\n'
                           "LanguageText(nt ? 226 : 224);\n",
        "engine/Run.cpp": "fInfo = LanguageText(txt::Alpha);\n"
                          "LanguageText(fMode == rmCleanUp ? txt::Beta : txt::Gamma);\n"
                          "FormatText(LanguageText(vek::txt::Delta), {SystemName()});\n",
        "ui/Buttons.h": "constexpr int kButtons[] = {txt::Epsilon, txt::Zeta};\n",
        "ui/Other.cpp": "// LanguageText(int aId) asks by number; txt::Unknown is no row,\n"
                        "// txt::alpha has the wrong case and mytxt::Eta is another namespace.\n",
        "notes.txt": "txt::Eta LanguageText(5)\n",
    }
    TABLE = ["1\tAlpha\ta\t", "2\tBeta\tb\t", "3\tGamma\tc\t", "4\tDelta\td\t", "5\tEpsilon\te\t",
             "6\tZeta\tf\t", "7\tEta\tg\t"]

    def test_numbers_and_names_of_the_sources(self):
        table = self.write_table(self.TABLE)
        src = self.dir / "src"
        for name, text in self.SOURCES.items():
            (src / name).parent.mkdir(parents=True, exist_ok=True)
            (src / name).write_text(text, encoding="utf-8")
        out = self.dir / "used-ids.txt"
        result = run_tool("used-ids", "--tsv", str(table), "--src", str(src), "--out", str(out))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(out.read_text().split(), ["1", "2", "3", "4", "5", "6", "66", "109", "224", "226"])
        self.assertIn("txt::Unknown is not a Name", result.stderr)


if __name__ == "__main__":
    unittest.main()
