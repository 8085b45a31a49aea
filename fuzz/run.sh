#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds (default 60).
# Fails on any finding; crash inputs are left in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
. scripts/deps.sh
kalvoro_install_missing clang-14 libclang-rt-14-dev cmake ninja-build

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target fuzz_beam_reader fuzz_wmf_reader fuzz_numbers fuzz_vigx_reader

out=build/fuzz
mkdir -p "$out/findings"
seed() {  # seed NAME FILES...: a fresh corpus folder with copies of the files
  local dir="$out/corpus/$1"; shift
  mkdir -p "$dir"
  local f
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$dir/"; done
  return 0
}
seed beam_reader examples/*.vig tests/data_files/*.vig tests/data_files/*/*.vig
seed wmf_reader tests/data_files/*.wmf tests/data_files/*/*.wmf
seed numbers fuzz/seeds/numbers/*
seed vigx_reader examples/*.vigx tests/data_files/*.vigx

# Metafiles made by the batch program from the examples seed the WMF reader too.
if [ -x build/fuzz/app/kalvoro-batch ]; then
  tmp=$(mktemp -d)
  for f in examples/*.vig; do cp "$f" "$tmp/"; build/fuzz/app/kalvoro-batch "$tmp/$(basename "$f")" >/dev/null 2>&1 || true; done
  cp "$tmp"/*.wmf "$out/corpus/wmf_reader/" 2>/dev/null || true
  rm -rf "$tmp"
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in beam_reader wmf_reader numbers vigx_reader; do
  echo "== fuzz_$target for ${seconds}s"
  if ! "build/fuzz/fuzz/fuzz_$target" "$out/corpus/$target" -max_total_time="$seconds" \
       -timeout=10 -rss_limit_mb=2048 -max_len=1048576 -print_final_stats=1 \
       -artifact_prefix="$out/findings/${target}-" 2>"$out/$target.log"; then
    echo "fuzz_$target found a problem:"; tail -n 40 "$out/$target.log"; status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$out/$target.log" | tail -n 2 || true
  fi
done
exit $status
