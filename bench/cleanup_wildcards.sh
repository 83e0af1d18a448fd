#!/usr/bin/env bash
# Wildcard benchmark of the cleanup: how long `setup.exe /UNINSTALL /Q` under Wine takes for a
# record whose folder lists 14,000 wildcard entries (10,000 different ones, `*.x0` to `*.x9999`,
# and 4,000 repeats of `*.tmp` in three spellings), against the same run with a record that
# lists only the four entries that match anything. Both remove the same six of ten files; before
# every timed run the files and the record are put back (not timed), in one hyperfine run.
#   bench/cleanup_wildcards.sh       (VEK_BENCH_RUNS runs each, default 5)
# Every entry is matched against the folder's files, so the long record costs time in proportion
# to its entries; repeats of an entry are dropped before they are resolved.
# Target: the long record's mean wall time under 60 s. Exit status 1 when it is missed.
set -euo pipefail
. "$(dirname "$0")/bench-common.sh"
bench_start wildcards

echo "== making the records in $work"
# D: is $work under Wine: the installation's folder is D:\dist\app, the record D:\dist\CLEANUP.INI.
python3 - "$work" <<'PY'
import sys
from pathlib import Path

work = Path(sys.argv[1])
many = [f"*.x{i}" for i in range(10000)] + ["*.tmp"] * 3000 + ["*.TMP", "*.Tmp"] * 500
few = ["*.x0", "*.x9999", "*.x5000", "*.tmp"]
for name, entries in (("many", many), ("few", few)):
    lines = ["[LuM CleanUp]", "System=Wildcard Bench", "Version=1.0", "[LuM CleanUp Directories]",
             "D:\\dist\\app=1", "[D:\\dist\\app]"] + [f"{entry}=" for entry in entries]
    # As an installation writes it: UTF-16 LE with a byte-order mark, CR LF lines.
    (work / f"record-{name}.ini").write_bytes(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))
print(f"records: {len(many)} and {len(few)} wildcard entries")
PY

echo "== building setup.exe and a Wine prefix for it"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target setup >/dev/null
mkdir -p "$work/dist"
cp build/windows/bin/setup.exe "$work/dist/"
wine_run="$PWD/tools/wine-run $work/wineprefix $work"
$wine_run cmd /c exit >/dev/null 2>&1 || true   # makes the prefix outside the timing

# The files of the folder: six that the entries match (a backup among them), four they do not.
files="a.x0 b.x9999 c.x5000 d.tmp e.TMP d.~tmp keep.x10000 keep.y1 keep.tmpx keep.txt"
prepare() {
  echo "rm -rf $work/dist/app && mkdir -p $work/dist/app && (cd $work/dist/app && touch $files) &&" \
       "cp $work/record-$1.ini $work/dist/CLEANUP.INI && rm -f $work/wineprefix/drive_c/users/*/Temp/*.log"
}
uninstall="$wine_run 'D:\\dist\\setup.exe' /UNINSTALL /Q"

echo "== hyperfine ($runs runs each)"
hyperfine --runs "$runs" --export-json "$work/times.json" \
  --prepare "$(prepare many)" -n "14,000 wildcard entries" "$uninstall" \
  --prepare "$(prepare few)" -n "4 wildcard entries" "$uninstall"

# What each record leaves: the four files that no entry matches.
for record in many few; do
  eval "$(prepare "$record")"
  eval "$uninstall" >/dev/null 2>&1 || true
  echo "left after the record \"$record\": $(cd "$work/dist/app" && find . -mindepth 1 | sort | tr '\n' ' ')"
done

python3 - "$work/times.json" <<'PY'
import json, sys
results = {r['command']: r for r in json.load(open(sys.argv[1]))['results']}
for name, r in results.items():
    print(f"{name}: {r['mean']:.3f} s +- {r['stddev'] or 0:.3f}")
many, few = results['14,000 wildcard entries']['mean'], results['4 wildcard entries']['mean']
print(f"cost of the long record: {many - few:.3f} s ({many / few:.2f} times the short one)")
if many >= 60:
    print("target missed: the long record takes 60 s or more")
    sys.exit(1)
PY
