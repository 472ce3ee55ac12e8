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
  systemd                                          # systemd-analyze and the user manager (the timer)
)
# The real desktops tests/desktops starts, and what it shoots and reads the screens with: without
# their recommends, which would more than double the download.
desktops=()
for option in "$@"; do
  case "$option" in
    --bench) packages+=(libbenchmark-dev libjpeg-turbo-progs hyperfine time findutils) ;;
    # CPack's Debian package: dpkg-shlibdeps, and file to find programs; the Windows installer
    # (makensis), and pgrep to wait for its uninstaller
    --package) packages+=(dpkg-dev file nsis procps) ;;
    --demo | --fuzz) packages+=(imagemagick) ;;  # sample pictures, fuzzer seeds
    --desktops)
      packages+=(imagemagick libglib2.0-bin)
      desktops=(sway swaybg grim xfdesktop4 xfconf pcmanfm-qt pcmanfm caja
        dconf-gsettings-backend plasma-workspace plasma-desktop qml-module-org-kde-kirigami2
        gnome-shell cinnamon-desktop-data xserver-xorg-core xserver-xorg-video-dummy)
      ;;
    *) echo "install-deps.sh: unknown option $option" >&2 && exit 2 ;;
  esac
done

# Prints the packages of the list that are not installed.
missing() {
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      echo "$package"
  done
}
mapfile -t missing < <(missing "${packages[@]}")
mapfile -t missing_desktops < <(missing "${desktops[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_desktops[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
if [ ${#missing_desktops[@]} -gt 0 ]; then
  echo "Installing desktops: ${missing_desktops[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
    "${missing_desktops[@]}"
fi
