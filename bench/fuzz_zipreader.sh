#!/usr/bin/env bash
# Runs the archive reader's fuzzer on a seed corpus of small real packs written by Python's
# zipfile, Info-ZIP zip and 7-Zip.
#   bench/fuzz_zipreader.sh [seconds] [build folder]     (defaults: 600, build/fuzz)
# Findings (crash-*, timeout-*, oom-*) land in <build folder>/fuzz-zipreader/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build/fuzz}
work=$build/fuzz-zipreader
seeds=$work/seeds
corpus=$work/corpus

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target fuzz_zipreader

rm -rf "$seeds" && mkdir -p "$seeds" "$corpus"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/dir/sub" "$tree/empty-folder"
printf 'hello hello hello hello\n' >"$tree/a.txt"
: >"$tree/dir/empty.dat"
head -c 300 /dev/urandom >"$tree/dir/sub/noise.bin"
seq 1 200 >"$tree/dir/numbers.txt"
(
  cd "$tree"
  zip -q -r -X "$OLDPWD/$seeds/infozip.zip" .
  zip -q -r -0 "$OLDPWD/$seeds/infozip-stored.zip" .
  zip -q -r -fz "$OLDPWD/$seeds/infozip-zip64.zip" .
  zip -q -r - . | cat >"$OLDPWD/$seeds/infozip-stream.zip"
  7z a -tzip -bd "$OLDPWD/$seeds/7z.zip" . >/dev/null
  7z a -tzip -mx0 -bd "$OLDPWD/$seeds/7z-stored.zip" . >/dev/null
  7z a -tzip -mm=Deflate64 -bd "$OLDPWD/$seeds/7z-deflate64.zip" . >/dev/null
)
python3 - "$tree" "$seeds" <<'PY'
import io, os, sys, zipfile
tree, seeds = sys.argv[1], sys.argv[2]
files = []
for root, dirs, names in os.walk(tree):
    for name in names:
        path = os.path.join(root, name)
        files.append((os.path.relpath(path, tree), open(path, 'rb').read()))

class Unseekable(io.RawIOBase):
    def __init__(self, out): self.out = out
    def writable(self): return True
    def write(self, b): return self.out.write(b)

def pack(name, method=zipfile.ZIP_DEFLATED, zip64=False, stream=False, comment=b''):
    out = io.BytesIO()
    with zipfile.ZipFile(Unseekable(out) if stream else out, 'w', method) as z:
        for arcname, data in files:
            with z.open(zipfile.ZipInfo(arcname, (2001, 2, 3, 4, 5, 6)), 'w', force_zip64=zip64) as f:
                f.write(data)
        z.writestr('ünïcødé/ß.txt', 'utf-8 name')
        z.comment = comment
    open(os.path.join(seeds, name), 'wb').write(out.getvalue())

pack('python.zip')
pack('python-stored.zip', zipfile.ZIP_STORED)
pack('python-zip64.zip', zip64=True)
pack('python-stream.zip', stream=True)
pack('python-comment.zip', comment=b'PK\x05\x06 in a comment')
PY
echo "seeds: $(ls "$seeds" | wc -l) packs, $(du -sb "$seeds" | cut -f1) bytes"

cd "$work"
start=$(date +%s)
status=0
../bin/fuzz_zipreader -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=8192 \
  -print_final_stats=1 corpus seeds 2>&1 | tail -25 || status=$?
echo "ran $(( $(date +%s) - start )) s, exit status $status"
findings=$(find . -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
  echo "findings in $PWD:" && find . -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \)
  exit 1
fi
echo "no finding"
