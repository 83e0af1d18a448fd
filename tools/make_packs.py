#!/usr/bin/env python3
"""Makes the pack files of an example product: one ZIP file per folder of its payload.

    make_packs.py PAYLOAD_DIR OUT_DIR
Each folder PAYLOAD_DIR/<name> becomes OUT_DIR/<name>.zip with the folder's files (deflated).
"""
import sys
import zipfile
from pathlib import Path


def main():
    payload, out = Path(sys.argv[1]), Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    for folder in sorted(p for p in payload.iterdir() if p.is_dir()):
        with zipfile.ZipFile(out / f"{folder.name}.zip", "w", zipfile.ZIP_DEFLATED) as pack:
            for file in sorted(p for p in folder.rglob("*") if p.is_file()):
                pack.write(file, file.relative_to(folder).as_posix())


if __name__ == "__main__":
    main()
