#!/usr/bin/env python3
"""The language table of setup.exe: checks src/language/veklang.tsv and turns it into the
VEKLANG resource (see docs/LANGUAGE-TABLE.md for the binary layout).

  veklang.py build --tsv veklang.tsv --out-dir DIR
      checks the table and writes DIR/veklang.bin (the resource data), DIR/veklang.rc (the
      resource script that carries it), DIR/VeklangEnglish.inc (the English column, compiled
      into the program for runs without the resource) and DIR/LanguageTextIds.h (a constant
      vek::txt::<Name> per row, so that code writes LanguageText(txt::Msg_SetupError)). Exits 1
      with one line per fault when the table is malformed, so the build stops.

  veklang.py used-ids --tsv veklang.tsv --src DIR --out FILE
      lists the text numbers that the sources ask for, one per line, for the coverage test:
      every txt::<Name> of the table wherever it stands, and the literal numbers of
      LanguageText(66) and of either branch of LanguageText(x ? 29 : 104).
"""

import argparse
import pathlib
import re
import struct
import sys
import unicodedata
import zlib

MAGIC = b"VKLT"
FORMAT_VERSION = 1
FIXED_COLUMNS = ["ID", "Name"]
DEFAULT_CODE = "UK"
MAX_NAME_CHARS = 40
MAX_TEXT_CHARS = 255
INT32_RANGE = (-(2**31), 2**31 - 1)

# What the program's formatter fills: %s, %d, %x with an optional "-" or "0" flag and a width.
PLACEHOLDER = re.compile(r"%%|%[-0]?[0-9]*[sdx]")
NAME_PATTERN = re.compile(r"[A-Za-z][A-Za-z0-9_]*")
CODE_PATTERN = re.compile(r"[A-Z]{2,15}")


# The Name becomes a C++ identifier in LanguageTextIds.h, so it may be none of these. The
# alternative tokens ("and", "not", ...) count: the compiler reads them as operators.
CXX_KEYWORDS = frozenset("""
    alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t
    char32_t class compl concept const consteval constexpr constinit const_cast continue
    co_await co_return co_yield decltype default delete do double dynamic_cast else enum
    explicit export extern false float for friend goto if inline int long mutable namespace new
    noexcept not not_eq nullptr operator or or_eq private protected public register
    reinterpret_cast requires return short signed sizeof static static_assert static_cast struct
    switch template this thread_local throw true try typedef typeid typename union unsigned using
    virtual void volatile wchar_t while xor xor_eq
    """.split())


class TableError(Exception):
    pass


def placeholders(text):
    """The placeholders of a text in order; a "%" that starts none of them is a fault."""
    found = []
    pos = 0
    while True:
        pos = text.find("%", pos)
        if pos < 0:
            return found
        match = PLACEHOLDER.match(text, pos)
        if match is None:
            raise TableError(f'stray "%" at character {pos + 1}')
        if match.group() != "%%":
            found.append(match.group())
        pos = match.end()


def read_table(path):
    """Returns (codes, rows); rows are (id, name, [texts]) in file order."""
    faults = []
    try:
        lines = path.read_text(encoding="utf-8-sig").split("\n")
    except UnicodeDecodeError as error:
        raise TableError(f"{path}: not UTF-8 ({error.reason} at byte {error.start})") from None
    if lines and lines[-1] == "":
        lines.pop()
    if not lines:
        raise TableError(f"{path}: empty file")
    header = lines[0].rstrip("\r").split("\t")
    codes = header[len(FIXED_COLUMNS):]
    if header[: len(FIXED_COLUMNS)] != FIXED_COLUMNS:
        faults.append(f"{path}:1: the header must start with {' '.join(FIXED_COLUMNS)}")
    for code in codes:
        if not CODE_PATTERN.fullmatch(code):
            faults.append(f'{path}:1: language column "{code}" is not an upper-case code')
    if len(set(codes)) != len(codes):
        faults.append(f"{path}:1: a language column appears twice")
    if DEFAULT_CODE not in codes:
        faults.append(f"{path}:1: the default language column {DEFAULT_CODE} is missing")
    if faults:
        raise TableError("\n".join(faults))

    rows = []
    ids = {}
    names = {}
    for number, line in enumerate(lines[1:], start=2):
        where = f"{path}:{number}"
        cells = line.rstrip("\r").split("\t")
        if len(cells) != len(header):
            faults.append(f"{where}: {len(cells)} columns, the header has {len(header)}")
            continue
        row_faults = check_row(cells, codes)
        faults.extend(f"{where}: {fault}" for fault in row_faults)
        if row_faults:
            continue
        row_id, name = int(cells[0]), cells[1]
        if row_id in ids:
            faults.append(f"{where}: ID {row_id} already used on line {ids[row_id]}")
        if name.upper() in names:
            faults.append(f'{where}: Name "{name}" already used on line {names[name.upper()]}')
        ids.setdefault(row_id, number)
        names.setdefault(name.upper(), number)
        rows.append((row_id, name, cells[2:]))
    if not rows and not faults:
        faults.append(f"{path}: the table has no rows")
    if faults:
        raise TableError("\n".join(faults))
    return codes, rows


