#!/usr/bin/env bash
# Builds optimised and measures a whole unpaced id-21 upload (66,560
# records) to the board simulator on a pseudo-terminal: the host's
# turnaround per record (reply delivered to next line handed to the port)
# and the simulator's (reply written to next line's first byte), median
# and 99th percentile.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
  -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_upload tessivar-boardsim
mkdir -p "$data"
id21="$data/id21.s37"
[ -f "$id21" ] || python3 "$root/bench/make-id21-input.py" "$id21"
printf '15\r\nFF\r\n' > "$data/id21.cmd"
"$build/bench/bench_upload" "$build/tools/boardsim/tessivar-boardsim" "$id21" | tee "$data/upload.txt"
