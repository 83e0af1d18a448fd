#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need. As root it runs apt-get; otherwise it
# prints the one command to run.
# Everything the scripts, the build and the tests call by name is listed, also what most
# machines already have: a minimal Debian root (debootstrap --variant=minbase) has only the
# essential packages, and recommendations are not installed (cmake only recommends make).
# Beyond those: make (cmake's generator), procps (pkill in the end-to-end tests) and time
# (/usr/bin/time -v in bench/extract.sh), fonts-wine (Wine's own fonts: the glyphs of the caption
# buttons) and fonts-wqy-microhei (Chinese texts in the windows under Wine).
set -euo pipefail
packages=(
  cmake make g++ clang-14 libclang-rt-14-dev googletest zlib1g-dev python3
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev wine wine64 xvfb xauth x11-utils imagemagick fonts-wine fonts-wqy-microhei
  zip unzip p7zip-full liblnk-utils hyperfine procps time e2fsprogs osslsigncode openssl
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run as root:"
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  exit 1
fi
