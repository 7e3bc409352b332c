#!/usr/bin/env bash
# Installs what is missing, builds Orvale with its macro tool (ovmacro.exe, beside it in
# build/bin, where Orvale finds it) and starts Orvale under Wine.
# With DISPLAY set, the Wine desktop "shell" opens as a window on that display; without it
# the program runs in an X server of its own (see the README for how to look at it).
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages
BUILD_DIR=${ORVALE_BUILD_DIR:-$ORVALE_ROOT/build}
# Only what it starts: the program, its hook library, icons and help page; not the tests.
build "$BUILD_DIR" program

if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  log "no DISPLAY: running in Xvfb on $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi
prepare_prefix "${ORVALE_PREFIX:-$HOME/.orvale-wine}"

# The settings file beside the program is kept between runs; the program's first start writes
# its starter settings there, so there is something to see.
log "starting Orvale ($BUILD_DIR/bin/orvale.exe); end it from its tray icon (Exit) or with Ctrl+C"
cd "$BUILD_DIR/bin"
exec wine orvale.exe
