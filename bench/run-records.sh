#!/usr/bin/env bash
# Builds the records benchmarks optimised and without sanitizers, writes the
# id-21 input and measures: our whole-process import against objcopy and
# srec_cat on the same file (hyperfine), then the in-process figures
# (Google Benchmark). Results land in build-bench/bench-data/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
tessivar_install_missing
build="$root/build-bench"
data="$build/bench-data"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
  -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target srec_import bench_records
mkdir -p "$data"
input="$data/id21.s37"
python3 "$root/bench/make-id21-input.py" "$input"

# Every tool must give the same image before its time means anything.
"$build/bench/srec_import" "$input" "$data/ours.bin" >/dev/null
objcopy -I srec -O binary --gap-fill 0xFF "$input" "$data/objcopy.bin"
srec_cat "$input" -fill 0xFF 0 0x410000 -o "$data/srec_cat.bin" -binary
cmp "$data/ours.bin" "$data/objcopy.bin"
cmp "$data/ours.bin" "$data/srec_cat.bin"

hyperfine --shell=none --warmup 5 --runs 40 --export-markdown "$data/hyperfine.md" \
  -n ours "$build/bench/srec_import $input" \
  -n objcopy "objcopy -I srec -O binary --gap-fill 0xFF $input $data/objcopy.bin" \
  -n srec_cat "srec_cat $input -fill 0xFF 0 0x410000 -o $data/srec_cat.bin -binary"

"$build/bench/bench_records" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  "$input" | tee "$data/bench_records.txt"
