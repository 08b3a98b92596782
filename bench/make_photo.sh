#!/usr/bin/env bash
# The benchmarks' photograph, made once with ImageMagick's plasma generator: the same seed, so
# that every benchmark and every run times the same picture. Usage: make_photo.sh WIDTHxHEIGHT PATH
set -euo pipefail
size="$1" path="$2"
if [ ! -f "$path" ]; then
  mkdir -p "$(dirname "$path")"
  echo "making $path with ImageMagick (once)..." >&2
  /usr/bin/convert -seed 7 -size "$size" plasma:fractal -blur 0x1 -quality 90 "$path"
fi
