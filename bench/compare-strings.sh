#!/usr/bin/env bash
# Compares salvage_bench with `strings -el` on the generated inputs, on one core, in one run.
#   bench/compare-strings.sh BENCH_EXE INPUT_DIR [RUNS]
# Writes the inputs first when INPUT_DIR lacks them. Prints, per input, the best of RUNS times of
# each tool, the throughput ratio, and the time of each 64 MiB input over its 16 MiB one.
set -euo pipefail
bench=$1
inputs=$2
runs=${3:-5}
mkdir -p "$inputs"
[ -f "$inputs/mixed-64M.bin" ] || "$bench" --make-inputs "$inputs"

# Seconds, best of $runs, of the command given.
best() {
  local t best_t=
  for _ in $(seq "$runs"); do
    local s e
    s=$(date +%s%N)
    "$@" >/dev/null
    e=$(date +%s%N)
    t=$(( e - s ))
    if [ -z "$best_t" ] || [ "$t" -lt "$best_t" ]; then best_t=$t; fi
  done
  echo "$best_t"
}

declare -A ours
printf '%-16s %10s %10s %10s %10s %7s\n' input salvage_s strings_s salv_MB/s str_MB/s ratio
for kind in random zeros prose mixed; do
  for size in 16 64; do
    f="$inputs/$kind-${size}M.bin"
    bytes=$(stat -c %s "$f")
    a=$(best taskset -c 0 "$bench" "$f")
    b=$(best taskset -c 0 strings -el "$f")
    ours[$kind-$size]=$a
    awk -v n="$kind-${size}M" -v a="$a" -v b="$b" -v bytes="$bytes" 'BEGIN {
      printf "%-16s %10.4f %10.4f %10.1f %10.1f %6.2fx\n", n, a / 1e9, b / 1e9,
             bytes / (a / 1e9) / 1e6, bytes / (b / 1e9) / 1e6, b / a }'
  done
done
for kind in random zeros prose mixed; do
  awk -v k="$kind" -v a="${ours[$kind-16]}" -v b="${ours[$kind-64]}" \
      'BEGIN { printf "%-8s 64 MiB / 16 MiB time: %.2f\n", k, b / a }'
done
