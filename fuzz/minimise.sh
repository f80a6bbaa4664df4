#!/usr/bin/env bash
# Folds the inputs a fuzz run found into the target's seed corpus, keeping
# only those that add coverage.   fuzz/minimise.sh srecord|prepare
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz/minimise.sh srecord|prepare}
build="$root/build-fuzz"
seeds="$root/fuzz/corpus/$target"
merged=$(mktemp -d)
"$build/fuzz/fuzz_$target" -merge=1 -max_len=8192 "$merged" "$seeds" "$build/corpus-$target"
find "$seeds" -type f -delete
mv "$merged"/* "$seeds"/
rmdir "$merged"
echo "$(ls "$seeds" | wc -l) inputs in $seeds"
