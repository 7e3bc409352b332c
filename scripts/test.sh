#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine in an
# X server of its own.   Usage: scripts/test.sh [extra ctest arguments]
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
BUILD_DIR=${ORVALE_BUILD_DIR:-$ORVALE_ROOT/build}
build "$BUILD_DIR"

start_xvfb
PREFIX=${ORVALE_TEST_PREFIX:-$BUILD_DIR/wineprefix}
cleanup() { wineserver -k 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT
prepare_prefix "$PREFIX"
start_desktop

log "running tests (display $DISPLAY, prefix $WINEPREFIX)"
cd "$BUILD_DIR"
# One test at a time: the desktop tests watch timing, and a busy machine blurs it.
ctest --output-on-failure --timeout 600 "$@"
