#!/usr/bin/env bash
# Runs a command (default ./test.sh) as root in a Debian 13 system, on a
# fresh clone of the commit this checkout is at.
#
#   .ci/debian13.sh [--same-clone] [COMMAND...]
#
# --same-clone runs in the clone the last run left when it is of the same
# commit (the package check after the test suite, without building again).
#
# The system is made with debootstrap from Debian's archive and kept between
# runs at MORVANE_DEBIAN13 (default /var/cache/morvane-ci/debian13), outside
# any checkout, with a compiler cache beside it (debian13-ccache). Before each
# run it is checked: one that is missing, broken or not release 13 is made
# again from nothing; one not refreshed for a day gets apt-get update and
# upgrade. Packages the project needs are installed inside by the clone's own
# scripts/install_deps.sh, as on a viewer's machine.
#
# The clone is copied to /build/morvane inside (the same path every run, so
# the compiler cache hits); the command runs there with CI=true, no stdin and
# a plain environment. proc, sys, dev, dev/pts and dev/shm are mounted for
# the run in a mount namespace of its own and unmounted on any exit. Runs on
# one machine take turns (a lock beside the system).
set -euo pipefail
export LC_ALL=C
repo="$(cd "$(dirname "$0")/.." && pwd)"
system="${MORVANE_DEBIAN13:-/var/cache/morvane-ci/debian13}"
mirror="${MORVANE_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
suite=trixie
release=13
max_age_s=$((24 * 3600))

say() { echo "# debian13: $*"; }
die() { echo "## ERROR: debian13: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot and mounts)"
if ! command -v debootstrap >/dev/null; then
  say "installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null ||
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null; } ||
    die "could not install debootstrap"
fi
for tool in debootstrap chroot unshare flock git; do
  command -v "$tool" >/dev/null || die "needs $tool (apt-get install debootstrap util-linux git)"
done
same_clone=0
if [ "${1:-}" = --same-clone ]; then
  same_clone=1
  shift
fi
[ $# -gt 0 ] || set -- ./test.sh
commit="$(git -C "$repo" rev-parse HEAD)" || die "$repo is not a git checkout"

# The mounts live in a private mount namespace: nothing mounted here shows
# on the host, and they all go when the run ends, however it ends.
if [ -z "${MORVANE_DEBIAN13_INSIDE:-}" ]; then
  mkdir -p "$(dirname "$system")"
  exec 9>"$system.lock"
  if ! flock -n 9; then
    say "another run holds $system.lock: waiting for it"
    flock 9
  fi
  MORVANE_DEBIAN13_INSIDE=1 MORVANE_SAME_CLONE=$same_clone \
    exec unshare --mount --propagation private "$0" "$@"
fi

mounted=()
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
}
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mount_at() {  # MOUNT-ARGUMENTS... TARGET: mounted, or the run stops
  local target="${*: -1}"
  mount "$@" || die "could not mount $target"
  mounted+=("$target")
}

mount_system() {  # ROOT
  local root="$1"
  mount_at -t proc proc "$root/proc"
  mount_at --bind /sys "$root/sys"
  mount_at --bind /dev "$root/dev"
  mount_at --bind /dev/pts "$root/dev/pts"
  mount_at -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
}

in_system() {  # ROOT COMMAND...: as root, with a plain environment and no stdin
  local root="$1"
  shift
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI=true \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive \
    CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache \
    CCACHE_DIR=/var/cache/ccache CCACHE_MAXSIZE=4G \
    "$@" </dev/null
}

# A usable system: release 13, a working shell and package manager.
usable() {  # ROOT
  local root="$1" version audit
  [ -f "$root/etc/debian_version" ] || return 1
  version="$(cat "$root/etc/debian_version")"
  case "$version" in "$release".* | "$release") ;; *) return 1 ;; esac
  chroot "$root" /bin/true 2>/dev/null || return 1
  # dpkg --audit names half-installed or broken packages.
  audit="$(chroot "$root" dpkg --audit 2>&1)" || return 1
  [ -z "$audit" ]
}

prepare() {  # ROOT: the settings a build system needs, inside
  local root="$1"
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  # Installing a server (ssh, sound) must not start it in here.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$suite" "$mirror" "$suite" \
    >"$root/etc/apt/sources.list"
  mkdir -p "$root/var/cache/ccache" "$root/build"
  # Nothing reboots this system: what runs left in /tmp goes before the next.
  find "$root/tmp" -mindepth 1 -delete 2>/dev/null || true
  chmod 1777 "$root/tmp"
}

make_system() {
  local fresh="$system.new" start
  start="$(date +%s)"
  say "making a Debian $release ($suite) system at $system with debootstrap from $mirror"
  rm -rf --one-file-system "$fresh"
  debootstrap --variant=minbase --include=ca-certificates,git,ccache \
    "$suite" "$fresh" "$mirror" >"$system.debootstrap.log" 2>&1 ||
    { tail -n 20 "$system.debootstrap.log" >&2; die "debootstrap failed (log: $system.debootstrap.log)"; }
  prepare "$fresh"
  rm -rf --one-file-system "$system"
  mv "$fresh" "$system"
  date +%s >"$system.stamp"
  say "made in $(($(date +%s) - start)) s"
}

refresh_system() {
  say "refreshing $system (apt-get update and upgrade)"
  prepare "$system"
  mount_system "$system"
  if in_system "$system" sh -c 'apt-get update -qq && apt-get -y -qq upgrade >/dev/null &&
                                apt-get -y -qq install --no-install-recommends ca-certificates git ccache >/dev/null'; then
    unmount_all
    date +%s >"$system.stamp"
    return 0
  fi
  unmount_all
  return 1
}

# ------------------------------------------------------------ the system
if ! usable "$system"; then
  [ -e "$system" ] && say "$system is not a usable Debian $release system: making it again"
  make_system
fi
stamp="$(cat "$system.stamp" 2>/dev/null || echo 0)"
if [ $(($(date +%s) - stamp)) -gt "$max_age_s" ]; then
  if ! refresh_system || ! usable "$system"; then
    say "the refresh failed: making the system again"
    make_system
  fi
fi
prepare "$system"
say "Debian $(cat "$system/etc/debian_version") at $system"

# ------------------------------------------------------------ the clone
work="$system/build/morvane"
if [ "${MORVANE_SAME_CLONE:-0}" = 1 ] && [ "$(git -C "$work" rev-parse HEAD 2>/dev/null)" = "$commit" ]; then
  say "in the last run's clone of $(git -C "$work" log -1 --format='%h %s')"
else
  rm -rf --one-file-system "$work"
  git clone -q --no-local --no-checkout "$repo" "$work"
  git -C "$work" checkout -q --detach "$commit"
  say "a fresh clone of $(git -C "$work" log -1 --format='%h %s')"
fi

# ------------------------------------------------------------ the run
mkdir -p "$system-ccache"
mount_system "$system"
mount_at --bind "$system-ccache" "$system/var/cache/ccache"
say "running in /build/morvane: $*"
status=0
in_system "$system" /bin/bash -c 'cd /build/morvane && exec "$@"' bash "$@" || status=$?
# Whatever the command left running in there (a server it started) ends
# with it, so the mounts can go.
for proc in /proc/[0-9]*; do
  if [ "$(readlink "$proc/root" 2>/dev/null)" = "$system" ]; then
    kill "${proc#/proc/}" 2>/dev/null || true
  fi
done
unmount_all
[ "$status" -eq 0 ] || die "'$*' failed in Debian $release (exit status $status)"
say "'$*' passed in Debian $release"
