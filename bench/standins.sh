# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the benchmarks that run a night: starts the bus server stand-in
# on a port of the system's choosing and the target simulator with the
# arguments given, in $work, and stops both when the script ends.
# Needs: root, build, work set; the caller's name in bench.
# Sets: port, keys.
# Usage: start_standins SIMULATOR-ARGUMENTS...
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
keys=$root/examples/Tarnix.key
start_standins() {
  "$build/tools/tolva-server/tolva-server" --port 0 --key-file "$keys" >"$work/server.out" 2>/dev/null &
  pids+=($!)
  port=
  for _ in $(seq 1 100); do
    read -r word _ port <"$work/server.out" 2>/dev/null || true
    [ "${word:-}" = listening ] && [ -n "$port" ] && break
    port=
    sleep 0.1
  done
  [ -n "$port" ] || { echo "$bench: no server" >&2; exit 1; }
  "$build/tools/dorvan-sim/dorvan-sim" --host 127.0.0.1 --port "$port" --key-file "$keys" "$@" \
    2>"$work/sim.log" &
  pids+=($!)
  for _ in $(seq 1 100); do grep -q "logged in" "$work/sim.log" && break; sleep 0.1; done
}
