#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without an X display it starts a virtual one,
# leaves the program running there and saves a screenshot.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$TERVANE_ROOT/scripts/install-deps.sh"
log "Building Tervane.exe"
build_windows
ensure_wine_prefix

exe="$TERVANE_WIN_BUILD/bin/Tervane.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  log "Starting $exe on $DISPLAY"
  exec wine "$exe"
fi

ensure_display
log "No display was set: started a virtual one at $DISPLAY"
(cd "$TERVANE_WIN_BUILD/bin" && nohup wine "$exe" >/dev/null 2>&1 &)
shot="$TERVANE_BUILD/screenshot.png"
for _ in $(seq 100); do
  xdotool search --name "Tervane" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
import -display "$DISPLAY" -window root "$shot"
log "Tervane is running on display $DISPLAY (Xvfb pid $TERVANE_XVFB_PID, Wine prefix $WINEPREFIX)."
log "Screenshot: $shot"
log "Stop it with: WINEPREFIX=$WINEPREFIX wineserver -k; kill $TERVANE_XVFB_PID"
