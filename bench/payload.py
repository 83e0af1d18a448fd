#!/usr/bin/env python3
"""The installer benchmark's payload, the same bytes on every machine for the same arguments.

  payload.py KIND ROOT      (KIND: standard, small-files or large-file)

Writes the files under ROOT/payload, their concatenation in ROOT/blob.bin (what the floor
program writes back out) and ROOT/manifest.tsv with one line per file in blob order:
size, SHA-256 and the name relative to the payload with `/` between folders. Half of the bytes
are text (words on lines, which deflate shrinks to about a third) and half random bytes, which
stay as they are.
"""
import hashlib
import os
import random
import sys

MIB = 1024 * 1024
CHUNK = 16 * MIB


def layout(kind, rng):
    """(name, size, is_text) for every file of the kind, in blob order."""
    if kind == 'large-file':
        return [('big/large.bin', 4096 * MIB, None)]
    if kind == 'small-files':
        count, sizes = 30000, [4096] * 30000
    else:
        # 3,030 files, sizes spread from a few bytes to a few megabytes, scaled so that the
        # text half and the random half hold 75 MiB each.
        count = 3030
        weights = [rng.lognormvariate(0, 1.2) for _ in range(count)]
        sizes = []
        for parity in (0, 1):
            half = [w for i, w in enumerate(weights) if i % 2 == parity]
            scale = 75 * MIB / sum(half)
            scaled = [max(1, int(w * scale)) for w in half]
            scaled[-1] += 75 * MIB - sum(scaled)
            sizes.append(scaled)
        sizes = [sizes[i % 2][i // 2] for i in range(count)]
    files = []
    for i, size in enumerate(sizes):
        text = i % 2 == 0
        name = f'group{i % 40:02d}/sub{i % 7}/{"text" if text else "data"}{i:05d}.{"txt" if text else "bin"}'
        files.append((name, size, text))
    return files


class Text:
    """Endless lines of words, drawn from a fixed pool of lines."""

    def __init__(self, rng):
        letters = 'abcdefghijklmnopqrstuvwxyz'
        words = [''.join(rng.choice(letters) for _ in range(rng.randint(2, 10))) for _ in range(5000)]
        self.lines = [(' '.join(rng.choices(words, k=rng.randint(4, 14))) + '\r\n').encode()
                      for _ in range(20000)]
        self.rng = rng

    def bytes(self, size):
        out, length = [], 0
        while length < size:
            batch = self.rng.choices(self.lines, k=256)
            out.extend(batch)
            length += sum(map(len, batch))
        return b''.join(out)[:size]


def chunks(size, text, source, rng):
    """The file's bytes in pieces of at most CHUNK; the large file alternates text and random."""
    done = 0
    while done < size:
        n = min(CHUNK, size - done)
        as_text = text if text is not None else (done // CHUNK) % 2 == 0
        yield source.bytes(n) if as_text else rng.randbytes(n)
        done += n


def main():
    kind, root = sys.argv[1], sys.argv[2]
    rng = random.Random(14)
    source = Text(rng)
    payload = os.path.join(root, 'payload')
    with open(os.path.join(root, 'blob.bin'), 'wb') as blob, \
         open(os.path.join(root, 'manifest.tsv'), 'w', encoding='utf-8', newline='\n') as manifest:
        for name, size, text in layout(kind, rng):
            path = os.path.join(payload, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            digest = hashlib.sha256()
            with open(path, 'wb') as out:
                for piece in chunks(size, text, source, rng):
                    out.write(piece)
                    blob.write(piece)
                    digest.update(piece)
            manifest.write(f'{size}\t{digest.hexdigest()}\t{name}\n')


if __name__ == '__main__':
    main()
