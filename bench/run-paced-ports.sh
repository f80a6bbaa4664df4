#!/usr/bin/env bash
# Builds optimised and times paced id-22 uploads, where the simulator takes
# the time the characters need at the board's baud rate: in each round one
# upload to one board, then four at once with --port given four times, a
# simulator each. Each board has its own line, so four should take no
# longer than one. A busy thread per core at idle priority keeps every core
# awake while the boards wait out the line. usage: run-paced-ports.sh
# [ROUNDS [KIB]]; KIB of data, about 2.7 s on the line each.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
# shellcheck source=bench/paced-setup.sh
source "$root/bench/paced-setup.sh"
paced_setup paced-ports "${2:-12}"
sim="$build/tools/boardsim/tessivar-boardsim"

# N paced boards on $data/board-1 to board-N, their summaries in RUN-i.json;
# then the upload to all of them, its wall time in RUN.ns, its output in
# RUN.host.
upload() {
  local run=$1 count=$2 ports=()
  boards=""
  for i in $(seq "$count"); do
    rm -f "$data/$run-$i.json"
    "$sim" --target 22 --link "$data/board-$i" --delay 300 --pace \
      --summary "$data/$run-$i.json" 2>/dev/null &
    boards="$boards $!"
    ports+=(--port "$data/board-$i")
  done
  for i in $(seq "$count"); do
    for _ in $(seq 100); do [ -e "$data/board-$i" ] && break; sleep 0.05; done
  done
  local start end
  start=$(date +%s%N)
  "$cli" upload --yes "${ports[@]}" "$unit" > "$data/$run.host" 2>&1
  end=$(date +%s%N)
  echo $((end - start)) > "$data/$run.ns"
  # shellcheck disable=SC2086
  wait $boards
  boards=""
}

for round in $(seq "$rounds"); do
  upload "one-$round" 1
  upload "four-$round" 4
done
paced_done

# The wall time of the whole command, and the boards' own time from the
# target byte to the last line: the line's share, which four at once must
# not stretch.
python3 - "$data" "$rounds" <<'PY'
import json, statistics, sys
data, rounds = sys.argv[1], int(sys.argv[2])
def wall(run):
    return int(open(f"{data}/{run}.ns").read()) / 1e9
def board(run, i):
    s = json.load(open(f"{data}/{run}-{i}.json"))
    if s["ended"] != "linger" or s["data_records"] == 0:
        sys.exit(f"{run} board {i} did not end well: ended {s['ended']}")
    return s["first_byte_to_last_line_us"] / 1e6, s["flash_sha256"]
over, board_over = [], []
for r in range(1, rounds + 1):
    one, (one_board, flash) = wall(f"one-{r}"), board(f"one-{r}", 1)
    four = wall(f"four-{r}")
    fours = [board(f"four-{r}", i) for i in range(1, 5)]
    if any(f != flash for _, f in fours):
        sys.exit(f"round {r}: the four flashes differ from the one")
    slowest = max(t for t, _ in fours)
    over.append((four / one - 1) * 100)
    board_over.append((slowest / one_board - 1) * 100)
    print(f"round {r}: one {one:.3f} s (board {one_board:.3f} s), four {four:.3f} s "
          f"(boards {', '.join(f'{t:.3f}' for t, _ in fours)} s): "
          f"{over[-1]:+.2f} % wall, {board_over[-1]:+.2f} % slowest board")
print(f"median: four at once {statistics.median(over):+.2f} % of one's wall time, "
      f"slowest board {statistics.median(board_over):+.2f} % of one board's time")
PY
