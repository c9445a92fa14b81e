#!/usr/bin/env bash
# Time from "Zakończ" to the end of the process with the four main windows open, on the demo
# register, under Xvfb with openbox (started here, on a display Xvfb picks itself).
#   bench/app/zamkniecie.sh [PROGRAM] [RUNS]
# PROGRAM defaults to build/Katarix/Program/katarix (its Katarix.ini names the register); prints
# each run in seconds and the median. Needs xvfb, openbox and xdotool.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program="${1:-$root/build/Katarix/Program/katarix}"
runs="${2:-5}"
scratch="$(mktemp -d)"
trap 'kill "${openbox_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT

exec 3<> "$scratch/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$scratch/display")"
HOME="$scratch" openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!
sleep 1.5

times=()
for run in $(seq "$runs"); do
  HOME="$scratch" LC_ALL=pl_PL.UTF-8 "$program" >/dev/null 2>&1 &
  pid=$!
  sleep 5
  for key in F7 F5 F6 F8; do xdotool key "$key"; sleep 2; done
  xdotool key alt+s
  sleep 0.7
  start=$(date +%s.%N)
  xdotool key z
  while kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
  end=$(date +%s.%N)
  seconds=$(awk -v a="$end" -v b="$start" 'BEGIN { printf "%.3f", a - b }')
  echo "run $run: $seconds s"
  times+=("$seconds")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "median of %d: %.3f s\n", NR, a[int((NR+1)/2)]}'
