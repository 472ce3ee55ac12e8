#!/usr/bin/env bash
# Builds the packages into dist/: the Debian package on Linux, the Windows installer and zip.
# Usage: scripts/package.sh [linux|windows]   (no argument: both)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
jobs=${JOBS:-$(nproc)}
scripts/install-deps.sh --package

linux_packages() {
  local build=build/package-linux
  # Only the program is built: the tests are not packaged, and are built by scripts/test-all.sh.
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    >/dev/null
  cmake --build "$build" --target vellumo -j "$jobs"
  rm -f "$build"/packages/*.deb
  (cd "$build" && cpack -G DEB)
  cp "$build"/packages/*.deb dist/
  # What the package holds, checked end to end: its files, its fields, and its program.
  for deb in "$build"/packages/*.deb; do scripts/check-deb.sh "$deb"; done
}

windows_packages() {
  local build=build/package-windows version
  # Only the shipped program is built (stripped, its symbols in vellumo.exe.debug beside it).
  cmake -S . -B "$build" --toolchain cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
  cmake --build "$build" --target vellumo_shipped -j "$jobs"
  rm -f "$build"/packages/*.exe "$build"/packages/*.zip
  (cd "$build" && cpack)
  cp "$build"/packages/*.exe "$build"/packages/*.zip dist/
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  # The symbols go with the release: a crash in the shipped program can only be read with them.
  (cd "$build/shipped" &&
    cmake -E tar cf "$repo/dist/vellumo-$version-win64-debug.zip" --format=zip vellumo.exe.debug)
  # Installed, run and uninstalled under Wine, in a prefix of its own. Here rather than in ctest:
  # the test needs the packages, and building them every CI run would cost it makensis and time.
  export VELLUMO_WINEPREFIX="${VELLUMO_WINEPREFIX:-$repo/build/wineprefix-package}"
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  trap vellumo_wine_stop EXIT
  tests/windows/package-test.sh dist "$version"
}

mkdir -p dist
case "${1:-all}" in
  linux) scripts/install-deps.sh --package && linux_packages ;;
  windows) scripts/install-deps.sh --package && windows_packages ;;
  all) scripts/install-deps.sh --package && linux_packages && windows_packages ;;
  *) echo "usage: $0 [linux|windows]" >&2; exit 2 ;;
esac
ls -l "$repo/dist"
