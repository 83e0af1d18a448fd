#!/usr/bin/env bash
# Kill anywhere, all points: the end-to-end test tests/e2e/test_faults_kill.py with 30 points for
# each kind of run (install, update, cleanup) instead of the few the test suite runs. Each point
# kills setup.exe (SIGKILL) after a time or after a number of files, runs the registered cleanup
# to its end and compares the machine with what it was before.
#   bench/kill_anywhere.sh [POINTS [SEED]]     (default 30 points, seed 15)
# A failing point prints the command that replays it alone (VEK_KILL_SEED, VEK_KILL_ONLY).
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-30}
seed=${2:-15}
command -v python3 >/dev/null || { echo "missing: python3 (scripts/deps.sh installs it)"; exit 2; }
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target setup e2etool >/dev/null
build=$PWD/build/windows
export VEK_SETUP_EXE=$build/bin/setup.exe VEK_E2ETOOL_EXE=$build/bin/e2etool.exe VEK_WINE_RUN=$PWD/tools/wine-run \
  VEK_WINE_PREFIX=$build/wineprefix VEK_BUILD_DIR=$build VEK_KILL_POINTS=$points VEK_KILL_SEED=$seed
trap 'WINEPREFIX=$build/wineprefix wineserver -k 2>/dev/null || true' EXIT
start=$(date +%s)
status=0
python3 tests/e2e/test_faults_kill.py || status=$?
echo "kill anywhere: $points points per kind, seed $seed, $(( $(date +%s) - start ))s"
exit $status
