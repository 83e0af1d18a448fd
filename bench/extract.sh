#!/usr/bin/env bash
# Extraction benchmark of the archive reader. Builds vekunzip natively (Release), makes a pack
# of about 150 MB in about 3,000 files (half text, half random, so incompressible) with Info-ZIP
# zip, and times vekunzip against `unzip -q -o` on that pack in the same hyperfine run
# (hyperfine alternates the commands), each extracting into a fresh folder in tmpfs. Then it
# measures the peak memory of vekunzip with /usr/bin/time -v.
#   bench/extract.sh [build folder]          (default: build/bench)
# Targets: vekunzip at most 1.1 times unzip's mean wall time; peak resident memory under 32 MB.
# Exit status 1 when a target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${VEK_BENCH_RUNS:-10}

for tool in zip unzip hyperfine python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/deps.sh installs it)"; exit 2; }
done

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVEK_SANITIZE=OFF >/dev/null
cmake --build "$build" -j2 --target vekunzip >/dev/null
vekunzip=$PWD/$build/bin/vekunzip

# tmpfs keeps the disk out of the comparison; fall back to the build folder without one.
base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=$PWD/$build
work=$(mktemp -d "$base/vek-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
pack=$work/pack.zip
out=$work/out

echo "== making the pack in $work"
python3 - "$work/tree" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(1234)
words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 10))) for _ in range(5000)]
# About 205 MB of data: the random half stays as it is and the text half shrinks to less
# than half, which gives a pack of about 150 MB.
files, total = 3000, 205 * 1000 * 1000
# Sizes spread from a few hundred bytes to a few hundred kilobytes, scaled to the total.
weights = [rng.lognormvariate(0, 1.2) for _ in range(files)]
scale = total / sum(weights)
for i, weight in enumerate(weights):
    size = max(1, int(weight * scale))
    folder = os.path.join(root, f'group{i % 40:02d}', f'sub{i % 7}')
    os.makedirs(folder, exist_ok=True)
    if i % 2 == 0:
        lines, length = [], 0
        while length < size:
            line = ' '.join(rng.choices(words, k=rng.randint(4, 14))) + '\n'
            lines.append(line)
            length += len(line)
        data = ''.join(lines).encode()[:size]
        name = f'text{i:04d}.txt'
    else:
        data = rng.randbytes(size)
        name = f'data{i:04d}.bin'
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)
PY
(cd "$work/tree" && zip -q -r "$pack" .)
rm -rf "$work/tree"
echo "pack: $(du -m "$pack" | cut -f1) MB, $(unzip -Z1 "$pack" | wc -l) entries"

# setup.exe under Wine installs the same pack silently from a distribution in $work/dist: Wine
# maps D: to $work, and the one sub-option unpacks into D:\bench\OUT ($work/bench/OUT).
echo "== building setup.exe and a Wine prefix for it"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target setup >/dev/null
mkdir -p "$work/dist"
cp build/windows/bin/setup.exe "$work/dist/"
printf '[System Info]\r\nSystemDir=sys\r\nCopySetup=0\r\n[IMainOption1]\r\nCaption=All\r\nRootLib=out\r\n[ISubOption1.1]\r\nCaption=All files\r\nSelected=1\r\nPackFile=pack.zip\r\n' \
  > "$work/dist/setup.ini"
mv "$pack" "$work/dist/pack.zip"
pack=$work/dist/pack.zip
wine_run="$PWD/tools/wine-run $work/wineprefix $work"
$wine_run cmd /c exit >/dev/null 2>&1 || true   # makes the prefix outside the timing
setup_cmd="$wine_run 'D:\\dist\\setup.exe' /Q /s: /I:D:\\bench"

# Every command extracts the whole pack into a fresh folder, which --prepare removes first.
commands=(
  -n vekunzip "$vekunzip -q $pack $out"
  -n unzip "unzip -q -o $pack -d $out"
  -n setup.exe "$setup_cmd"
)

echo "== hyperfine ($runs runs each, after one warm-up)"
hyperfine --warmup 1 --runs "$runs" --prepare "rm -rf $out $work/bench; rm -f $work/wineprefix/drive_c/users/*/Temp/*.log" --export-json "$work/times.json" "${commands[@]}"

echo "== peak memory of vekunzip"
rm -rf "$out"
/usr/bin/time -v "$vekunzip" -q "$pack" "$out" 2>"$work/time.txt"
peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
echo "maximum resident set size: $peak_kb KB"
unzip -q -o "$pack" -d "$out.unzip"
if diff -r -q "$out" "$out.unzip" >/dev/null; then
  echo "vekunzip and unzip extracted identical trees"
else
  echo "vekunzip and unzip extracted different trees"
  exit 1
fi
if diff -r -q "$work/bench/OUT" "$out.unzip" >/dev/null; then
  echo "setup.exe and unzip extracted identical trees"
else
  echo "setup.exe and unzip extracted different trees"
  exit 1
fi

python3 - "$work/times.json" "$peak_kb" <<'PY'
import json, sys
results = {r['command']: r for r in json.load(open(sys.argv[1]))['results']}
ours, theirs, setup = results['vekunzip'], results['unzip'], results['setup.exe']
ratio = ours['mean'] / theirs['mean']
setup_ratio = setup['mean'] / theirs['mean']
peak_mb = int(sys.argv[2]) / 1024
for name, r in (('vekunzip', ours), ('unzip', theirs), ('setup.exe under Wine', setup)):
    print(f"{name}: {r['mean']:.3f} s +- {r['stddev'] or 0:.3f}")
print(f"time ratio vekunzip/unzip: {ratio:.3f} (target <= 1.10): {'met' if ratio <= 1.10 else 'MISSED'}")
print(f"time ratio setup.exe/unzip: {setup_ratio:.3f} (target <= 1.50): {'met' if setup_ratio <= 1.50 else 'MISSED'}")
print(f"peak memory: {peak_mb:.1f} MB (target < 32 MB): {'met' if peak_mb < 32 else 'MISSED'}")
sys.exit(0 if ratio <= 1.10 and setup_ratio <= 1.50 and peak_mb < 32 else 1)
PY
