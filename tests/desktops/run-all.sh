#!/usr/bin/env bash
# The real-desktops suite: installs the desktops from Debian's packages (without their
# recommends; --no-install skips that), builds vellumo if needed, and runs every desktop's
# script in turn, each on its own private display and bus. Exits non-zero when a check failed.
set -euo pipefail
cd "$(dirname "$0")/../.."

[ "${1:-}" = --no-install ] || scripts/install-deps.sh --desktops
[ -f build/linux/CMakeCache.txt ] || cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target vellumo >/dev/null

desktops=(sway xfce lxqt lxde mate plasma gnome xroot gsettings-keys)
summaries=()
status=0
started=$SECONDS
for desktop in "${desktops[@]}"; do
  log=$(mktemp)
  "tests/desktops/$desktop.sh" 2>&1 | tee "$log" || status=1
  summaries+=("$(grep -E '^[^ ]+: [0-9]+ passed' "$log" || echo "$desktop: did not finish")")
  rm -f "$log"
done

echo
printf '%s\n' "${summaries[@]}"
echo "all desktops: $((SECONDS - started)) s"
exit "$status"
