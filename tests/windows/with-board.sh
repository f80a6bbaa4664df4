#!/usr/bin/env bash
# Plays a target board with the Linux simulator on a pseudo-terminal that
# Wine knows as a COM port, runs a Windows program under Wine against it,
# and checks that the board's flash then holds the application file's
# bytes, every other byte at the fill value, as srec_cat reads them.
# usage: with-board.sh BOARDSIM TARGET COMn APPLICATION WINE-RUN PROGRAM [ARGUMENT...]
set -euo pipefail
boardsim=$1 target=$2 port=$3 application=$4
shift 4
work=$(mktemp -d)
board=""
cleanup() {
  [ -n "$board" ] && kill "$board" 2>/dev/null
  rm -rf -- "$work"
}
trap cleanup EXIT
"$boardsim" --target "$target" --link "$work/board" --delay 1000 --linger 1000 \
  --flash "$work/flash.bin" --summary "$work/summary.json" &
board=$!
for _ in $(seq 100); do [ -e "$work/board" ] && break; sleep 0.05; done
WINE_SERIAL_PORTS="$port=$work/board" "$@"
wait "$board"
board=""
size=$(stat -c %s "$work/flash.bin")
srec_cat "$application" -fill 0xFF 0 "$size" -o "$work/expected.bin" -binary
if ! cmp -s "$work/flash.bin" "$work/expected.bin"; then
  echo "The board's flash differs from $application:" >&2
  cmp "$work/flash.bin" "$work/expected.bin" >&2 || true
  exit 1
fi
echo "The board's flash holds $application byte for byte."
