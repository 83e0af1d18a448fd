#!/usr/bin/env bash
# Cleanup benchmark: how long setup.exe takes to remove an installation of 3,000 files in 280
# folders, against removing the same tree with cmd's `rmdir /s /q` under the same Wine and with
# a native `rm -rf`, in one hyperfine run. Before every timed run setup.exe installs the tree
# afresh (not timed); setup.exe then removes it from its cleanup record with
# `SETUP.EXE /UNINSTALL /Q`, the other two remove the folder whole.
#   bench/cleanup.sh                 (VEK_BENCH_RUNS runs each, default 5)
# setup.exe does more than the other two (it reads the record, checks every name and deletes
# only recorded files); the figure to watch is its ratio to rmdir under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${VEK_BENCH_RUNS:-5}
for tool in zip hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/deps.sh installs it)"; exit 2; }
done

base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=$PWD/build
work=$(mktemp -d "$base/vek-cleanup-bench.XXXXXX")
trap 'WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

echo "== making the pack in $work"
python3 - "$work/tree" <<'PY'
import os, random, sys
rng = random.Random(99)
for i in range(3000):
    folder = os.path.join(sys.argv[1], f'group{i % 40:02d}', f'sub{i % 7}')
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, f'file{i:04d}.dat'), 'wb') as f:
        f.write(rng.randbytes(rng.randint(100, 8000)))
PY
mkdir -p "$work/dist"
(cd "$work/tree" && zip -q -r "$work/dist/pack.zip" .)
rm -rf "$work/tree"

echo "== building setup.exe and a Wine prefix for it"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target setup >/dev/null
cp build/windows/bin/setup.exe "$work/dist/"
printf '[System Info]\r\nSystemDir=sys\r\n[IMainOption1]\r\nCaption=All\r\nRootLib=out\r\n[ISubOption1.1]\r\nCaption=All files\r\nSelected=1\r\nPackFile=pack.zip\r\n' \
  > "$work/dist/setup.ini"
wine_run="$PWD/tools/wine-run $work/wineprefix $work"
$wine_run cmd /c exit >/dev/null 2>&1 || true   # makes the prefix outside the timing
install="rm -rf $work/bench; $wine_run 'D:\\dist\\setup.exe' /Q /s: /I:D:\\bench >/dev/null 2>&1"
eval "$install"
count=$(find "$work/bench" -type f | wc -l)
echo "installed: $count files in $(find "$work/bench" -type d | wc -l) folders"

echo "== hyperfine ($runs runs each; every run removes a fresh installation)"
hyperfine --runs "$runs" --prepare "$install; rm -f $work/wineprefix/drive_c/users/*/Temp/*.log" \
  --export-json "$work/times.json" \
  -n "setup.exe /UNINSTALL" "$wine_run 'D:\\bench\\sys\\SETUP.EXE' /UNINSTALL /Q" \
  -n "cmd rmdir /s /q" "$wine_run cmd /c rmdir /s /q 'D:\\bench'" \
  -n "rm -rf" "rm -rf $work/bench"

# What setup.exe leaves: its own program file and folder, for the next logon.
eval "$install"
$wine_run 'D:\bench\sys\SETUP.EXE' /UNINSTALL /Q >/dev/null 2>&1
left=$(cd "$work/bench" && find . -mindepth 1 | sort | tr '\n' ' ')
echo "left after setup.exe /UNINSTALL: $left"

python3 - "$work/times.json" <<'PY'
import json, sys
results = {r['command']: r for r in json.load(open(sys.argv[1]))['results']}
for name, r in results.items():
    print(f"{name}: {r['mean']:.3f} s +- {r['stddev'] or 0:.3f}")
ratio = results['setup.exe /UNINSTALL']['mean'] / results['cmd rmdir /s /q']['mean']
print(f"time ratio setup.exe/rmdir under Wine: {ratio:.2f}")
PY
