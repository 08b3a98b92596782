#!/usr/bin/env bash
# Prepares the PNG library once: Debian's libspng source package with the program's patches
# applied, its source kept for the native build (which compiles the same spng.c under the
# sanitizers and the fuzzer) and compiled for 32-bit Windows into a static library that links
# with Debian's MinGW zlib (libz-mingw-w64-dev). The result lives in a cache outside the
# source tree, shared by every checkout and build directory; a change of a patch makes a new
# folder.
#
# Prints the installed folder (src/spng.c, include/spng.h, lib/libspng.a) on standard output.
# Several builds may start at once on a fresh machine: the first one builds under a lock, into
# a temporary folder that is renamed into place only when complete.
set -euo pipefail

VERSION=0.7.3
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PATCHES=("$ROOT"/scripts/patches/libspng-"$VERSION"-*.patch)
CACHE="${TERVANE_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/tervane}"
PATCH_SUM="$(cat "${PATCHES[@]}" | sha256sum | cut -c1-12)"
TARGET="$CACHE/libspng-$VERSION-$PATCH_SUM"
STAMP="$TARGET/.complete"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

say() { printf '==> %s\n' "$*" >&2; }

fetch_source() {  # fetch_source <download dir>; the source index is set up by build-jpeg-mingw.sh
  local dir="$1"
  if ! (cd "$dir" && apt-get source --download-only libspng >/dev/null 2>&1); then
    $SUDO apt-get update -qq
    (cd "$dir" && apt-get source --download-only libspng >/dev/null)
  fi
}

build_into() {  # build_into <work dir> <install prefix>
  local work="$1" prefix="$2" dsc patch
  fetch_source "$work"
  dsc="$(ls "$work"/libspng_"$VERSION"-*.dsc | head -n 1)"
  [ -n "$dsc" ] || { say "libspng $VERSION is not in the source index"; return 1; }
  (cd "$work" && dpkg-source --no-check -x "$dsc" src >/dev/null)
  for patch in "${PATCHES[@]}"; do patch -d "$work/src" -p1 --quiet < "$patch"; done
  mkdir -p "$prefix/src" "$prefix/include" "$prefix/lib"
  cp "$work/src/spng/spng.c" "$work/src/spng/spng.h" "$prefix/src/"
  cp "$work/src/spng/spng.h" "$prefix/include/"
  # SSE2 for the filters, as every processor the program runs on has it.
  i686-w64-mingw32-gcc-posix -O2 -msse2 -DSPNG_STATIC -c "$work/src/spng/spng.c" -o "$work/spng.o"
  i686-w64-mingw32-ar rcs "$prefix/lib/libspng.a" "$work/spng.o"
  touch "$prefix/.complete"
}

if [ -f "$STAMP" ]; then
  echo "$TARGET"
  exit 0
fi

mkdir -p "$CACHE"
exec 9>"$CACHE/libspng.lock"
flock 9
if [ ! -f "$STAMP" ]; then
  say "Preparing libspng $VERSION (once, into $TARGET)"
  "$ROOT/scripts/build-jpeg-mingw.sh" >/dev/null  # makes sure the source index is there
  work="$(mktemp -d "$CACHE/libspng-work.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  build_into "$work" "$work/install"
  rm -rf "$TARGET"
  mv -T "$work/install" "$TARGET"
fi
echo "$TARGET"
