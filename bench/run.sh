#!/usr/bin/env bash
# Builds the optimised benchmarks and prints the medians of 10 repetitions.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
kalvoro_install_missing "${KALVORO_BUILD_PACKAGES[@]}"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" --target kalvoro_bench kalvoro-batch
build/bench/bench/kalvoro_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_filter="${1:-.}" | grep -E 'median|^Benchmark|^---'
