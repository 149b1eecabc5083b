#!/usr/bin/env bash
# Builds the benchmarks in Release and prints their medians.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-release}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)" --target bench_codec bench_roundtrip
for b in "$BUILD_DIR"/bench/bench_*; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
