#!/usr/bin/env bash
# Script benchmark: how long a silent run of setup.exe under Wine (`setup.exe /Q /s:`) takes with
# a setup script of 10 MB (about 16,500 sections of 20 keys behind the few that the run uses),
# against the same run with only those few sections, in one hyperfine run. The difference is
# what reading the large script costs: the whole file is read and split into sections and keys
# once at the start.
#   bench/large_script.sh            (VEK_BENCH_RUNS runs each, default 5)
# Target: the run with the large script under 30 s mean wall time. Exit status 1 when it is
# missed.
set -euo pipefail
. "$(dirname "$0")/bench-common.sh"
bench_start script

echo "== building setup.exe and a Wine prefix for it"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target setup >/dev/null
mkdir -p "$work/small" "$work/large"
cp build/windows/bin/setup.exe "$work/small/"
cp build/windows/bin/setup.exe "$work/large/"

echo "== making the scripts in $work"
# An installation without pack files into C:\BenchSys; the large script has the same sections
# first, then the filler.
python3 - "$work" <<'PY'
import sys
from pathlib import Path

work = Path(sys.argv[1])
used = ("[System Info]\r\nName=Bench\r\nSystemDir=BenchSys\r\n[IMainOption1]\r\nCaption=Program\r\n"
        "[ISubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n")
filler, sections = [], 0
size = 0
while size < 10 * 1024 * 1024:
    lines = [f"[Section{sections}]\r\n"] + [f"Key{k}=Some value of the key {k}\r\n" for k in range(20)]
    sections += 1
    filler += lines
    size += sum(len(line) for line in lines)
(work / "small" / "setup.ini").write_bytes(used.encode("ascii"))
(work / "large" / "setup.ini").write_bytes((used + "".join(filler)).encode("ascii"))
print(f"large script: {size + len(used)} bytes, {sections + 3} sections")
PY

wine_run="$PWD/tools/wine-run $work/wineprefix $work"
$wine_run cmd /c exit >/dev/null 2>&1 || true   # makes the prefix outside the timing
clear_logs="rm -f $work/wineprefix/drive_c/users/*/Temp/*.log"

echo "== hyperfine ($runs runs each)"
hyperfine --runs "$runs" --warmup 1 --prepare "$clear_logs" --export-json "$work/times.json" \
  -n "10 MB script" "$wine_run 'D:\\large\\setup.exe' /Q /s:" \
  -n "small script" "$wine_run 'D:\\small\\setup.exe' /Q /s:"

# The large script's run did the whole installation, not less.
eval "$clear_logs"
$wine_run 'D:\large\setup.exe' /Q /s: >/dev/null 2>&1
last=$(tail -n 1 "$work"/wineprefix/drive_c/users/*/Temp/setup_*.log | tr -d '\r')
echo "last line of the large script's log: $last"

python3 - "$work/times.json" <<'PY'
import json, sys
results = {r['command']: r for r in json.load(open(sys.argv[1]))['results']}
for name, r in results.items():
    print(f"{name}: {r['mean']:.3f} s +- {r['stddev'] or 0:.3f}")
large, small = results['10 MB script']['mean'], results['small script']['mean']
print(f"cost of reading the large script: {large - small:.3f} s")
if large >= 30:
    print("target missed: the run with the large script takes 30 s or more")
    sys.exit(1)
PY
