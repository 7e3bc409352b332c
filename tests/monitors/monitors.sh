#!/usr/bin/env bash
# Two monitors for real, for monitors_test.exe: an X server of its own (Xorg with the dummy
# driver and two-monitors.conf: two screens under Xinerama, the second left of the first) and a
# Wine prefix of its own without a virtual desktop (a virtual desktop, like Xvfb's screens,
# shows Windows programs a single monitor). Both go at the end, whatever happens.
#   monitors.sh BUILD_DIR TEST_EXE [test arguments]
set -euo pipefail
BUILD_DIR=$1 TEST_EXE=$2
shift 2
source "$(dirname "$0")/../../scripts/common.sh"
CONF=$ORVALE_ROOT/tests/monitors/two-monitors.conf
WORK=$BUILD_DIR/monitors-test
XORG_PID=

# Xorg reads a configuration file of our own only when root starts it. Run directly, not
# through a shell function, so that $! is the server itself (or sudo, which passes signals on).
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO="sudo -n"
if [ "$(id -u)" -ne 0 ] && ! sudo -n true 2>/dev/null; then
  echo "the two-monitor test starts Xorg, which takes root (or sudo without a password)" >&2
  exit 77
fi

cleanup() {
  # Only our own prefix's programs: the suite's prefix, inherited until ours is made, goes on.
  [ "${WINEPREFIX:-}" = "$WORK/prefix" ] && wineserver -k 2>/dev/null || true
  if [ -n "$XORG_PID" ]; then
    $SUDO kill "$XORG_PID" 2>/dev/null || true
    wait "$XORG_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The first free display from :150 (Xvfb servers of the suite take :90 on); a server that
# loses the race for a number to another one ends at once, and the next number is tried.
start_xorg() {
  local n=150
  for _ in $(seq 20); do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    $SUDO Xorg ":$n" -config "$CONF" -noreset -nolisten tcp -novtswitch -sharevts \
      -logfile "$WORK/xorg.log" >"$WORK/xorg.out" 2>&1 &
    XORG_PID=$!
    for _ in $(seq 150); do
      if DISPLAY=":$n" xdpyinfo -ext XINERAMA 2>/dev/null | grep -q 'head #1'; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$XORG_PID" 2>/dev/null || break
      sleep 0.1
    done
    $SUDO kill "$XORG_PID" 2>/dev/null || true
    wait "$XORG_PID" 2>/dev/null || true
    XORG_PID=
    n=$((n + 1))
  done
  echo "Xorg with two monitors did not start; its last words:" >&2
  tail -20 "$WORK/xorg.out" >&2
  return 1
}

rm -rf "$WORK"
mkdir -p "$WORK"
start_xorg
log "two monitors on $DISPLAY"

export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
# Without it Wine's explorer gives up listing the displays of such a server.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXVidMode /d N /f >/dev/null 2>&1
no_crash_debugger
wineserver -w
# The desktop process first, with no output of ours to hold open (see start_desktop).
wineserver -p
wine explorer.exe /desktop >/dev/null 2>&1 &
# Each test in a process of its own: on this server a long-lived Wine process can lose its view
# of the monitors after others have come and gone (no monitors, a screen 0 pixels wide), while
# every process started afterwards sees both.
status=0
for test in $(wine "$TEST_EXE" --gtest_list_tests 2>/dev/null | tr -d '\r' |
              awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }'); do
  wine "$TEST_EXE" --gtest_filter="$test" "$@" || status=1
done
exit $status
