#!/usr/bin/env bash
# Installer benchmark: setup.exe against a widely used open-source installer (the peer, built
# with Debian's `nsis` package, zlib compressor) on the same payload, with `unzip` natively and
# the floor program (bench/floor/vekfloor.win.cpp: writes the same files from memory, nothing
# else) as references, all in the same rounds and alternating.
#   bench/installers.sh [--kind standard|small-files|large-file|cleanup] [--rounds N]
#     standard      3,030 files, 150 MiB, half text, half random (default)
#     small-files   30,000 files of 4 KiB
#     large-file    one file of 4 GiB (a ZIP64 pack; the peer cannot hold more than 2 GB)
#     cleanup       30,000 files of 4 KiB, only the uninstalls timed
#   --rounds N      rounds (default VEK_BENCH_RUNS, else 5); VEK_BENCH_DIR: the work folder's
#                   parent (default /dev/shm; large-file needs about 13 GB there)
# Every round runs, in an order that turns by one each round: the peer's silent install
# (`/S /D=`) and its registered uninstaller (`/S _?=`, in place), ours (`/Q` in place, then the
# command it registered, with `/Q`), `unzip -q` then `rm -rf`, and the floor. Every installed
# tree is compared with the payload (names, sizes, SHA-256), every uninstall must leave only
# what its program documents, and the registration must be gone. The table gives medians,
# the medians of the ratios paired within each round, and each program's peak memory (see
# bench/installers.py).
# Run it on a quiet machine. Under Wine every file costs a few round trips between the program
# and the Wine server; on a virtual machine whose processors sleep when idle, each round trip
# waits for one to wake (about 40 us here), so the same run takes up to twice as long on an idle
# machine as on a busy one, and the Windows programs slow down more than `unzip`. Ratios within
# one run stay comparable; absolute times of runs under different loads do not.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=standard
rounds=${VEK_BENCH_RUNS:-5}
while [ $# -gt 0 ]; do
  case $1 in
    --kind) kind=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) echo "usage: bench/installers.sh [--kind standard|small-files|large-file|cleanup] [--rounds N]"; exit 2 ;;
  esac
done
case $kind in standard | small-files | large-file | cleanup) ;; *) echo "unknown kind: $kind"; exit 2 ;; esac

for tool in zip unzip python3 /usr/bin/time wine; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/deps.sh installs it)"; exit 2; }
done
# The peer's compiler is a dependency of this benchmark only, not of the build.
if ! command -v makensis >/dev/null; then
  [ "$(id -u)" -eq 0 ] || { echo "missing: makensis (apt-get install nsis, as root)"; exit 2; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q nsis >/dev/null
fi

base=${VEK_BENCH_DIR:-/dev/shm}
[ -d "$base" ] && [ -w "$base" ] || base=$PWD/build
work=$(mktemp -d "$base/vek-installers-bench.XXXXXX")
trap 'WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
echo "== load before: $(uptime)"

echo "== building setup.exe and vekfloor.exe"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target setup vekfloor >/dev/null

payload_kind=$kind
[ "$kind" = cleanup ] && payload_kind=small-files
echo "== making the $payload_kind payload in $work"
python3 bench/payload.py "$payload_kind" "$work"
echo "payload: $(wc -l <"$work/manifest.tsv") files, $(du -sm --apparent-size "$work/payload" | cut -f1) MiB"

# Ours: setup.exe, its script and one pack with the same files, installed under D:\ours\OUT;
# the installed copy of setup.exe in D:\ours\sys is what the registration calls.
mkdir -p "$work/dist" "$work/floor"
(cd "$work/payload" && zip -q -r "$work/dist/pack.zip" .)
cp build/windows/bin/setup.exe "$work/dist/"
printf '%s\r\n' '[System Info]' 'SystemDir=sys' '[IMainOption1]' 'Caption=All' 'RootLib=out' \
  '[ISubOption1.1]' 'Caption=All files' 'Selected=1' 'PackFile=pack.zip' \
  '[UnInstall]' 'Key=VekInstallerBench' 'DisplayName=Installer bench' 'Publisher=Bench' \
  'UninstallString=%SYSDIR%SETUP.EXE /UNINSTALL' >"$work/dist/setup.ini"
echo "our pack: $(du -m "$work/dist/pack.zip" | cut -f1) MiB"
cp build/windows/bin/vekfloor.exe "$work/floor/"

# The peer: 64-bit, zlib, the payload folder whole in the installer; the uninstaller removes the
# installation folder whole (RMDir /r), as the usual scripts do and as fast as it can (ours
# deletes only the files its record names).
peer=yes
if [ "$kind" = large-file ]; then
  peer=no
  echo "no peer for large-file: its installers hold at most 2 GB of data"
else
  echo "== building the peer installer with makensis"
  key='Software\Microsoft\Windows\CurrentVersion\Uninstall\VekPeerBench'
  cat >"$work/peer.nsi" <<NSI
Unicode true
Target amd64-unicode
SetCompressor zlib
Name "Peer bench"
OutFile "peer-setup.exe"
InstallDir "C:\\PeerBench"
RequestExecutionLevel admin
Section "All"
  SetOutPath "\$INSTDIR"
  File /r "payload\\*"
  WriteUninstaller "\$INSTDIR\\uninst.exe"
  WriteRegStr HKLM "$key" "DisplayName" "Peer bench"
  WriteRegStr HKLM "$key" "UninstallString" '"\$INSTDIR\\uninst.exe"'
SectionEnd
Section "Uninstall"
  RMDir /r "\$INSTDIR"
  DeleteRegKey HKLM "$key"
SectionEnd
NSI
  mkdir -p "$work/peer"
  # The payload is the same on every run of a kind, and makensis takes long for many files
  # (tens of minutes for 30,000): the installer is kept beside the build, under the digest of
  # the manifest and the script it was made from, and made again only when either changes.
  cache=$PWD/build/bench-peer/$(cat "$work/manifest.tsv" "$work/peer.nsi" | sha256sum | cut -c1-16).exe
  if [ -f "$cache" ]; then
    echo "(the peer installer of an earlier run with the same payload and script: $cache)"
  else
    (cd "$work" && makensis -V1 peer.nsi >/dev/null)
    mkdir -p "$(dirname "$cache")" && mv "$work/peer-setup.exe" "$cache.part" && mv "$cache.part" "$cache"
  fi
  cp "$cache" "$work/peer/peer-setup.exe"
  echo "peer installer: $(du -m "$work/peer/peer-setup.exe" | cut -f1) MiB"
fi

echo "== Wine prefix"
"$PWD/tools/wine-run" "$work/wineprefix" "$work" cmd /c exit >/dev/null 2>&1 || true
echo "== $rounds rounds"
python3 bench/installers.py --work "$work" --kind "$kind" --rounds "$rounds" --peer "$peer"
echo "== load after: $(uptime)"
