#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How good the estimates are: a night of 24 varied entries (quick and step
# scans, standard and user blocks, four elements, twelve holders) run by the
# real program against the stand-ins, whose timing (a measurement lasts a
# fraction of its dwell times, a per-point cost, short moves) is nothing like
# the configured duration model. The total Check predicts before the night,
# uncalibrated, and again before a second night of the same schedule, now
# calibrated by the first night's journal, are set against the machine time
# each night took (the entries' seconds, waits for the operator and the
# target left out).
# Usage: bench/estimate/bench_estimate.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
work=$(mktemp -d)
bench=bench_estimate
# shellcheck source=../standins.sh
. "$root/bench/standins.sh"
start_standins --move-time 400 --changer-time 250 --meas-time 150 --time-scale 0.005 --point-time 3
printf 'INCLUDE %s/examples/beamline.cfg\nTOLVA_IP 127.0.0.1\nTOLVA_PORT %s\nKEY_ON_TOLVA "%s"\nJOURNAL %s/journal.csv\n' \
  "$root" "$port" "$keys" "$work" >"$work/run.cfg"
# Kinds of entry, each several times with other sizes.
for i in $(seq 0 23); do
  h=$((i % 12 + 1))
  case $((i % 6)) in
  0 | 3) t=(300 600 120); echo "$h,Cu$i,,,cu-$i.dat,Cu,K,-,-,-,Quick,Trans,Std,XAFS,,${t[$((i % 3))]},1,eV" ;;
  1) echo "$h,CuS$i,,,cus-$i.dat,Cu,K,-,-,-,Step,Trans,Std,XAFS,,\"1, 1, 2, $((2 + i % 3))\",4,eV" ;;
  2) echo "$h,Fe$i,,,fe-$i.dat,Fe,K,-,-,-,Step,Fluo,User,XAFS,,\"2, 2, $((3 + i % 4))\",3,eV,R-200,40,4.5,R-20,200,0.2,R20,$((60 + 20 * (i % 3))),5" ;;
  4) t=(200 400); echo "$h,Zn$i,,,zn-$i.dat,Zn,K,-,-,-,Quick,Trans,Std,XAFS,,${t[$((i % 2))]},1,eV" ;;
  5) echo "$h,Ni$i,,,ni-$i.dat,Ni,K,-,-,-,Step,Trans,User,XAFS,,\"1, 3\",2,eV,R-150,50,3,R0,$((100 + 50 * (i % 2))),1" ;;
  esac
done >"$work/night.csv"

predict() { # the Check's total, in seconds
  (cd "$work" && "$build/skedra" -e -check -c "$work/run.cfg" -load "$work/night.csv") |
    sed -nE 's/^# Total: ([0-9]+):([0-9]+):([0-9]+).*/\1 \2 \3/p' | awk '{print $1 * 3600 + $2 * 60 + $3}'
}
night() {
  (cd "$work" && exec "$build/skedra" -platform offscreen -e -c "$work/run.cfg" -load "$work/night.csv" \
    -go -confirm-prompts -quit-when-done >/dev/null 2>&1) ||
    { echo "bench_estimate: the night did not end well" >&2; exit 1; }
}
machine() { # machine seconds of the entries done in the journal's last run
  awk -F, 'NR > 1 {run = $1} NR > 1 && $13 == "done" {m[$1] += $11 - $16 - $17; n[$1]++}
    END {printf "%.1f %d\n", m[run], n[run]}' "$work/journal.csv"
}
before=$(predict)
night
read -r first done1 <<<"$(machine)"
after=$(predict)
night
read -r second done2 <<<"$(machine)"
echo "estimate entries: $done1 $done2"
echo "estimate uncalibrated prediction: $before s for $first s (error $(awk -v p="$before" -v a="$first" 'BEGIN {printf "%+.1f", 100 * (p - a) / a}') %)"
echo "estimate calibrated prediction: $after s for $second s"
echo "estimate calibrated error: $(awk -v p="$after" -v a="$second" 'BEGIN {printf "%+.1f", 100 * (p - a) / a}') %"
