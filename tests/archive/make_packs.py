#!/usr/bin/env python3
"""Makes the packs the archive tests read, with real writers: Python's zipfile always, Info-ZIP
zip and 7-Zip when they are installed. Each pack X.zip gets a manifest X.zip.txt with one line
per entry, "kind<TAB>size<TAB>crc<TAB>dos<TAB>name" (kind f or d, crc in hex, dos the DOS date
and time in hex or "-" when the writer chose it), and packs.txt lists the packs made.

usage: make_packs.py OUTPUT_FOLDER
"""
import io
import os
import random
import shutil
import subprocess
import sys
import zipfile
import zlib

OUT = sys.argv[1]
RANDOM = random.Random(20240611)
WHEN = (2003, 4, 5, 6, 7, 8)


def dos(when):
    year, month, day, hour, minute, second = when
    return ((year - 1980) << 25) | (month << 21) | (day << 16) | (hour << 11) | (minute << 5) | (second // 2)


def text(lines):
    return ''.join(f'line {i}: the quick brown fox jumps over the lazy dog\n' for i in range(lines)).encode()


def noise(size):
    return RANDOM.randbytes(size)


# name, data (None for a folder), compression
CONTENT = [
    ('readme.txt', text(200), zipfile.ZIP_DEFLATED),
    ('stored.bin', noise(5000), zipfile.ZIP_STORED),
    ('empty.txt', b'', zipfile.ZIP_DEFLATED),
    ('empty-stored.txt', b'', zipfile.ZIP_STORED),
    ('bin/', None, zipfile.ZIP_STORED),
    ('bin/tool.dat', noise(300000), zipfile.ZIP_DEFLATED),
    ('bin/deep/deeper/notes.txt', text(3000), zipfile.ZIP_DEFLATED),
    ('ünïcødé/grüße €.txt', 'Grüße'.encode(), zipfile.ZIP_DEFLATED),
]


class Manifest:
    def __init__(self, pack):
        self.pack = pack
        self.lines = []

    def add(self, name, data, when):
        stamp = f'{dos(when):08x}' if when else '-'
        if data is None:
            self.lines.append(f'd\t0\t0\t{stamp}\t{name}')
        else:
            self.lines.append(f'f\t{len(data)}\t{zlib.crc32(data):08x}\t{stamp}\t{name}')

    def write(self):
        with open(os.path.join(OUT, self.pack + '.txt'), 'w', encoding='utf-8', newline='\n') as f:
            f.write(''.join(line + '\n' for line in self.lines))
        made.append(self.pack)


made = []


def add_entries(archive, manifest, zip64=False):
    for name, data, method in CONTENT:
        info = zipfile.ZipInfo(name, date_time=WHEN)
        info.compress_type = method
        if data is None:
            info.external_attr = 0o40755 << 16 | 0x10
            archive.writestr(info, b'')
        else:
            with archive.open(info, 'w', force_zip64=zip64) as f:
                f.write(data)
        manifest.add(name, data, WHEN)


def python_pack(pack, comment=b'', zip64=False, stream=False):
    manifest = Manifest(pack)
    buffer = io.BytesIO()

    class Unseekable(io.RawIOBase):
        def writable(self):
            return True

        def write(self, b):
            return buffer.write(b)

    target = Unseekable() if stream else buffer
    with zipfile.ZipFile(target, 'w') as archive:
        add_entries(archive, manifest, zip64)
        archive.comment = comment
    with open(os.path.join(OUT, pack), 'wb') as f:
        f.write(buffer.getvalue())
    manifest.write()


def make_tree(root):
    """A small product tree on disk for the external archivers (ASCII names: Info-ZIP on Linux
    stores names in the locale's bytes without marking them, which readers take as code page 437)."""
    shutil.rmtree(root, ignore_errors=True)
    files = {
        'setup.txt': text(500),
        'data/random.bin': noise(200000),
        'data/empty.dat': b'',
        'data/sub/more.txt': text(50),
        'docs/manual.txt': text(4000),
    }
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
    os.makedirs(os.path.join(root, 'logs'))  # an empty folder
    return files


def tool_pack(pack, command, root, files, folders=True):
    path = os.path.join(OUT, pack)
    if os.path.exists(path):
        os.remove(path)
    subprocess.run(command(path), cwd=root, check=True, stdout=subprocess.DEVNULL,
                   env=dict(os.environ, LC_ALL='C.UTF-8'))
    manifest = Manifest(pack)
    for name, data in sorted(files.items()):
        manifest.add(name, data, None)
    if folders:
        for folder in ('data/', 'data/sub/', 'docs/', 'logs/'):
            manifest.add(folder, None, None)
    manifest.write()


def main():
    os.makedirs(OUT, exist_ok=True)
    python_pack('python.zip')
    python_pack('python-comment.zip', comment=b'This pack ends in a comment. PK\x05\x06 is no record here.')
    python_pack('python-zip64.zip', zip64=True)
    python_pack('python-stream.zip', stream=True)

    root = os.path.join(OUT, 'tree')
    files = make_tree(root)
    if shutil.which('zip'):
        tool_pack('infozip.zip', lambda p: ['zip', '-q', '-r', '-X', p, '.'], root, files)
        tool_pack('infozip-stored.zip', lambda p: ['zip', '-q', '-r', '-0', p, '.'], root, files)
        tool_pack('infozip-zip64.zip', lambda p: ['zip', '-q', '-r', '-fz', p, '.'], root, files)
        # Written to a pipe: sizes follow the data in descriptors.
        tool_pack('infozip-stream.zip', lambda p: ['sh', '-c', f'zip -q -r - . | cat > "{p}"'], root, files)
    if shutil.which('7z'):
        tool_pack('7z.zip', lambda p: ['7z', 'a', '-tzip', '-bd', p, '.'], root, files)
        tool_pack('7z-stored.zip', lambda p: ['7z', 'a', '-tzip', '-mx0', '-bd', p, '.'], root, files)
        # A method the reader does not offer; kept out of packs.txt, read by its own test.
        tool_pack('7z-deflate64.zip', lambda p: ['7z', 'a', '-tzip', '-mm=Deflate64', '-bd', p, '.'], root, files)
        made.remove('7z-deflate64.zip')
    shutil.rmtree(root)
    with open(os.path.join(OUT, 'packs.txt'), 'w', newline='\n') as f:
        f.write(''.join(pack + '\n' for pack in made))


main()
