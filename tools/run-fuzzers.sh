#!/usr/bin/env bash
# Builds the fuzz preset and runs each libFuzzer target for a while.
#   tools/run-fuzzers.sh [SECONDS] [NAME...]
# SECONDS per target (default 60); NAMEs choose targets (fuzz_inistore ...; default: every
# fuzz_* target). Each target keeps its corpus in build/fuzz/corpus/<name>, so later runs start
# where earlier ones stopped. A finding leaves its input as build/fuzz/findings/<name>/crash-*
# (or leak-*, timeout-*, oom-*) and makes the script exit with 1 after all targets have run.
# VEK_FUZZ_BUILD names another build folder than build/fuzz (corpus and findings move with it).
set -u
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
case $seconds in ''|*[!0-9]*) echo "usage: $0 [SECONDS] [NAME...]" >&2; exit 2 ;; esac

build=${VEK_FUZZ_BUILD:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null || exit 2
cmake --build "$build" -j2 || exit 2

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in "$build"/bin/fuzz_* "$build"/fuzz/fuzz_*; do
    [ -x "$f" ] && [ -f "$f" ] && targets+=("$(basename "$f")")
  done
fi

status=0
for name in "${targets[@]}"; do
  exe=$build/bin/$name
  [ -x "$exe" ] || exe=$build/fuzz/$name
  if [ ! -x "$exe" ]; then
    echo "$name: no such fuzz target" >&2
    status=1
    continue
  fi
  corpus=$build/corpus/$name
  findings=$build/findings/$name
  mkdir -p "$corpus" "$findings"
  echo "== $name for ${seconds}s (corpus $corpus)"
  start=$(date +%s)
  if "$exe" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$findings/" >"$findings/last-run.log" 2>&1; then
    echo "$name: $(( $(date +%s) - start ))s without a finding; $(grep -E '^stat::number_of_executed_units' "$findings/last-run.log" | awk '{print $2}') runs"
  else
    echo "$name: FINDING after $(( $(date +%s) - start ))s, see $findings/last-run.log"
    tail -n 30 "$findings/last-run.log"
    status=1
  fi
done
exit $status
