# Shared start of the Wine benchmarks; sourced, not run. bench_start NAME checks the tools, sets
# runs (VEK_BENCH_RUNS, default 5) and work (a fresh folder in /dev/shm, else build/), and
# removes the folder and stops its Wine prefix on exit.
bench_start() {
  cd "$(dirname "$0")/.."
  runs=${VEK_BENCH_RUNS:-5}
  for tool in hyperfine python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/deps.sh installs it)"; exit 2; }
  done
  local base=/dev/shm
  [ -d "$base" ] && [ -w "$base" ] || base=$PWD/build
  work=$(mktemp -d "$base/vek-$1-bench.XXXXXX")
  trap 'WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
}
