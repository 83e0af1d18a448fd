#!/usr/bin/env python3
"""The README's command-line table and exit-code table against the program's /? text: the rows of
src/app/HelpText.cpp with their English texts from src/language/veklang.tsv, and the exit codes
of src/app/ExitCode.h with the help's last line.

    readme_switches.py [SOURCE_DIR]        (default: the project folder of this file)
"""
import re
import sys
from pathlib import Path


def table_after(readme: str, heading: str) -> list:
    """The rows (lists of cells) of the first table after the heading line."""
    at = readme.index(heading + "\n")
    rows = []
    for line in readme[at:].splitlines()[1:]:
        if line.startswith("|"):
            rows.append([cell.strip() for cell in line.strip("|").split("|")])
        elif rows:
            break
    return rows[2:]  # without the header and its rule


def main() -> int:
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
    readme = (root / "README.md").read_text(encoding="utf-8")
    english = {}
    for line in (root / "src/language/veklang.tsv").read_text(encoding="utf-8").splitlines()[1:]:
        cells = line.split("\t")
        english[cells[1]] = cells[2]
    source = (root / "src/app/HelpText.cpp").read_text(encoding="utf-8")
    help_rows = [[f"`{switches}`", english[name]]
                 for switches, name in re.findall(r'THelpRow\{"([^"]*)", txt::(\w+)\}', source)]
    faults = []
    switches = table_after(readme, "## Command line")
    if switches != help_rows:
        faults.append("README's command-line table differs from the /? rows:")
        faults += [f"  README {a}\n  help   {b}" for a, b in zip(switches, help_rows) if a != b]
        if len(switches) != len(help_rows):
            faults.append(f"  {len(switches)} README rows, {len(help_rows)} help rows")
    codes = table_after(readme, "### Exit codes")
    line = "Exit codes: " + "; ".join(f"{code} {meaning}" for code, meaning in codes) + "."
    if line != english["Help_ExitCodes"]:
        faults.append(f"README's exit codes read {line!r}; the help says {english['Help_ExitCodes']!r}")
    defined = sorted(int(v) for v in re.findall(r"inline constexpr int kExit\w+ = (\d+);",
                                                 (root / "src/app/ExitCode.h").read_text(encoding="utf-8")))
    if sorted(int(code) for code, _ in codes) != defined:
        faults.append(f"README's exit codes {[c for c, _ in codes]} are not the program's {defined}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
