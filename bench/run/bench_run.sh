#!/usr/bin/env bash
# Resident memory of a whole night in miniature: 200 entries run by the real
# program against the bus server stand-in and the target simulator with no
# delays, the way an operator runs it unattended. Prints the peak resident
# memory of skedra and the run's length.
# Usage: bench/run/bench_run.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?build folder}
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
keys=$root/examples/Tarnix.key
"$build/tools/tolva-server/tolva-server" --port 0 --key-file "$keys" >"$work/server.out" 2>/dev/null &
pids+=($!)
port=
for _ in $(seq 1 100); do
  read -r word _ port <"$work/server.out" 2>/dev/null || true
  [ "${word:-}" = listening ] && [ -n "$port" ] && break
  port=
  sleep 0.1
done
[ -n "$port" ] || { echo "bench_run: no server" >&2; exit 1; }
"$build/tools/dorvan-sim/dorvan-sim" --host 127.0.0.1 --port "$port" --key-file "$keys" \
  --move-time 0 --changer-time 0 --meas-time 0 2>"$work/sim.log" &
pids+=($!)
for _ in $(seq 1 100); do grep -q "logged in" "$work/sim.log" && break; sleep 0.1; done
printf 'INCLUDE %s/examples/beamline.cfg\nTOLVA_IP 127.0.0.1\nTOLVA_PORT %s\nKEY_ON_TOLVA "%s"\n' \
  "$root" "$port" "$keys" >"$work/run.cfg"
for i in $(seq 0 199); do
  el=(Cu Fe Zn Ni); e=${el[$((i % 4))]}
  echo "$((i % 12 + 1)),S$i,c$i,,$e-$i.dat,$e,K,-,-,-,Quick,Trans,Std,XAFS,,300,1,eV"
done >"$work/run.csv"
start=$(date +%s.%N)
# In its own folder: the night's journal, run copy and log stay out of the checkout.
(cd "$work" && exec "$build/skedra" -platform offscreen -e -c "$work/run.cfg" -load "$work/run.csv" \
  -go -confirm-prompts -quit-when-done >/dev/null 2>&1) &
pid=$!
# The kernel keeps the peak (VmHWM) while the process lives: read it until the end.
kb=0
while kill -0 "$pid" 2>/dev/null; do
  v=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$v" ] && kb=$v
  sleep 0.2
done
wait "$pid" || { echo "bench_run: the run did not end well" >&2; exit 1; }
secs=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.1f", b - a}')
echo "run entries: 200"
echo "run peak RSS: $((kb / 1024)) MB"
echo "run time: $secs s"
