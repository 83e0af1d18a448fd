#!/usr/bin/env bash
# Demonstration: installs the example product "Vek Notes" silently with setup.exe under Wine, in
# a throwaway Wine prefix (build/demo), shows what happened, then removes it again with the
# command the list of installed programs holds and shows that the machine is as it was.
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
# Run from the D: drive, so that Wine has a working folder to start in.
run() { (cd "$demo" && "$OLDPWD/tools/wine-run" "$prefix" "$demo" "$@"); }
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
[ "$status" -eq 0 ] || exit "$status"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VekNotes'
run_once='HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'
section "The registration in the list of installed programs (reg query $uninstall_key)"
run reg query "$uninstall_key" 2>/dev/null | tr -d '\r'
command=$(run reg query "$uninstall_key" /v Uninstallstring 2>/dev/null | tr -d '\r' |
          sed -n 's/^ *Uninstallstring *REG_SZ *//p')

section "Silent removal with that command: $command /Q"
rm -f "$temp"/*.log
# shellcheck disable=SC2086 # the registered command is a program and its switches
run $command /Q || status=$?
echo "exit code: $status"
# The installed setup program hands the work to a copy in the temporary folder and ends.
for _ in $(seq 1 100); do
  grep -qs '^Write ' "$temp"/VekSetup_*.log && break
  sleep 0.2
done
for log in "$temp"/*.log; do
  section "The log $(basename "$log")"
  tr -d '\r' < "$log"
done

section "C:\\VekApps after the removal"
if [ -d "$prefix/drive_c/VekApps" ]; then (cd "$prefix/drive_c" && find VekApps | sort); else echo "(gone)"; fi
section "The registration after the removal"
run reg query "$uninstall_key" 2>&1 | tr -d '\r' || true
section "Left for the next logon (reg query $run_once): the temporary copy deletes itself"
run reg query "$run_once" 2>/dev/null | tr -d '\r'
exit "$status"
