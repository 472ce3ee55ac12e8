#!/usr/bin/env bash
# Builds both programs and runs every test: the Linux build natively, the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset linux
cmake --build --preset linux -j "$(nproc)"
ctest --preset linux

cmake --preset windows
cmake --build --preset windows -j "$(nproc)"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# The X server and the Wine server with its services go when the tests end, however they end.
trap vellumo_wine_stop EXIT
ctest --preset windows
