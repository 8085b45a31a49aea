#!/usr/bin/env bash
# Installs what is missing, builds the release build and runs the program:
# the desktop program on a copy of examples/dois-trechos.vig when a display is
# present (DISPLAY or WAYLAND_DISPLAY), otherwise the batch program's analysis
# of that copy.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kalvoro_install_missing "${KALVORO_BUILD_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
# Work on a copy so that the example stays as it is and the outputs land in build/.
mkdir -p build/run
cp examples/dois-trechos.vig build/run/
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/release/app/gui/kalvoro ]; then
  exec build/release/app/gui/kalvoro build/run/dois-trechos.vig
fi
exec build/release/app/kalvoro-batch build/run/dois-trechos.vig "$@"
