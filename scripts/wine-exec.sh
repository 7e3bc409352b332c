#!/bin/sh
# Runs one Windows executable under Wine (CTest uses this as its cross-compiling emulator).
# scripts/test.sh exports WINEPREFIX and DISPLAY; the defaults serve a plain `ctest` run.
: "${WINEPREFIX:=$HOME/.orvale-wine}"
: "${WINEDEBUG:=-all}"
export WINEPREFIX WINEDEBUG
[ -n "${DISPLAY:-}" ] || export DISPLAY=:0
exec wine "$@"