def check_row(cells, codes):
    faults = []
    if not re.fullmatch(r"-?[0-9]+", cells[0]) or not INT32_RANGE[0] <= int(cells[0]) <= INT32_RANGE[1]:
        faults.append(f'ID "{cells[0]}" is not a 32-bit integer')
    if not NAME_PATTERN.fullmatch(cells[1]) or len(cells[1]) > MAX_NAME_CHARS:
        faults.append(f'Name "{cells[1]}" must be a letter, then letters, digits or "_", '
                      f"at most {MAX_NAME_CHARS} characters")
    elif cells[1] in CXX_KEYWORDS:
        faults.append(f'Name "{cells[1]}" is a C++ keyword')
    elif "__" in cells[1]:
        # Identifiers with "__" belong to the compiler and its library.
        faults.append(f'Name "{cells[1]}" contains "__", which C++ reserves')
    texts = dict(zip(codes, cells[2:]))
    if not texts[DEFAULT_CODE]:
        faults.append(f"the {DEFAULT_CODE} text is empty")
    try:
        expected = placeholders(texts[DEFAULT_CODE])
    except TableError as error:
        return faults + [f"{DEFAULT_CODE}: {error}"]
    for code, text in texts.items():
        if len(text) > MAX_TEXT_CHARS:
            faults.append(f"{code}: {len(text)} characters, at most {MAX_TEXT_CHARS}")
        if not text:
            continue
        try:
            found = placeholders(text)
        except TableError as error:
            faults.append(f"{code}: {error}")
            continue
        if found != expected:
            faults.append(f"{code}: placeholders {' '.join(found) or 'none'}, "
                          f"{DEFAULT_CODE} has {' '.join(expected) or 'none'}")
    return faults


def packed_text(text):
    data = text.encode("utf-8")
    return struct.pack("<H", len(data)) + data


def encode(codes, rows):
    payload = bytearray()
    for code in codes:
        payload += struct.pack("<B", len(code)) + code.encode("ascii")
    for row_id, name, texts in rows:
        payload += struct.pack("<i", row_id) + packed_text(name)
        for text in texts:
            payload += packed_text(text)
    header = MAGIC + struct.pack("<HHIII", FORMAT_VERSION, len(codes), len(rows), len(payload),
                                 zlib.crc32(payload))
    return bytes(header) + bytes(payload)


def c_string(text):
    """A C++ string literal of the UTF-8 bytes; octal escapes cannot swallow the next character."""
    out = []
    for byte in text.encode("utf-8"):
        char = chr(byte)
        if char in '"\\':
            out.append("\\" + char)
        elif 0x20 <= byte < 0x7F and char != "?":
            out.append(char)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def english_include(codes, rows):
    column = codes.index(DEFAULT_CODE)
    lines = ["// Generated by tools/veklang.py from src/language/veklang.tsv: do not edit."]
    for row_id, _name, texts in sorted(rows, key=lambda row: row[0]):
        lines.append(f"{{{row_id}, {c_string(texts[column])}}},")
    return "\n".join(lines) + "\n"


