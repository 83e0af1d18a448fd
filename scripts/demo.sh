#!/usr/bin/env bash
# Demonstration: installs the example product "Vek Notes" silently with setup.exe under Wine, in
# a throwaway Wine prefix (build/demo), and shows what happened.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target setup example_notes >/dev/null

demo=$PWD/build/demo
prefix=$demo/wineprefix
rm -rf "$demo"
mkdir -p "$demo"
cp -r build/windows/examples/notes "$demo/dist"
run() { tools/wine-run "$prefix" "$demo" "$@"; }
stop() { WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; }
trap stop EXIT

section() { printf '\n== %s\n' "$*"; }
section "The distribution (D:\\dist in the Wine prefix)"
ls -l "$demo/dist"

section "Silent install: D:\\dist\\setup.exe /Q /s:"
status=0
run 'D:\dist\setup.exe' /Q /s: || status=$?
echo "exit code: $status"

temp=$(ls -d "$prefix"/drive_c/users/*/Temp)
section "The setup log ($(basename "$(ls "$temp"/setup_*.log)"))"
tr -d '\r' < "$temp"/setup_*.log

section "Installed tree (C:\\VekApps)"
if [ -d "$prefix/drive_c/VekApps" ]; then
  (cd "$prefix/drive_c" && find VekApps | sort)
else
  echo "(nothing)"
fi
record=$(ls "$prefix"/drive_c/VekApps/*/CLEANUP.INI 2>/dev/null | head -n 1)
if [ -n "$record" ]; then
  section "The cleanup record (${record#"$prefix"/drive_c/}, UTF-16)"
  iconv -f UTF-16 -t UTF-8 "$record" | tr -d '\r'
fi
exit "$status"
