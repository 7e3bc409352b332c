#!/usr/bin/env bash
# The release package tried as a user would, in a Wine prefix and an X server of its own.
#   package_user.sh prepare BUILD_DIR WORK_DIR ZIP   makes the package and a fresh prefix in
#                                                     WORK_DIR, unpacked into C:\Orvale
#   package_user.sh run BUILD_DIR WORK_DIR TEST_EXE  runs TEST_EXE there, then removes WORK_DIR
set -euo pipefail
mode=$1 BUILD_DIR=$2 WORK=$3
source "$(dirname "$0")/../../scripts/common.sh"

cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
}
# Wine needs an X server even to make a prefix; ours keeps its windows off the suite's.
start_xvfb
trap cleanup EXIT
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all

if [ "$mode" = prepare ]; then
  zip=$4
  cmake --build "$BUILD_DIR" --target package >/dev/null
  rm -rf "$WORK"
  mkdir -p "$WORK"
  prepare_prefix "$WINEPREFIX"
  # The user's empty folder, and the package unpacked into it.
  mkdir -p "$WINEPREFIX/drive_c/Orvale"
  (cd "$WINEPREFIX/drive_c/Orvale" && cmake -E tar xf "$zip")
  # Pages the shell opens go to the recorder, which notes what it was given.
  mkdir -p "$WINEPREFIX/drive_c/recorder"
  cp "$BUILD_DIR/bin/shell_recorder.exe" "$WINEPREFIX/drive_c/recorder/"
  wine reg add 'HKCR\.htm' /ve /d OrvaleTestPage /f >/dev/null 2>&1
  wine reg add 'HKCR\OrvaleTestPage\shell\open\command' /ve \
    /d '"C:\recorder\shell_recorder.exe" "%1"' /f >/dev/null 2>&1
  wineserver -w
  exit 0
fi

test_exe=$4
[ -f "$WINEPREFIX/.orvale-ready" ] || { echo "package_prepare made no prefix" >&2; exit 1; }
trap 'cleanup; rm -rf "$WORK"' EXIT
start_desktop
ORVALE_PACKAGE_DIR='C:\Orvale' ORVALE_SHELL_LOG='C:\recorder\shell_recorder.log' \
  wine "$test_exe"
