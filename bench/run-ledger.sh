#!/usr/bin/env bash
# Builds optimised and measures the ledger verb on ledgers of 10 k, 100 k
# and 1 M uploads as the programs write them: the table and --json, each
# whole and with --last 5, their peak resident memory (/usr/bin/time -v)
# and median time (hyperfine). Results land in build-bench/bench-data/ledger/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data/ledger"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
  -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target make_ledger tessivar-cli
mkdir -p "$data"
cli="$build/tools/cli/tessivar-cli"
table="$data/ledger.md"

echo "| lines | ledger size | command | peak RSS | median time |" | tee "$table"
echo "|---|---|---|---|---|" | tee -a "$table"
for lines in 10000 100000 1000000; do
  export XDG_DATA_HOME="$data/$lines"
  ledger="$XDG_DATA_HOME/Quellis/Tessivar/uploads.jsonl"
  mkdir -p "$(dirname "$ledger")"
  "$build/bench/make_ledger" "$ledger" "$lines"
  size=$(du -h --apparent-size "$ledger" | cut -f1)
  for options in "" "--json" "--last 5" "--json --last 5"; do
    # shellcheck disable=SC2086 # the options are words
    /usr/bin/time -v -o "$data/time.txt" "$cli" ledger $options >/dev/null
    rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f MB", $2 / 1024 }' \
      "$data/time.txt")
    hyperfine --shell=none --warmup 2 --min-runs 5 --max-runs 30 \
      --export-json "$data/hyperfine.json" "$cli ledger $options" >/dev/null
    median=$(python3 -c 'import json, sys
print("%.1f ms" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1000))' \
      "$data/hyperfine.json")
    echo "| $lines | $size | ledger $options | $rss | $median |" | tee -a "$table"
  done
done
