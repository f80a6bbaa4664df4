#!/usr/bin/env bash
# Builds optimised and measures paced id-22 uploads, where the simulator
# takes the time the characters need at the board's baud rate, against the
# time inspect reckons for the file on the line: tessivar-cli upload and
# bench/minimal-host.c, the least any host can do, in turns. A busy thread
# per core at idle priority keeps every core awake while the board waits
# out the line. usage: run-paced.sh [ROUNDS [KIB]]; KIB of data, about
# 2.7 s on the line each.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data/paced"
rounds=${1:-3}
kib=${2:-12}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
  -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target tessivar-cli tessivar-boardsim upload_lines minimal-host spin-idle
mkdir -p "$data"
export XDG_CONFIG_HOME="$data/config" XDG_DATA_HOME="$data/data"
unit="$data/id22.s19"
python3 "$root/bench/make-id22-input.py" "$unit" "$kib"
"$build/bench/upload_lines" "$unit" "$data/id22.lines"
cli="$build/tools/cli/tessivar-cli"
"$cli" inspect --json "$unit" 2>/dev/null > "$data/inspect.json"

spinners=""
board=""
cleanup() {
  for pid in $board $spinners; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
"$build/bench/spin-idle" &
spinners=$!

link="$data/board"
# One paced upload by the command given after the summary's name.
upload() {
  local summary=$1
  shift
  rm -f "$summary"
  "$build/tools/boardsim/tessivar-boardsim" --target 22 --link "$link" --delay 300 --pace \
    --summary "$summary" 2>/dev/null &
  board=$!
  for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.05; done
  "$@" > "$summary.host" 2>&1
  wait "$board"
  board=""
}

echo "load before: $(uptime)"
for round in $(seq "$rounds"); do
  upload "$data/ours-$round.json" "$cli" upload --yes --port "$link" "$unit"
  upload "$data/minimal-$round.json" "$build/bench/minimal-host" "$link" 19200 "$data/id22.lines"
done
echo "load after:  $(uptime)"
kill "$spinners"
spinners=""

# Over the line time: the turnarounds (reply written to the next line's
# first byte: the host and the wake-ups) and the board's own replies late.
python3 - "$data" "$rounds" <<'PY'
import json, statistics, sys
data, rounds = sys.argv[1], int(sys.argv[2])
unit = json.load(open(f"{data}/inspect.json"))
line = unit["line_seconds"]
print(f"line time (inspect): {line:.3f} s for {unit['records']} records")
for host in ("ours", "minimal"):
    over = []
    for r in range(1, rounds + 1):
        s = json.load(open(f"{data}/{host}-{r}.json"))
        took = s["first_byte_to_last_line_us"] / 1e6
        over.append((took / line - 1) * 100)
        print(f"{host:8} round {r}: {took:.3f} s {over[-1]:+.2f} %; turnarounds "
              f"{s['turnaround_total_us'] / 1e6:.3f} s (median {s['turnaround_median_us']} us, "
              f"p99 {s['turnaround_p99_us']} us), replies late {s['replies_late_total_us'] / 1e6:.3f} s"
              f"; {s['data_records']} records, flash {s['flash_sha256'][:12]}, ended {s['ended']}")
    print(f"{host:8} median {statistics.median(over):+.2f} % over the line time")
PY
