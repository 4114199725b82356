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
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "# installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
