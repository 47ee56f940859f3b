#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz and runs each for SECONDS (default 60) from
# the seed corpus the build makes. A crash, a hang (10 s on one input), a leak, or an allocation
# of more than 128 MB at once (far beyond anything a small input may make the readers take)
# fails the run; the input that did it is kept in build-fuzz/findings/TARGET/. Prints each
# target's executions a second.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPELBROOK_FUZZ=ON >/dev/null
cmake --build build-fuzz -j2 >/dev/null
for kind in s16 spr bmp png registry atlas preview; do
  findings=build-fuzz/findings/$kind
  mkdir -p "build-fuzz/corpus/$kind"  # a target without made seeds starts from nothing
  seeds=("build-fuzz/corpus/$kind")
  # The preview reads either sprite format.
  [ "$kind" != preview ] || seeds=(build-fuzz/corpus/s16 build-fuzz/corpus/spr)
  rm -rf "$findings"
  mkdir -p "$findings"
  grown=$(mktemp -d)  # new inputs go here; the made seeds stay as they are
  log=$findings/log
  if ! build-fuzz/fuzz_$kind -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -malloc_limit_mb=128 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$grown" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 60 "$log"
    rm -rf "$grown"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz_$kind: $runs executions in $seconds s, $((runs / seconds)) a second"
  rm -rf "$grown"
done
