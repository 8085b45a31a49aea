#!/usr/bin/env bash
# Builds the optimised benchmarks and prints the medians of 10 repetitions,
# the ratios (c)/(b) and (e)/(/bin/true) of this same run, and what the
# figures depend on: the machine, its load average before and after, the date.
# `bench/run.sh Influence` runs only the benchmarks whose names match.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
kalvoro_install_missing "${KALVORO_BUILD_PACKAGES[@]}"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" --target kalvoro_bench kalvoro_gui_bench kalvoro-batch >/dev/null

echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
results=$(for program in kalvoro_bench kalvoro_gui_bench; do
  build/bench/bench/$program --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
    --benchmark_filter="${1:-.}" 2>/dev/null | grep -E 'median|^Benchmark|^---' || true
done)
echo "$results"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

# Ratios of the wall-clock medians, each pair from this run.
echo "$results" | awk '
  function us(value, unit) {
    return unit == "ns" ? value / 1000 : unit == "ms" ? value * 1000 : unit == "s" ? value * 1e6 : value
  }
  /_median/ { name = $1; sub(/_median$/, "", name); sub(/\/real_time$/, "", name); t[name] = us($2, $3) }
  END {
    if (("InfluenceLines" in t) && ("EngineRun" in t) && t["EngineRun"] > 0)
      printf "(c)/(b) influence lines over one engine run: %.0f\n", t["InfluenceLines"] / t["EngineRun"]
    if (("BatchProcess" in t) && ("TrueProcess" in t) && t["TrueProcess"] > 0)
      printf "(e)/(/bin/true) batch program over starting a process: %.1f\n", t["BatchProcess"] / t["TrueProcess"]
  }'
