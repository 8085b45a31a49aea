#!/usr/bin/env bash
# Installs what is missing, builds the release build and runs the program's
# main job: the analysis of examples/dois-trechos.vig by the batch program.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kalvoro_install_missing "${KALVORO_BUILD_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
# Work on a copy so that the example stays as it is and the outputs land in build/.
mkdir -p build/run
cp examples/dois-trechos.vig build/run/
exec build/release/app/kalvoro-batch build/run/dois-trechos.vig "$@"
