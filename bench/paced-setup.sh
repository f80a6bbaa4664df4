# shellcheck shell=bash
# What the paced benchmarks share, sourced by them with $root set to the
# repository's folder.
# shellcheck disable=SC2034,SC2154  # set here for them, and set by them

# paced_setup FOLDER KIB [TARGET...]: an optimised build in build-bench of
# the two programs and the TARGETs, $data in bench-data/FOLDER with settings
# of its own, the id-22 input $unit with KIB KiB of data, and a busy thread
# per core at idle priority from here to paced_done, so that no core has to
# wake late while a board waits out the line. The simulators whose ids are
# in $boards end with the script. With more than one core, $board_cpu runs
# a simulator on the last core and $host_cpus a host on the others: a board
# is hardware of its own, and a simulator that shares the host's core (as
# the scheduler chooses some rounds and not others) charges its own wake-up
# and write to the host.
paced_setup() {
  build="$root/build-bench"
  data="$build/bench-data/$1"
  local kib=$2
  shift 2
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAR_BENCH=ON \
    -DTESSIVAR_TESTS=OFF >/dev/null
  cmake --build "$build" --target tessivar-cli tessivar-boardsim spin-idle "$@"
  mkdir -p "$data"
  export XDG_CONFIG_HOME="$data/config" XDG_DATA_HOME="$data/data"
  unit="$data/id22.s19"
  python3 "$root/bench/make-id22-input.py" "$unit" "$kib"
  cli="$build/tools/cli/tessivar-cli"
  spinners=""
  boards=""
  board_cpu=()
  host_cpus=()
  local cores
  cores=$(nproc)
  if [ "$cores" -gt 1 ]; then
    board_cpu=(taskset -c $((cores - 1)))
    host_cpus=(taskset -c 0-$((cores - 2)))
  fi
  trap paced_cleanup EXIT
  "$build/bench/spin-idle" &
  spinners=$!
  echo "load before: $(uptime)"
}

paced_cleanup() {
  for pid in $boards $spinners; do kill "$pid" 2>/dev/null || true; done
}

paced_done() {
  echo "load after:  $(uptime)"
  kill "$spinners"
  spinners=""
}
