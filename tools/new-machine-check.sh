#!/usr/bin/env bash
# Tries the README's two commands as a newcomer would on a new machine. CI runs where everything
# is installed already, so a green CI can hide an install step that scripts/deps.sh misses; here
# they run in a minimal Debian 12 root (debootstrap --variant=minbase bookworm) that has nothing
# added but git, with a clone of this checkout's committed HEAD: scripts/demo.sh, then
# scripts/test.sh, each through chroot.
#   tools/new-machine-check.sh [ROOT]                              (as root)
# ROOT is an empty or missing folder for the root (default: a new folder in /var/tmp); it is
# removed at the end unless VEK_KEEP_ROOT=1. Both commands run even when the first one fails.
# Their output goes to the terminal and to build/new-machine/ of this checkout. The last lines
# give each command's exit code and wall time; the exit code is 0 when both passed, 1 when one
# failed and 2 when the root could not be made. Uncommitted changes are not tried.
#
# The root uses the Debian mirror of the host's apt sources (VEK_MIRROR and VEK_SECURITY_MIRROR
# override them). Downloads are kept in VEK_NEW_MACHINE_CACHE (default /var/cache/vek-new-machine,
# empty for none): the minimal root's packages as a debootstrap tarball, renewed after a week, and
# the packages apt fetches in the root. A cached package is only used when its checksum matches
# the fresh package lists, so the root ends up as it would without the cache.
set -euo pipefail
# One block, read whole before it runs: editing this file during a run (which takes a while)
# cannot change what the run does next.
{
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
say() { printf '\n== %s\n' "$*"; }
die() {
  echo "new-machine-check: $*" >&2
  exit 2
}

[ "$(id -u)" -eq 0 ] || die "must run as root (debootstrap, mount and chroot need it)"
head=$(git -C "$repo" rev-parse HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  echo "new-machine-check: uncommitted changes in $repo are not part of the check" >&2
fi

# The first Debian archive of the host's active apt sources whose address ends in /$1, both in
# the one-line form (deb [options] URI suite...) and in the deb822 form (URIs: ...).
mirror_of() {
  local files=() f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 0
  awk -v name="$1" '
    /^[ \t]*(deb[ \t]|URIs:)/ {
      for (i = 1; i <= NF; i++) {
        uri = $i
        sub(/\/+$/, "", uri)
        if (uri ~ /^https?:\/\// && substr(uri, length(uri) - length(name)) == "/" name) { print uri; exit }
      }
    }' "${files[@]}"
}
mirror=${VEK_MIRROR:-$(mirror_of debian)}
security=${VEK_SECURITY_MIRROR:-$(mirror_of debian-security)}
[ -n "$mirror" ] || die "no Debian mirror in the host's apt sources; set VEK_MIRROR"

cache=${VEK_NEW_MACHINE_CACHE-/var/cache/vek-new-machine}
logs=$repo/build/new-machine
mkdir -p "$logs"

if [ $# -gt 0 ]; then
  root=$(realpath -m "$1")
  case $root in *[[:space:]]*) die "the root's folder name must not contain spaces" ;; esac
  if [ -e "$root" ] && [ -n "$(ls -A "$root")" ]; then die "$root is not empty"; fi
  mkdir -p "$root"
else
  root=$(mktemp -d /var/tmp/vek-new-machine.XXXXXX)
fi
# The root's / is everybody's, as on a machine: mktemp's mode 700 would lock out the users
# below root there (apt's _apt among them).
chmod 755 "$root"

# Everything mounted below the root, deepest first.
mounts_below_root() {
  findmnt -rn -o TARGET | awk -v r="$root" '$0 == r || index($0, r "/") == 1' | sort -r
}

# Processes left running in the root (a Wine server that a failed run did not stop) would keep
# its mounts busy: they go first, then the mounts. The root is removed only when nothing is
# mounted in it any more; otherwise rm would reach through a bind mount into the host's cache.
cleanup() {
  local status=$? pid pids=() m
  for pid in /proc/[0-9]*; do
    [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && pids+=("${pid#/proc/}")
  done
  if [ ${#pids[@]} -gt 0 ]; then
    echo "new-machine-check: stopping processes left in the root:" \
      "$(for pid in "${pids[@]}"; do printf '%s (%s) ' "$pid" "$(cat "/proc/$pid/comm" 2>/dev/null)"; done)" >&2
    kill "${pids[@]}" 2>/dev/null || true
    sleep 2
    kill -9 "${pids[@]}" 2>/dev/null || true
    sleep 1
  fi
  for m in $(mounts_below_root); do
    umount "$m" 2>/dev/null || umount -l "$m" || true
  done
  if [ "${VEK_KEEP_ROOT:-0}" = 1 ]; then
    echo "new-machine-check: the root is kept in $root" >&2
  elif [ -n "$(mounts_below_root)" ]; then
    echo "new-machine-check: $root is not removed: still mounted there: $(mounts_below_root | tr '\n' ' ')" >&2
  else
    rm -rf --one-file-system "$root"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if ! command -v debootstrap >/dev/null; then
  say "Installing debootstrap on the host"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

say "A minimal Debian 12 root in $root (mirror $mirror)"
started=$(date +%s)
unpack=()
if [ -n "$cache" ]; then
  mkdir -p "$cache/apt-archives"
  tarball=$cache/bookworm-minbase.tgz
  if [ -z "$(find "$tarball" -mtime -7 2>/dev/null)" ]; then
    work=$(mktemp -d /var/tmp/vek-debootstrap.XXXXXX)
    debootstrap --variant=minbase --make-tarball="$tarball.part" bookworm "$work" "$mirror" \
      >"$logs/debootstrap.log" 2>&1 || { tail -n 20 "$logs/debootstrap.log"; rm -rf "$work"; die "debootstrap could not download the root"; }
    rm -rf "$work"
    mv "$tarball.part" "$tarball"
  fi
  unpack=(--unpack-tarball="$tarball")
fi
debootstrap --variant=minbase "${unpack[@]}" bookworm "$root" "$mirror" >>"$logs/debootstrap.log" 2>&1 ||
  { tail -n 20 "$logs/debootstrap.log"; die "debootstrap failed (see $logs/debootstrap.log)"; }

# The sources of an installed Debian 12: the release, its updates and its security fixes.
{
  echo "deb $mirror bookworm main"
  echo "deb $mirror bookworm-updates main"
  [ -z "$security" ] || echo "deb $security bookworm-security main"
} >"$root/etc/apt/sources.list"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# No service that a package brings starts inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

# debootstrap makes the device nodes; a container may refuse that, then the host's are bound in.
if [ ! -c "$root/dev/null" ]; then
  mount -t tmpfs -o mode=755 dev "$root/dev"
  for d in null zero full random urandom tty; do
    touch "$root/dev/$d"
    mount --bind "/dev/$d" "$root/dev/$d"
  done
  ln -s /proc/self/fd "$root/dev/fd"
  ln -s /proc/self/fd/0 "$root/dev/stdin"
  ln -s /proc/self/fd/1 "$root/dev/stdout"
  ln -s /proc/self/fd/2 "$root/dev/stderr"
fi
mount -t proc proc "$root/proc"
# Terminals of their own, as apt and dpkg expect.
mkdir -p "$root/dev/pts"
mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$root/dev/pts"
# Wine keeps shared memory in /dev/shm.
mkdir -p "$root/dev/shm"
mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
if [ -n "$cache" ]; then
  mount --bind "$cache/apt-archives" "$root/var/cache/apt/archives"
fi

# Runs a command in the root with the plain environment of a root login.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$1" </dev/null
}

say "Installing git in the root"
tls=
case $mirror$security in *https://*) tls=ca-certificates ;; esac
in_root "export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends git $tls >/dev/null" ||
  die "git could not be installed in the root"

say "Cloning $repo at $head into /root/vek"
git clone -q --no-hardlinks "$repo" "$root/root/vek"
git -C "$root/root/vek" checkout -q --detach "$head"
echo "root ready in $(($(date +%s) - started)) s"

results=()
failed=0
for command in scripts/demo.sh scripts/test.sh; do
  log=$logs/$(basename "$command" .sh).log
  say "$command in the new root (log: $log)"
  started=$(date +%s)
  set +e
  in_root "cd /root/vek && $command" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  set -e
  seconds=$(($(date +%s) - started))
  [ "$status" -eq 0 ] || failed=1
  results+=("$(printf '%s: exit code %d, wall time %d:%02d' "$command" "$status" $((seconds / 60)) $((seconds % 60)))")
done

say "New machine (Debian 12 minbase, $head)"
printf '%s\n' "${results[@]}"
exit $failed
}
