#!/usr/bin/env bash
# The first open of a register against mdb-export of every table, side by side on generated
# registers (katarix-gen, seed 1), with a warm page cache:
#   katarix-sql FILE.mdb "SELECT count(*) FROM KDZIALKA"   with an empty cache folder
#   for t in $(mdb-tables -1 FILE.mdb); do mdb-export FILE.mdb "$t" >/dev/null; done
# Prints the median of RUNS paired runs of each, their ratio, the reopen (katarix-sql with the
# copy in the cache) and the peak memory of the loader run alone.
#
#   bench/mdb/first_open.sh [BUILD_DIR] [PARCELS...]     (default: build 100000 500000; RUNS=5)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 500000)
runs="${RUNS:-5}"
program="$build/Katarix/Program"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

now() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for parcels in "${sizes[@]}"; do
  register="$build/bench/register-$((parcels / 1000))k.mdb"
  if [ ! -f "$register" ]; then
    mkdir -p "$build/bench"
    "$program/katarix-gen" --parcels "$parcels" --seed 1 "$register.part" >/dev/null
    mv "$register.part" "$register"
  fi
  cat "$register" >/dev/null # warm page cache
  mapfile -t tables < <(mdb-tables -1 "$register")
  first=() export=() reopen=()
  for ((i = 1; i <= runs; i++)); do
    rm -rf "$scratch/cache"
    t0=$(now)
    XDG_CACHE_HOME="$scratch/cache" "$program/katarix-sql" "$register" "SELECT count(*) FROM KDZIALKA" >/dev/null
    t1=$(now)
    for t in "${tables[@]}"; do mdb-export "$register" "$t" >/dev/null; done
    t2=$(now)
    XDG_CACHE_HOME="$scratch/cache" "$program/katarix-sql" "$register" "SELECT count(*) FROM KDZIALKA" >/dev/null
    t3=$(now)
    first+=("$(ms "$t0" "$t1")") export+=("$(ms "$t1" "$t2")") reopen+=("$(ms "$t2" "$t3")")
  done
  rm -f "$scratch/copy"
  touch "$scratch/copy"
  peak=$( { /usr/bin/time -f %M "$program/katarix-loader" "$register" "$scratch/copy" >/dev/null; } 2>&1 | tail -1)
  f=$(median "${first[@]}") e=$(median "${export[@]}") r=$(median "${reopen[@]}")
  printf '%d parcels (%d MB): first open %d ms, mdb-export %d ms, ratio %s; katarix-sql on the cached copy %d ms; loader peak %d MB\n' \
    "$parcels" $(( $(stat -L -c %s "$register") / 1000000 )) "$f" "$e" "$(awk -v a="$f" -v b="$e" 'BEGIN {printf "%.2f", a / b}')" \
    "$r" $(( peak / 1024 ))
  printf '  runs (first/mdb-export ms): %s\n' "$(paste -d/ <(printf '%s\n' "${first[@]}") <(printf '%s\n' "${export[@]}") | tr '\n' ' ')"
done