def comment_text(text):
    """A text quoted for a // comment, escaped like a C++ string literal. Line breaks (a lone
    CR ends a line too), other control characters and Unicode format characters such as the
    bidirectional overrides are written as escapes: in the header they would end the comment
    early, or make the compiler warn (-Wbidi-chars) and so stop the build."""
    out = []
    for char in text:
        if char in '"\\':
            out.append("\\" + char)
        elif char == " " or not unicodedata.category(char).startswith(("C", "Z")):
            out.append(char)
        elif ord(char) <= 0xFFFF:
            out.append(f"\\u{ord(char):04X}")
        else:
            out.append(f"\\U{ord(char):08X}")
    return '"' + "".join(out) + '"'


def ids_header(codes, rows):
    column = codes.index(DEFAULT_CODE)
    lines = [
        "#pragma once",
        "// Generated by tools/veklang.py from src/language/veklang.tsv: do not edit.",
        "// The number of every row of the language table under the row's Name, for",
        "// LanguageText(txt::Name); the comment is the English text.",
        "",
        "namespace vek::txt {",
        "",
    ]
    for row_id, name, texts in sorted(rows, key=lambda row: row[0]):
        lines.append(f"inline constexpr int {name} = {row_id};  // {comment_text(texts[column])}")
    lines += ["", "}  // namespace vek::txt"]
    return "\n".join(lines) + "\n"


def write_if_changed(path, data):
    if path.exists() and path.read_bytes() == data:
        path.touch()  # still newer than the table, so the build does not run this again
        return
    path.write_bytes(data)


def build(args):
    try:
        codes, rows = read_table(pathlib.Path(args.tsv))
    except TableError as error:
        print(error, file=sys.stderr)
        return 1
    out = pathlib.Path(args.out_dir)
    out.mkdir(parents=True, exist_ok=True)
    write_if_changed(out / "veklang.bin", encode(codes, rows))
    write_if_changed(out / "VeklangEnglish.inc", english_include(codes, rows).encode("utf-8"))
    write_if_changed(out / "LanguageTextIds.h", ids_header(codes, rows).encode("utf-8"))
    # Rewritten on every run: its new time stamp makes the resource compiler read the new data.
    (out / "veklang.rc").write_text('VEKLANG RCDATA "veklang.bin"\n', encoding="ascii")
    return 0


CALL = re.compile(r"\bLanguageText\(([^()]*)\)")
# A row asked for by name: LanguageText(txt::Msg_Error), either branch of a conditional, or a
# number kept in a variable or a list of button texts first. Any mention counts as a use.
NAME_USE = re.compile(r"\btxt::([A-Za-z][A-Za-z0-9_]*)\b")


def used_ids(args):
    try:
        _codes, rows = read_table(pathlib.Path(args.tsv))
    except TableError as error:
        print(error, file=sys.stderr)
        return 1
    id_of = {name: row_id for row_id, name, _texts in rows}
    found = set()
    unknown = set()
    for path in sorted(pathlib.Path(args.src).rglob("*")):
        if path.suffix not in (".cpp", ".h") or not path.is_file():
            continue
        source = path.read_text(encoding="utf-8", errors="replace")
        for argument in CALL.findall(source):
            # A literal argument, or the literal branches of a conditional.
            for part in re.split(r"[?:]", argument):
                if re.fullmatch(r"\s*[0-9]+\s*", part):
                    found.add(int(part))
        for name in NAME_USE.findall(source):
            if name in id_of:
                found.add(id_of[name])
            else:
                unknown.add(f"{path}: txt::{name}")
    # A name without a row does not compile where it is used; here it is only reported, as it
    # may stand in a comment.
    for line in sorted(unknown):
        print(f"{line} is not a Name of the language table", file=sys.stderr)
    text = "".join(f"{number}\n" for number in sorted(found))
    write_if_changed(pathlib.Path(args.out), text.encode("ascii"))
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    build_cmd = commands.add_parser("build")
    build_cmd.add_argument("--tsv", required=True)
    build_cmd.add_argument("--out-dir", required=True)
    build_cmd.set_defaults(run=build)
    used_cmd = commands.add_parser("used-ids")
    used_cmd.add_argument("--tsv", required=True)
    used_cmd.add_argument("--src", required=True)
    used_cmd.add_argument("--out", required=True)
    used_cmd.set_defaults(run=used_ids)
    args = parser.parse_args()
    return args.run(args)


if __name__ == "__main__":
    sys.exit(main())
