#!/usr/bin/env bash
# Builds giflib for 32-bit Windows once, for the benchmarks only: Debian's giflib source package
# compiled as its own Makefile compiles the library (-O2), static, into the shared library cache
# (scripts/library-cache.sh). The program does not link it; the GIF decoding race of the Windows
# build measures the program's reader against it.
#
# Prints the installed folder (include/gif_lib.h, lib/libgif.a) on standard output.
set -euo pipefail

VERSION=5.2.1
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/library-cache.sh"

build_into() {  # build_into <work dir> <install prefix>
  local work="$1" prefix="$2" name
  unpack_debian_source giflib "$VERSION" "$work"
  mkdir -p "$prefix/include" "$prefix/lib"
  # The library's own sources, as its Makefile lists them.
  for name in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    i686-w64-mingw32-gcc-posix -std=gnu99 -O2 -c "$work/src/$name.c" -o "$work/$name.o"
  done
  i686-w64-mingw32-ar rcs "$prefix/lib/libgif.a" "$work"/*.o
  cp "$work/src/gif_lib.h" "$prefix/include/"
}

build_once "$TERVANE_LIBRARY_CACHE/giflib-$VERSION-mingw" giflib "Building giflib $VERSION for Windows"
