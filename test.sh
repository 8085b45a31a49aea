#!/usr/bin/env bash
# Installs what is missing, builds the debug build with checks, runs every test.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kalvoro_install_missing "${KALVORO_BUILD_PACKAGES[@]}" "${KALVORO_TEST_PACKAGES[@]}"

cmake --preset dev
cmake --build --preset dev -j "$(nproc)"
ctest --preset dev -j "$(nproc)"
