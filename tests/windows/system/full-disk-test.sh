#!/usr/bin/env bash
# Runs the converter's full-disk case against a file system of 64 KiB mounted for it, which a
# Windows program under Wine cannot do for itself. Mounting needs root: skipped (77) without.
#
#   full-disk-test.sh <vellumo_winsys_tests.exe>
set -euo pipefail
program=${1:?test program}
tiny=$(mktemp -d)
trap 'umount "$tiny" 2>/dev/null || true; rmdir "$tiny"' EXIT
if ! mount -t tmpfs -o size=64k tmpfs "$tiny" 2>/dev/null; then
  echo "cannot mount a small file system here"
  exit 77
fi
VELLUMO_FULL_DISK="Z:$(printf %s "$tiny" | tr / '\\')" \
  wine "$program" --gtest_filter=WicPictureConverterTest.AFullDiskIsToldAsSuch
