#!/usr/bin/env bash
# Builds a fuzz target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it from its seed corpus for the given
# number of seconds (default 600) on one core.
#   fuzz/run.sh srecord|prepare [SECONDS]
# New inputs go to build-fuzz/corpus-TARGET, never into the seed corpus; a
# crash is written to build-fuzz/artifacts-TARGET/. fuzz/minimise.sh folds
# what was found back into the seed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
tessivar_install_missing
target=${1:?usage: fuzz/run.sh srecord|prepare [SECONDS]}
seconds=${2:-600}
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSIVAR_FUZZ=ON -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target "fuzz_$target" -j "$(nproc)"
mkdir -p "$build/corpus-$target" "$build/artifacts-$target"
exec "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -dict="$root/fuzz/$target.dict" \
  -artifact_prefix="$build/artifacts-$target/" -print_final_stats=1 \
  "$build/corpus-$target" "$root/fuzz/corpus/$target"
