#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Resident memory of a whole night in miniature: 200 entries run by the real
# program against the bus server stand-in and the target simulator with no
# delays, the way an operator runs it unattended. Prints the peak resident
# memory of skedra and the run's length.
# Usage: bench/run/bench_run.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
work=$(mktemp -d)
bench=bench_run
# shellcheck source=../standins.sh
. "$root/bench/standins.sh"
start_standins --move-time 0 --changer-time 0 --meas-time 0
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
