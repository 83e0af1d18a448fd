#!/usr/bin/env python3
"""The README shows the example product's script in full: the ```ini block under "## Writing a
setup script" must be examples/notes/setup.ini byte for byte, apart from line ends. A reader
copies that block into a script of their own, so it must be a script that works as shown.

    readme_example.py [SOURCE_DIR]        (default: the project folder of this file)
"""
import difflib
import sys
from pathlib import Path

HEADING = b"## Writing a setup script\n"
FENCE_OPEN = b"```ini\n"
FENCE_CLOSE = b"```\n"


def unify_line_ends(data: bytes) -> bytes:
    return data.replace(b"\r\n", b"\n")


def example_block(readme: bytes) -> bytes:
    """The first ```ini block of the section; an error names what is missing."""
    at = readme.find(HEADING)
    if at < 0:
        raise SystemExit(f"README.md has no line {HEADING.decode().strip()!r}")
    section = readme[at + len(HEADING):]
    next_heading = section.find(b"\n## ")
    if next_heading >= 0:
        section = section[:next_heading + 1]
    start = section.find(b"\n" + FENCE_OPEN)
    if start < 0:
        raise SystemExit("README.md: no ```ini block under " + HEADING.decode().strip())
    start += 1 + len(FENCE_OPEN)
    end = section.find(b"\n" + FENCE_CLOSE, start - 1)
    if end < 0:
        raise SystemExit("README.md: the ```ini block under " + HEADING.decode().strip() + " is not closed")
    return section[start:end + 1]


def main() -> int:
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
    shown = example_block(unify_line_ends((root / "README.md").read_bytes()))
    example = unify_line_ends((root / "examples" / "notes" / "setup.ini").read_bytes())
    if shown == example:
        print("README.md shows examples/notes/setup.ini as it is")
        return 0
    diff = difflib.unified_diff(example.decode("utf-8", "replace").splitlines(keepends=True),
                                shown.decode("utf-8", "replace").splitlines(keepends=True),
                                "examples/notes/setup.ini", "README.md (## Writing a setup script)")
    sys.stdout.writelines(diff)
    if example.decode("utf-8", "replace").splitlines() == shown.decode("utf-8", "replace").splitlines():
        print("(the two differ only in the line end of the last line)")
    return 1


if __name__ == "__main__":
    sys.exit(main())
