# Shared by scripts/start.sh, scripts/test.sh and scripts/bench.sh: packages, build, Wine prefix, X server.
# shellcheck shell=bash

ORVALE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ORVALE_PACKAGES="g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine xvfb xdotool
  x11-utils imagemagick cmake ninja-build googletest procps xserver-xorg-core
  xserver-xorg-video-dummy"

log() { printf '\033[1m==> %s\033[0m\n' "$*"; }

install_packages() {
  local missing=()
  for p in $ORVALE_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# build DIR [target]: everything, or only `target` and what it needs
build() {
  local dir=$1 target=${2:-}
  log "building ${target:-everything} in $dir"
  cmake -S "$ORVALE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ORVALE_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$dir" -j"$(nproc)" ${target:+--target "$target"}
}

# An X server of our own on the first free display; sets DISPLAY and XVFB_PID.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

# A Wine prefix whose programs all share one virtual desktop named "shell", with a taskbar,
# so that the program, the test programs and notepad see each other's windows and menus.
prepare_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all
  if [ ! -f "$WINEPREFIX/.orvale-ready" ]; then
    log "creating Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    no_crash_debugger
    wineserver -w
    touch "$WINEPREFIX/.orvale-ready"
  fi
}

# A program that crashes ends at once with Wine's one-line report, rather than waiting in a
# debugger until the test's time is up.
no_crash_debugger() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
    /d none /f >/dev/null 2>&1
}

# Starts the prefix's desktop (with its taskbar) ahead of the programs that will use it. The
# first Wine program would otherwise start it, and the desktop would inherit that program's
# output and keep it open to the end (CTest then waits for it).
start_desktop() {
  wineserver -p
  wine explorer.exe /desktop=shell,1024x768 >/dev/null 2>&1 &
  for _ in $(seq 300); do
    xwininfo -root -tree 2>/dev/null | grep -q 'shell - Wine desktop' && return 0
    sleep 0.1
  done
  echo "the Wine desktop did not start on $DISPLAY" >&2
  return 1
}
