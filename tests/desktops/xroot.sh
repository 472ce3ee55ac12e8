#!/usr/bin/env bash
# A bare X server, no desktop: vellumo draws the root window's background itself.
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin x-root

start_xvfb
check_modes
