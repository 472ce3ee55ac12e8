#!/usr/bin/env bash
# The change every so often, end to end with a real systemd user manager: "Every 15 Minutes"
# chosen in the settings window, the timer active with its next change 15 minutes on, the
# service started once by hand changing the X root window's wallpaper, and both units gone once
# Startup is released.
# Usage: schedule-e2e-test.sh VELLUMO DRIVER PICTURES_FOLDER
#
# A user manager wants a system booted with systemd and a control group of its own. Where the
# machine has neither (a container), this runs as root in a mount namespace of its own that
# says systemd booted, with the manager alone in a fresh control group removed at the end.
# Exit 77 (skipped) where that cannot be done.
set -euo pipefail
vellumo=$1 driver=$2 pictures=$3
manager=/lib/systemd/systemd

skip() {
  echo "SKIP: $*"
  exit 77
}
if [ -z "${SCHEDULE_E2E_NAMESPACE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || skip "needs root for a mount namespace and a control group"
  [ -x "$manager" ] && command -v systemctl >/dev/null || skip "systemd is not installed"
  [ -d /run/systemd/system ] && skip "booted with systemd: its own managers own the control groups"
  command -v Xvfb >/dev/null && command -v xprop >/dev/null || skip "needs Xvfb and xprop"
  exec env SCHEDULE_E2E_NAMESPACE=1 unshare --mount --propagation private "$0" "$@"
fi

root=$(mktemp -d /tmp/vellumo-schedule.XXXXXX)
group=vellumo-schedule-$$
hierarchies=()
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  for hierarchy in "${hierarchies[@]}"; do
    # What the manager started and left, then the groups, innermost first.
    find "$hierarchy/$group" -name cgroup.procs -exec cat {} + 2>/dev/null | xargs -r kill -9 2>/dev/null || true
    sleep 0.2
    find "$hierarchy/$group" -depth -type d -exec rmdir {} + 2>/dev/null || true
  done
  rm -rf "$root"
}
trap cleanup EXIT

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok: $what"
  else
    failed=$((failed + 1))
    echo "FAIL: $what"
  fi
}

# This namespace's /run/systemd says the system booted with systemd; the host's stays as it is.
mount -t tmpfs tmpfs /run/systemd
mkdir /run/systemd/system

# A private user: home, runtime folder, display; the program in a folder whose name needs quotes.
export HOME=$root/home XDG_RUNTIME_DIR=$root/runtime
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CURRENT_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY SWAYSOCK \
  HYPRLAND_INSTANCE_SIGNATURE DBUS_SESSION_BUS_ADDRESS XAUTHORITY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME
mkdir -p "$HOME/.config/vellumo" "$root/my programs"
mkdir -m 700 "$XDG_RUNTIME_DIR"
program="$root/my programs/vellumo"
cp "$vellumo" "$program"
printf '[Settings]\nsSourceFolder=%s/\niSourceType=1\nbFadeOut=False\n' "$pictures" \
  >"$HOME/.config/vellumo/settings.ini"
settings=$HOME/.config/vellumo/settings.ini
units=$HOME/.config/systemd/user

exec 5>"$root/display"
Xvfb -displayfd 5 -screen 0 640x480x24 -noreset >"$root/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$root/display")

# The manager alone in a fresh control group (every hierarchy it uses), with the bare
# environment a login gives it: the session's variables reach it only when handed over.
for hierarchy in /sys/fs/cgroup/systemd /sys/fs/cgroup/unified /sys/fs/cgroup; do
  [ -f "$hierarchy/cgroup.procs" ] || continue
  mkdir "$hierarchy/$group"
  hierarchies+=("$hierarchy")
done
(
  for hierarchy in "${hierarchies[@]}"; do echo "$BASHPID" >"$hierarchy/$group/cgroup.procs"; done
  exec env -i HOME="$HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    "$manager" --user --log-target=console
) >"$root/manager.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/systemd/private" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/systemd/private" ] || { cat "$root/manager.log"; skip "the user manager did not start"; }
systemctl --user is-system-running --wait >/dev/null 2>&1 || true

show() { systemctl --user show "$1" -p "$2" --value; }
# A systemd time span ("2h 11min 20.8s") in whole seconds.
span_seconds() {
  local total=0 word value
  for word in $1; do
    value=${word%%[a-z]*}
    case ${word#"$value"} in
      w) total=$((total + ${value%.*} * 604800)) ;;
      d) total=$((total + ${value%.*} * 86400)) ;;
      h) total=$((total + ${value%.*} * 3600)) ;;
      min) total=$((total + ${value%.*} * 60)) ;;
      s) total=$((total + ${value%.*})) ;;
    esac
  done
  echo "$total"
}

# "Every 15 Minutes", chosen from the Startup button's arrow.
check "the menu's choice leaves Startup pressed" "$driver" "$program" choose 2
check "the choice is stored" grep -qx 'iInterval=15' "$settings"
check "the change at logon is registered too" test -f "$HOME/.config/autostart/vellumo.desktop"
check "the timer is enabled" test "$(systemctl --user is-enabled vellumo-next.timer)" = enabled
check "the timer is active" test "$(systemctl --user is-active vellumo-next.timer)" = active
# The timer's elapse is on the monotonic clock, which counts from boot as /proc/uptime does.
elapse=$(span_seconds "$(show vellumo-next.timer NextElapseUSecMonotonic)")
left=$((elapse - $(cut -d. -f1 /proc/uptime)))
echo "next change in $left s"
# The timer's default accuracy lets the elapse come up to a minute late.
check "the next change is 15 minutes on" test "$left" -ge 840 -a "$left" -le 960
check "the session's display reached the manager" \
  bash -c "systemctl --user show-environment | grep -qx 'DISPLAY=$DISPLAY'"

# The service once by hand: the run the timer would start, with the manager's environment.
before=$(xprop -root _XROOTPMAP_ID 2>&1 || true)
check "the service runs to its end" systemctl --user start vellumo-next.service
check "the service succeeded" test "$(show vellumo-next.service Result)" = success
after=$(xprop -root _XROOTPMAP_ID 2>&1 || true)
echo "root pixmap: $before -> $after"
check "the root window has a new wallpaper" test "$before" != "$after" -a -n "${after##*not found*}"
check "the run stored the picture it applied" grep -q "^sLastFile=$pictures/" "$settings"

# Startup released: both units gone, the choice kept for the next press.
check "a click on the face releases Startup" "$driver" "$program" release
check "the timer's file is gone" test ! -e "$units/vellumo-next.timer"
check "the service's file is gone" test ! -e "$units/vellumo-next.service"
check "the manager no longer knows the timer" test "$(show vellumo-next.timer LoadState)" = not-found
check "the manager no longer knows the service" test "$(show vellumo-next.service LoadState)" = not-found
check "the change at logon is gone" test ! -e "$HOME/.config/autostart/vellumo.desktop"
check "the choice stays" grep -qx 'iInterval=15' "$settings"

[ "$failed" -eq 0 ] || { echo "--- manager"; tail -n 30 "$root/manager.log"; }
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
