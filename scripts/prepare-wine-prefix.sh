#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX (once) and settles it for the program on a bare
# virtual display: its look, its fonts and the help's file association. Idempotent, and cheap
# when everything is in place already: the registry files are read, Wine is started only for
# what is missing. Usage: prepare-wine-prefix.sh [--unmanaged]
#   --unmanaged  no window of the prefix waits for a window manager (for the benchmarks)
set -euo pipefail
source "$(dirname "$0")/common.sh"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  log "Creating the Wine prefix (once)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
fi

# Debian's Wine does not load the TrueType fonts of its own data folder (package fonts-wine), so
# captions lose the symbol font their close, minimise and maximise glyphs come from and show
# letters ("r" for the close box). A copy in the prefix's font folder brings the glyphs back.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
glyphs=/usr/share/wine/fonts/marlett.ttf
if [ -f "$glyphs" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
  cp "$glyphs" "$fonts/"
fi

# The settings, one a line: key, value name ("@" for the default value), type, data. A key under
# HKCU lands in user.reg, under HKLM in system.reg.
#
# - Wine leaves the frames and captions of dialogs and message boxes to the X window manager, and
#   a virtual display has none: Wine draws them itself instead, as Windows would.
# - The program asks for "宋体" at 9 points, as it should on Windows. Wine would give it WenQuanYi
#   Zen Hei unsmoothed, whose strokes drop out at that size ("真彩色" reads as "頁彩巴"); the
#   screen-hinted WenQuanYi Micro Hei with grayscale smoothing keeps every character whole.
# - Wine registers Notepad's "txtfile" class but ties no extension to it, so the help (F1,
#   "readme.txt") would show nothing at all; Windows opens text files in Notepad.
# - A Korean Windows (a prefix made in the ko_KR locale) draws its dialogs in Gulim or Dotum,
#   which Wine does not have: without Nanum Gothic (fonts-nanum) in their place every Korean
#   character is an empty box.
settings() {
  printf '%s\n' \
    'HKCU\Software\Wine\X11 Driver|Decorated|REG_SZ|N' \
    'HKCU\Software\Wine\Fonts\Replacements|宋体|REG_SZ|WenQuanYi Micro Hei' \
    'HKCU\Software\Wine\Fonts\Replacements|SimSun|REG_SZ|WenQuanYi Micro Hei' \
    'HKCU\Control Panel\Desktop|FontSmoothing|REG_SZ|2' \
    'HKCU\Control Panel\Desktop|FontSmoothingType|REG_DWORD|1' \
    'HKLM\Software\Classes\.txt|@|REG_SZ|txtfile'
  if [[ "$LC_ALL" == ko_KR* ]]; then
    local face
    for face in Gulim GulimChe Dotum DotumChe Batang 굴림 돋움 바탕; do
      printf '%s\n' "HKCU\Software\Wine\Fonts\Replacements|$face|REG_SZ|NanumGothic"
    done
  fi
  # Without a window manager, Wine holds every closed dialog of a managed window for two seconds.
  # The tests keep managed windows: unmanaged, Wine lets the focus fall to the desktop when a
  # window goes, which the tests of activation would trip over.
  if [ "${1:-}" = "--unmanaged" ]; then
    printf '%s\n' 'HKCU\Software\Wine\X11 Driver|Managed|REG_SZ|N'
  fi
}

# The line a value has in Wine's registry files: strings with \ and " escaped and characters
# beyond ASCII as \x and their UTF-16 code in hex (four digits when a hex digit follows), dwords
# in hex.
reg_file_line() {
  local name="$1" type="$2" data="$3" left right
  left='@'
  [ "$name" = "@" ] || left="\"$(reg_file_escape "$name")\""
  case "$type" in
    REG_DWORD) right="$(printf 'dword:%08x' "$data")" ;;
    *) right="\"$(reg_file_escape "$data")\"" ;;
  esac
  printf '%s=%s\n' "$left" "$right"
}

reg_file_escape() {  # counts characters, so it needs the UTF-8 locale of common.sh
  local text="$1" out="" c next i
  text="${text//\\/\\\\}"
  text="${text//\"/\\\"}"
  for ((i = 0; i < ${#text}; i++)); do
    c="${text:i:1}" next="${text:i+1:1}"
    if [[ "$c" == [[:ascii:]] ]]; then
      out+="$c"
    elif [[ "$next" == [0-9A-Fa-f] ]]; then
      out+="$(printf '\\x%04x' "'$c")"
    else
      out+="$(printf '\\x%x' "'$c")"
    fi
  done
  printf '%s' "$out"
}

# Whether a registry file holds the line under the key (written there as [Software\\Wine] ...).
reg_file_has() {
  local file="$1" key="$2" line="$3"
  [ -f "$file" ] || return 1
  KEY="[${key//\\/\\\\}] " LINE="$line" awk '
    /^\[/ { inside = index($0, ENVIRON["KEY"]) == 1 }
    inside && $0 == ENVIRON["LINE"] { found = 1; exit }
    END { exit !found }' "$file"
}

added=0
while IFS='|' read -r key name type data; do
  case "$key" in
    HKCU\\*) file="$WINEPREFIX/user.reg" ;;
    *) file="$WINEPREFIX/system.reg" ;;
  esac
  reg_file_has "$file" "${key#*\\}" "$(reg_file_line "$name" "$type" "$data")" && continue
  if [ "$name" = "@" ]; then target=(/ve); else target=(/v "$name"); fi
  wine reg add "$key" "${target[@]}" /t "$type" /d "$data" /f >/dev/null 2>&1 </dev/null
  added=1
done < <(settings "$@")
if [ "$added" -eq 1 ]; then
  wineserver -w  # the registry reaches user.reg and system.reg when the server ends
fi
