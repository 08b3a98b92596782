#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without an X display it starts a virtual one,
# leaves the program running there on Wine's desktop and saves a screenshot.
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
# A bare X server has no desktop, no task bar and no notification area: Wine's own desktop,
# as large as the display, brings all three, so the program sits where a user expects it and
# its tray icon at the end of the task bar.
(cd "$TERVANE_WIN_BUILD/bin" &&
  exec nohup wine explorer "/desktop=Tervane,$TERVANE_SCREEN" Tervane.exe) </dev/null >/dev/null 2>&1 &
shot="$TERVANE_BUILD/screenshot.png"
for _ in $(seq 100); do
  xdotool search --name "Tervane--" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 2  # the tray icon and the task bar's button follow the window
import -display "$DISPLAY" -window root "$shot"
log "Tervane is running on display $DISPLAY (Xvfb pid $TERVANE_XVFB_PID, Wine prefix $WINEPREFIX)."
log "Screenshot: $shot"
log "Stop it with: WINEPREFIX=$WINEPREFIX wineserver -k; kill $TERVANE_XVFB_PID"
