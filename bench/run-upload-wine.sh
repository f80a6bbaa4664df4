#!/usr/bin/env bash
# The turnaround per record of tessivar-cli.exe under Wine beside the Linux
# tessivar-cli, as the board simulator's summary reports it (reply written
# to the next line's first byte), over the same unpaced id-21 upload as
# run-upload.sh: 66,560 records. Under Wine the figure partly measures Wine.
# Needs scripts/build-windows run first; builds the Linux side optimised.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
windows="$root/build-windows"
data="$build/bench-data"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
  -DTESSIVAR_TESTS=OFF >/dev/null
cmake --build "$build" --target tessivar-cli tessivar-boardsim
mkdir -p "$data"
id21="$data/id21.s37"
[ -f "$id21" ] || python3 "$root/bench/make-id21-input.py" "$id21"
printf '15\r\nFF\r\n' > "$data/id21.cmd"
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
# The Wine prefix of this script's own, its COM5 mapped to this run's board.
rm -rf -- "$windows/wine/bench-upload"

# One upload by the command given after the port; prints the summary's figures.
upload() {
  local name=$1 port=$2
  shift 2
  "$build/tools/boardsim/tessivar-boardsim" --target 21 --link "$work/board" --delay 300 \
    --summary "$work/summary.json" >/dev/null 2>&1 &
  local board=$!
  for _ in $(seq 100); do [ -e "$work/board" ] && break; sleep 0.05; done
  local started=$SECONDS
  "$@" upload --yes --port "$port" "$id21" >/dev/null 2>&1
  wait "$board"
  python3 - "$name" "$work/summary.json" "$((SECONDS - started))" <<'PY'
import json, sys
s = json.load(open(sys.argv[2]))
print(f"{sys.argv[1]:<22} records {s['data_records']:>6}  turnaround median {s['turnaround_median_us']:>5} us"
      f"  p99 {s['turnaround_p99_us']:>6} us  whole upload {sys.argv[3]} s")
PY
}

upload "Linux tessivar-cli" "$work/board" "$build/tools/cli/tessivar-cli"
WINE_TEST_PREFIX=bench-upload WINE_SERIAL_PORTS="COM5=$work/board" \
  upload "tessivar-cli.exe, Wine" 5 "$windows/wine-run.sh" "$windows/Tessivar/tessivar-cli.exe"
