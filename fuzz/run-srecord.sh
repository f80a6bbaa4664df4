#!/usr/bin/env bash
# Builds the S-record fuzzer with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it from the seed corpus for the given
# number of seconds (default 600). New inputs go to build-fuzz/corpus, never
# into the seed corpus; a crash is written to build-fuzz/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
tessivar_install_missing
build="$root/build-fuzz"
seconds=${1:-600}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSIVAR_FUZZ=ON -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_srecord
mkdir -p "$build/corpus" "$build/artifacts"
exec "$build/fuzz/fuzz_srecord" -max_total_time="$seconds" -max_len=8192 \
  -dict="$root/fuzz/srecord.dict" -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
  "$build/corpus" "$root/fuzz/corpus/srecord"
