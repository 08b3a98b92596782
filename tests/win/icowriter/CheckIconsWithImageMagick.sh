#!/usr/bin/env bash
# Reads every icon the icon-writer tests left in a folder with ImageMagick and compares what
# it sees with the picture each test expected (base.expect, written beside base.ico):
#  - base.ico itself when ImageMagick can read it (8 bits per pixel): colours and alpha;
#  - base.colour.bmp and base.mask.bmp, the icon's colour rows and mask rows re-wrapped as
#    BMP files, for every icon (ImageMagick's ICO reader mistakes 16-bit icons for
#    65536-colour palette images, its BMP reader decodes them).
# Usage: CheckIconsWithImageMagick.sh <folder>
set -euo pipefail
folder="${1:?folder}"
shopt -s nullglob
expects=("$folder"/*.expect)
if [ ${#expects[@]} -eq 0 ]; then
  echo "no icons to check in $folder" >&2
  exit 1
fi

# Lines "x y r g b a" (a = 255 when the picture has no alpha).
pixels() {
  convert "$1" -depth 8 txt:- | awk -F'[(),: ]+' 'NR > 1 { a = ($6 ~ /^[0-9]+$/) ? $6 : 255; print $1, $2, $3, $4, $5, a }'
}

# compare <kind> <expect file> <pixels file>; kind is ico, colour or mask.
compare() {
  awk -v kind="$1" -v name="$4" '
    function abs(v) { return v < 0 ? -v : v }
    function hex(s) { return index("0123456789abcdef", tolower(s)) - 1 }
    function byte(s, i) { return hex(substr(s, i, 1)) * 16 + hex(substr(s, i + 1, 1)) }
    FNR == NR {
      if ($1 == "size") { w = $2; h = $3 } else if ($1 == "tolerance") { tol = $2 }
      else if ($1 != "ico") { want[$1 " " $2] = $3 }
      next
    }
    {
      key = $1 " " $2; seen++
      if (!(key in want)) { bad++; if (bad <= 5) print name ": unexpected pixel " key; next }
      e = want[key]; clear = (e == "transparent")
      if (kind == "mask") { ok = clear ? ($3 == 255 && $4 == 255 && $5 == 255) : ($3 == 0 && $4 == 0 && $5 == 0) }
      else if (kind == "ico" && clear) { ok = ($6 == 0) }
      else if (kind == "colour" && clear) { ok = ($3 == 0 && $4 == 0 && $5 == 0) }
      else {
        ok = abs($3 - byte(e, 1)) <= tol && abs($4 - byte(e, 3)) <= tol && abs($5 - byte(e, 5)) <= tol
        if (kind == "ico") ok = ok && $6 == 255
      }
      if (!ok) { bad++; if (bad <= 5) print name ": pixel " key " is " $3 "," $4 "," $5 "," $6 ", expected " e }
    }
    END {
      if (seen != w * h) { print name ": " seen " pixels read, expected " w * h; bad++ }
      exit bad > 0
    }' "$2" "$3"
}

status=0
scratch=$(mktemp)
trap 'rm -f "$scratch"' EXIT
for expect in "${expects[@]}"; do
  base="${expect%.expect}"
  name=$(basename "$base")
  checks=(colour mask)
  grep -qx "ico yes" "$expect" && checks+=(ico)
  for kind in "${checks[@]}"; do
    case "$kind" in
      ico) file="$base.ico" ;;
      *) file="$base.$kind.bmp" ;;
    esac
    if ! pixels "$file" >"$scratch" 2>&1 || [ ! -s "$scratch" ]; then
      echo "$name: ImageMagick could not read $(basename "$file")"; status=1; continue
    fi
    compare "$kind" "$expect" "$scratch" "$name.$kind" || status=1
  done
done
[ $status -eq 0 ] && echo "ImageMagick agrees on ${#expects[@]} icons"
exit $status
