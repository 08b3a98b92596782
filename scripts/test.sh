#!/usr/bin/env bash
# Builds everything and runs every test: the native byte-level tests under AddressSanitizer
# and UndefinedBehaviorSanitizer (with the fuzz corpora replayed), a short libFuzzer run of
# every fuzz target, then the Windows unit and end-to-end tests under Wine on a virtual display.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$TERVANE_ROOT/scripts/install-deps.sh"

log "Native build (sanitizers on)"
build_native
log "Native tests"
native_status=0
(cd "$TERVANE_NATIVE_BUILD" && ctest --output-on-failure -j "$TERVANE_JOBS") || native_status=$?

fuzz_status=0
"$TERVANE_ROOT/scripts/fuzz.sh" || fuzz_status=$?

log "Windows build"
build_windows
ensure_wine_prefix
ensure_display
# Three tests at a time: most of a test's time is spent waiting for Wine's windows.
desktops="${TERVANE_DESKTOPS:-3}"
trap 'stop_desktops; [ -n "${TERVANE_XVFB_PID:-}" ] && kill "$TERVANE_XVFB_PID" 2>/dev/null || true' EXIT
start_desktops "$desktops"
log "Windows tests under Wine ($desktops at a time, first display $DISPLAY)"
win_status=0
(cd "$TERVANE_WIN_BUILD" &&
  ctest --output-on-failure -j "$desktops" --resource-spec-file "$TERVANE_DESKTOPS_DIR/resources.json") ||
  win_status=$?

if [ "$native_status" -ne 0 ] || [ "$fuzz_status" -ne 0 ] || [ "$win_status" -ne 0 ]; then
  log "FAILED (native: $native_status, fuzzing: $fuzz_status, windows: $win_status)"
  exit 1
fi
log "All tests passed"
