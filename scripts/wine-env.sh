# shellcheck shell=bash
# Prepares the environment for running the Windows build's tests under Wine. Source it before
# ctest:
#
#   source scripts/wine-env.sh && ctest --test-dir build/windows
#
# It exports a throwaway 64-bit prefix (VELLUMO_WINEPREFIX overrides the default
# <repo>/build/wineprefix), quiet Wine settings and an X display (Xvfb when none is reachable),
# initialises the prefix once, and keeps a persistent wineserver with the Wine services running.
# Without that, every test pays seconds of start-up, and a wineserver or service started from
# inside ctest inherits its output pipes so ctest waits for them forever.
#
# Safe to source again: a second call reuses the prefix, the display and the server.
#
# vellumo_wine_stop, defined here, ends what this sourcing started (the Xvfb and the Wine
# server with its services), and nothing it found already running:
#
#   trap vellumo_wine_stop EXIT

_vellumo_wine_setup() {
  local repo
  repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd) || return 1

  export WINEPREFIX="${VELLUMO_WINEPREFIX:-$repo/build/wineprefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64

  mkdir -p "$(dirname "$WINEPREFIX")" || return 1
  local log="$WINEPREFIX.log"

  # Another shell may be preparing the same prefix right now; one at a time. The lock's fd is
  # closed in every process started below, or a server living on would hold the lock forever.
  exec 198>"$WINEPREFIX.setup-lock" || return 1
  if command -v flock >/dev/null && ! flock -w 300 198; then
    echo "wine-env: $WINEPREFIX.setup-lock still held after 300 s" >&2
    exec 198>&-
    return 1
  fi

  _vellumo_ensure_display "$log" &&
    _vellumo_init_prefix "$log" &&
    _vellumo_start_server "$log"
  local rc=$?

  exec 198>&-
  return $rc
}

# True when the X display $1 accepts connections.
_vellumo_display_reachable() {
  [ -n "$1" ] || return 1
  if command -v xdpyinfo >/dev/null; then
    DISPLAY="$1" timeout 5 xdpyinfo >/dev/null 2>&1
    return
  fi
  # Without xdpyinfo only local displays can be checked, through their socket.
  local number="${1#*:}"
  number="${number%%.*}"
  [ -S "/tmp/.X11-unix/X$number" ]
}

_vellumo_ensure_display() {
  local log=$1
  _vellumo_display_reachable "${DISPLAY:-}" && return 0

  # A display this script started earlier, from another shell, is reused.
  local recorded="$WINEPREFIX.display"
  if [ -f "$recorded" ] && _vellumo_display_reachable "$(cat "$recorded")"; then
    DISPLAY=$(cat "$recorded")
    export DISPLAY
    return 0
  fi

  command -v Xvfb >/dev/null || {
    echo "wine-env: no X display and no Xvfb" >&2
    return 1
  }
  local n=99
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done

  # -noreset keeps the server (and what clients set on it) alive between test programs.
  setsid Xvfb ":$n" -screen 0 1024x768x24 -noreset </dev/null >>"$log" 2>&1 198>&- &
  VELLUMO_STARTED_XVFB=$!
  local _
  for _ in $(seq 50); do
    _vellumo_display_reachable ":$n" && break
    sleep 0.1
  done
  _vellumo_display_reachable ":$n" || {
    echo "wine-env: Xvfb :$n did not start (see $log)" >&2
    return 1
  }
  export DISPLAY=":$n"
  echo "$DISPLAY" >"$recorded"
}

_vellumo_init_prefix() {
  local log=$1
  local ready="$WINEPREFIX/.vellumo-ready"
  [ -f "$ready" ] && return 0

  wineboot -i </dev/null >>"$log" 2>&1 198>&- || {
    echo "wine-env: wineboot failed (see $log)" >&2
    return 1
  }
  wineserver -w
  # A crashing test must fail, not wait for someone to close a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >>"$log" 2>&1 198>&- || return 1
  # Without a window manager (a bare Xvfb) Wine waits about two seconds for one to confirm
  # every window it maps or withdraws; unmanaged windows skip the wait.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >>"$log" 2>&1 198>&- || return 1
  wineserver -w
  touch "$ready"
}

_vellumo_start_server() {
  local log=$1
  # Starts the server, or makes a running one persistent. Its output goes to the log so that
  # no caller's pipe stays open.
  # A server already running answers 2; that must not end a caller running under set -e.
  if setsid wineserver -p </dev/null >>"$log" 2>&1 198>&-; then
    VELLUMO_STARTED_WINESERVER=$WINEPREFIX
  fi
  # Starts services.exe, explorer and the rest once, outside any test.
  wine cmd /c exit </dev/null >>"$log" 2>&1 198>&-
}

vellumo_wine_stop() {
  if [ -n "${VELLUMO_STARTED_WINESERVER:-}" ]; then
    WINEPREFIX=$VELLUMO_STARTED_WINESERVER wineserver -k 2>/dev/null || true
    WINEPREFIX=$VELLUMO_STARTED_WINESERVER wineserver -w 2>/dev/null || true
  fi
  if [ -n "${VELLUMO_STARTED_XVFB:-}" ]; then
    kill "$VELLUMO_STARTED_XVFB" 2>/dev/null || true
    rm -f "$WINEPREFIX.display"
  fi
  unset VELLUMO_STARTED_WINESERVER VELLUMO_STARTED_XVFB
}

_vellumo_wine_setup
_vellumo_wine_rc=$?
unset -f _vellumo_wine_setup _vellumo_display_reachable _vellumo_ensure_display \
  _vellumo_init_prefix _vellumo_start_server
if [ "$_vellumo_wine_rc" -ne 0 ]; then
  unset _vellumo_wine_rc
  # shellcheck disable=SC2317  # exit only when run instead of sourced
  return 1 2>/dev/null || exit 1
fi
unset _vellumo_wine_rc
