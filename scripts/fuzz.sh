#!/usr/bin/env bash
# Builds the libFuzzer harnesses with AddressSanitizer and UBSan (clang) and
# runs each for a while. Usage: scripts/fuzz.sh [SECONDS_PER_HARNESS] [HARNESS...]
# Findings land in fuzz/out/<harness>/ (crash-* files); the corpus grows in
# fuzz/corpus-<harness>/, seeded from fuzz/seeds/<harness>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-600}"
shift || true

bash scripts/install_deps.sh
if ! command -v clang++ >/dev/null; then
  echo "# installing clang for the fuzzers"
  sudo_cmd=(); [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-dev
fi

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DWENDIT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build-fuzz -j"$(nproc)"

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do harnesses+=("$(basename "$f" .cpp)"); done
fi

status=0
for h in "${harnesses[@]}"; do
  name="${h#fuzz_}"
  corpus="fuzz/corpus-$name"
  out="fuzz/out/$name"
  mkdir -p "$corpus" "$out"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  echo "# fuzzing $h for $seconds s"
  if ! ./build-fuzz/fuzz/"$h" "$corpus" "${seeds[@]}" -max_total_time="$seconds" \
        -artifact_prefix="$out/" -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 \
        2> "$out/log.txt"; then
    echo "## FINDING in $h: see $out/"
    status=1
  fi
  grep -E 'stat::number_of_executed_units|Done|SUMMARY' "$out/log.txt" || true
done
exit $status
