#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX (once) and settles the look of its windows for a
# bare virtual display: idempotent, cheap when everything is in place already.
set -euo pipefail

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  printf '\033[1m==> %s\033[0m\n' "Creating the Wine prefix (once)" >&2
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
fi

# Debian's Wine does not load the TrueType fonts of its own data folder, so captions lose the
# symbol font their close, minimise and maximise glyphs come from and show letters ("r" for the
# close box). A copy in the prefix's font folder brings the glyphs back.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
glyphs=/usr/share/wine/fonts/marlett.ttf
if [ -f "$glyphs" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
  cp "$glyphs" "$fonts/"
fi

# Wine leaves the frames and captions of dialogs and message boxes to the X window manager, and
# a virtual display has none: Wine draws them itself instead, as Windows would.
if ! grep -q '^"Decorated"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null || true
  wineserver -w  # the registry reaches user.reg when the server ends
fi
