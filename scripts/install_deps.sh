#!/usr/bin/env bash
# Installs the Debian packages this project builds, bakes and tests with,
# asking apt only for the ones that are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev googletest
  libsdl1.2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreeimage-dev zlib1g-dev libmpg123-dev libmp3lame-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  xvfb xauth
  libfreetype-dev fonts-league-spartan fonts-dejavu-core
  libcairo2-dev
  xdotool
  parallel rsync
  libpulse-dev pulseaudio pulseaudio-utils python3 python3-numpy
  openssh-server openssh-client
)

# Debian 12 and 13 both have every name above. Where a package is renamed
# from one release to the next, write its names "old|new": any one of them
# installed will do, and the first the release has is installed.
installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing=()
for entry in "${packages[@]}"; do
  found=0
  IFS='|' read -ra names <<<"$entry"
  for p in "${names[@]}"; do
    if installed "$p"; then found=1; break; fi
  done
  [ "$found" -eq 1 ] || missing+=("$entry")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq

release="$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}")"
has_candidate() {
  # Read whole first: grep -q stopping early would break apt-cache's pipe.
  local policy
  policy="$(apt-cache policy "$1" 2>/dev/null)" || return 1
  grep -q '^  Candidate: [^(]' <<<"$policy"
}
chosen=()
for entry in "${missing[@]}"; do
  pick=""
  IFS='|' read -ra names <<<"$entry"
  for p in "${names[@]}"; do
    if has_candidate "$p"; then pick="$p"; break; fi
  done
  if [ -z "$pick" ]; then
    echo "## ERROR: install_deps: ${release:-this system} has no package ${entry//|/ or } (after apt-get update)" >&2
    exit 1
  fi
  chosen+=("$pick")
done
echo "# installing missing packages: ${chosen[*]}"
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${chosen[@]}"
