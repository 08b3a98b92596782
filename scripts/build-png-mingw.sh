#!/usr/bin/env bash
# Prepares the PNG library once: Debian's libspng source package with the program's patches
# applied, its source kept for the native build (which compiles the same spng.c under the
# sanitizers and the fuzzer) and compiled for 32-bit Windows into a static library that links
# with Debian's MinGW zlib (libz-mingw-w64-dev). The result lives in the shared library cache
# (scripts/library-cache.sh); a change of a patch makes a new folder.
#
# Prints the installed folder (src/spng.c, include/spng.h, lib/libspng.a) on standard output.
set -euo pipefail

VERSION=0.7.3
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/library-cache.sh"
PATCHES=("$ROOT"/scripts/patches/libspng-"$VERSION"-*.patch)
PATCH_SUM="$(cat "${PATCHES[@]}" | sha256sum | cut -c1-12)"

build_into() {  # build_into <work dir> <install prefix>
  local work="$1" prefix="$2" patch
  unpack_debian_source libspng "$VERSION" "$work"
  for patch in "${PATCHES[@]}"; do patch -d "$work/src" -p1 --quiet < "$patch"; done
  mkdir -p "$prefix/src" "$prefix/include" "$prefix/lib"
  cp "$work/src/spng/spng.c" "$work/src/spng/spng.h" "$prefix/src/"
  cp "$work/src/spng/spng.h" "$prefix/include/"
  # SSE2 for the filters, as every processor the program runs on has it.
  i686-w64-mingw32-gcc-posix -O2 -msse2 -DSPNG_STATIC -c "$work/src/spng/spng.c" -o "$work/spng.o"
  i686-w64-mingw32-ar rcs "$prefix/lib/libspng.a" "$work/spng.o"
}

build_once "$TERVANE_LIBRARY_CACHE/libspng-$VERSION-$PATCH_SUM" libspng "Preparing libspng $VERSION"
