#!/usr/bin/env bash
# Builds optimised and measures paced id-22 uploads, where the simulator
# takes the time the characters need at the board's baud rate, against the
# time inspect reckons for the file on the line: tessivar-cli upload and
# bench/minimal-host.c, the least any host can do, in turns. A busy thread
# per core at idle priority keeps every core awake while the board waits
# out the line, and the simulator has a core of its own. usage:
# run-paced.sh [ROUNDS [KIB]]; KIB of data, about 2.7 s on the line each.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
# shellcheck source=bench/paced-setup.sh
source "$root/bench/paced-setup.sh"
paced_setup paced "${2:-12}" upload_lines minimal-host
"$build/bench/upload_lines" "$unit" "$data/id22.lines"
"$cli" inspect --json "$unit" 2>/dev/null > "$data/inspect.json"

link="$data/board"
# One paced upload by the command given after the summary's name.
upload() {
  local summary=$1
  shift
  rm -f "$summary"
  "${board_cpu[@]}" "$build/tools/boardsim/tessivar-boardsim" --target 22 --link "$link" \
    --delay 300 --pace --summary "$summary" 2>/dev/null &
  boards=$!
  for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.05; done
  "${host_cpus[@]}" "$@" > "$summary.host" 2>&1
  wait "$boards"
  boards=""
}

for round in $(seq "$rounds"); do
  upload "$data/ours-$round.json" "$cli" upload --yes --port "$link" "$unit"
  upload "$data/minimal-$round.json" "$build/bench/minimal-host" "$link" 19200 "$data/id22.lines"
done
paced_done

# Over the line time: the turnarounds (reply written to the next line's
# first byte: the host and the wake-ups) and the board's own replies late,
# which a board's hardware would not be, so they are also shown taken off.
python3 - "$data" "$rounds" <<'PY'
import json, statistics, sys
data, rounds = sys.argv[1], int(sys.argv[2])
unit = json.load(open(f"{data}/inspect.json"))
line = unit["line_seconds"]
print(f"line time (inspect): {line:.3f} s for {unit['records']} records")
for host in ("ours", "minimal"):
    over, host_share = [], []
    for r in range(1, rounds + 1):
        s = json.load(open(f"{data}/{host}-{r}.json"))
        took = s["first_byte_to_last_line_us"] / 1e6
        over.append((took / line - 1) * 100)
        host_share.append(((took - s["replies_late_total_us"] / 1e6) / line - 1) * 100)
        print(f"{host:8} round {r}: {took:.3f} s {over[-1]:+.2f} %; turnarounds "
              f"{s['turnaround_total_us'] / 1e6:.3f} s (median {s['turnaround_median_us']} us, "
              f"p99 {s['turnaround_p99_us']} us), replies late {s['replies_late_total_us'] / 1e6:.3f} s, "
              f"early {s['replies_early_total_us'] / 1e6:.3f} s"
              f"; {s['data_records']} records, flash {s['flash_sha256'][:12]}, ended {s['ended']}")
    print(f"{host:8} median {statistics.median(over):+.2f} % over the line time, "
          f"{statistics.median(host_share):+.2f} % without the board's late replies")
PY
