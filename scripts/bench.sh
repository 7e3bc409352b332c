#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine in an X server of their own: the tracker as it was
# (a 50 ms tick at all times) and as it is, side by side with the ratios, the program's memory,
# GDI objects and windows, a full configuration at 100 % and at 150 %, then the settings file.
#   Usage: scripts/bench.sh [number of menus timed in each, at least 20]
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
BUILD_DIR=${ORVALE_BUILD_DIR:-$ORVALE_ROOT/build}
build "$BUILD_DIR"
cmake --build "$BUILD_DIR" --target bench

start_xvfb
cleanup() { wineserver -k 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT
prepare_prefix "${ORVALE_TEST_PREFIX:-$BUILD_DIR/wineprefix}"
start_desktop
cd "$BUILD_DIR/bin"
wine orvale_bench.exe "${1:-30}"
wine settings_bench.exe
