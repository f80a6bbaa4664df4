#!/usr/bin/env bash
# Builds optimised and measures image preparation: in-process (Google
# Benchmark) and, as whole processes in one hyperfine run and again in
# turns, the headless inspect command against objcopy converting the same
# files; then inspect on a hostile command file. Results land in
# build-bench/bench-data/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
  -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_prepare tessivar-cli
mkdir -p "$data"
id21="$data/id21.s37"
type1="$data/type1.s19"
python3 "$root/bench/make-id21-input.py" "$id21"
printf '15\r\nFF\r\n' > "$data/id21.cmd"
python3 "$root/bench/make-type1-input.py" "$type1"
# A hostile command file: a million lines that each protect the whole id-21
# image (14 MB).
protect="$data/protect.s19"
printf 'S9030000FC\r\n' > "$protect"
python3 -c "import sys; sys.stdout.write('15\r\nFF\r\n' + '0,0,40FFFF,R\r\n' * 1000000)" \
  > "$data/protect.cmd"

cli="$build/tools/cli/tessivar-cli"
# inspect resets the application object, which reads the line settings:
# from a store of the benchmark's own.
export XDG_CONFIG_HOME="$data/config"
hyperfine --shell=none --warmup 5 --runs 40 --export-markdown "$data/hyperfine-prepare.md" \
  -n "inspect id21" "$cli inspect $id21" \
  -n "objcopy id21" "objcopy -I srec -O binary --gap-fill 0xFF $id21 $data/id21.bin" \
  -n "inspect type1" "$cli inspect $type1" \
  -n "objcopy type1" "objcopy -I srec -O binary --gap-fill 0xFF $type1 $data/type1.bin"
# The same pair in turns, which a noisy machine disturbs less.
python3 "$root/bench/interleave.py" 100 "$cli inspect $id21" \
  "objcopy -I srec -O binary --gap-fill 0xFF $id21 $data/id21.bin" | tee "$data/interleaved.txt"
hyperfine --shell=none --warmup 1 --runs 5 --export-markdown "$data/hyperfine-protect.md" \
  -n "inspect, a million protect lines" "$cli inspect $protect"

"$build/bench/bench_prepare" "$id21" "$type1" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true | tee "$data/bench_prepare.txt"
