#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test both programs. Quick when
# everything is there already: apt is only asked when a package is missing.
set -euo pipefail

packages=(
  cmake g++ googletest libgtest-dev libgmock-dev  # build and unit tests
  clang libclang-rt-dev                            # the sanitizer build and the fuzzers
  libjpeg62-turbo-dev libgif-dev libx11-dev       # Linux picture codecs and X11 wallpaper
  qt6-base-dev                                     # the Linux windows (Qt 6 Widgets)
  libpng-dev zlib1g-dev                            # reading the wallpaper PNG back (X11, tests)
  libdeflate-dev                                   # the wallpaper PNG's checksums
  libdbus-1-dev dbus-daemon pkg-config            # Plasma and Deepin wallpaper over D-Bus
  xvfb x11-utils                                   # an X server for the X11 and Wine tests
  g++-mingw-w64-x86-64-posix                       # the Windows cross build
  wine wine64                                      # running the Windows tests
  desktop-file-utils appstream                     # validating the installed desktop files
)
for option in "$@"; do
  case "$option" in
    --bench) packages+=(libbenchmark-dev libjpeg-turbo-progs hyperfine time findutils) ;;
    # CPack's Debian package: dpkg-shlibdeps, and file to find programs; the Windows installer
    # (makensis), and pgrep to wait for its uninstaller
    --package) packages+=(dpkg-dev file nsis procps) ;;
    --demo | --fuzz) packages+=(imagemagick) ;;  # sample pictures, fuzzer seeds
    *) echo "install-deps.sh: unknown option $option" >&2 && exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
