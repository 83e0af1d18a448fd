#!/usr/bin/env bash
# A fuzzing campaign: every fuzz target in turn for a given time, starting from the corpus kept
# in the repository and merging what it found back into it, so that each campaign starts where
# the last one stopped.
#   fuzz/run-campaign.sh [SECONDS] [NAME...]
# SECONDS per target (default 300); NAMEs choose targets (default: every fuzz/fuzz_*.cpp).
# Per target NAME:
#   fuzz/regressions/NAME/   inputs of earlier findings: run once first, each must pass
#   fuzz/corpus/NAME/        the corpus, deduplicated with -merge=1 after every run (only
#                            inputs that add coverage stay, so it stays small)
# Findings go to build/fuzz/findings/NAME/ (crash-*, leak-*, timeout-*, oom-*); keep each as a
# regression input once it is fixed. The fuzzers run under `nice -n 19`: the machine is shared.
# The last line per target: NAME: SECONDSs (processor SECONDSs), RUNS runs, CORPUS inputs, and FINDING when one was made.
# Exit status 1 when a regression input fails or a finding was made.
set -u
cd "$(dirname "$0")/.."
seconds=${1:-300}
[ $# -gt 0 ] && shift
case $seconds in ''|*[!0-9]*) echo "usage: $0 [SECONDS] [NAME...]" >&2; exit 2 ;; esac

build=${VEK_FUZZ_BUILD:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null || exit 2
nice -n 19 cmake --build "$build" -j2 >/dev/null || exit 2

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

status=0
summary=()
for name in "${targets[@]}"; do
  exe=$build/bin/$name
  [ -x "$exe" ] || exe=$build/fuzz/$name
  if [ ! -x "$exe" ]; then
    echo "$name: no such fuzz target" >&2
    status=1
    continue
  fi
  corpus=fuzz/corpus/$name
  regressions=fuzz/regressions/$name
  findings=$build/findings/$name
  work=$build/campaign/$name
  mkdir -p "$corpus" "$findings"
  rm -rf "$work" && mkdir -p "$work"
  cp -r "$corpus/." "$work/" 2>/dev/null || true

  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    if ! nice -n 19 "$exe" -runs=0 "$regressions"/* >"$findings/regressions.log" 2>&1; then
      echo "$name: a regression input fails again, see $findings/regressions.log"
      status=1
      summary+=("$name: REGRESSION")
      continue
    fi
  fi

  echo "== $name for ${seconds}s (corpus $corpus: $(ls "$corpus" | wc -l) inputs)"
  start=$(date +%s)
  result=ok
  # The machine is shared, so the processor time the fuzzer really got is reported beside the
  # wall time: a campaign that ran beside a build shows it.
  TIMEFORMAT=%0U+%0S
  { time nice -n 19 "$exe" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" >"$findings/last-run.log" 2>&1 || result=FINDING; } 2>"$findings/cpu"
  cpu=$(( $(cat "$findings/cpu") ))
  runs=$(grep -E '^stat::number_of_executed_units' "$findings/last-run.log" | awk '{print $2}')
  # Only the inputs that add coverage go back into the repository.
  merged=$build/campaign/$name.merged
  rm -rf "$merged" && mkdir -p "$merged"
  nice -n 19 "$exe" -merge=1 "$merged" "$corpus" "$work" >"$findings/merge.log" 2>&1 &&
    rm -rf "$corpus" && mv "$merged" "$corpus"
  line="$name: $(( $(date +%s) - start ))s (processor ${cpu}s), ${runs:-0} runs, $(ls "$corpus" | wc -l) inputs"
  if [ $result = FINDING ]; then
    line="$line, FINDING (see $findings/last-run.log)"
    tail -n 30 "$findings/last-run.log"
    status=1
  fi
  echo "$line"
  summary+=("$line")
done
echo "== campaign summary"
printf '%s\n' "${summary[@]}"
exit $status
