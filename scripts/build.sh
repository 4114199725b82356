#!/usr/bin/env bash
# Installs what is missing, configures and builds everything into build/ and
# bin/. Safe to run again: each step only does what is still to do.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install_deps.sh

build_type="${BUILD_TYPE:-RelWithDebInfo}"
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type"
fi
cmake --build build -j"$(nproc)"
