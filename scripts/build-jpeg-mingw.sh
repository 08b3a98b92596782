#!/usr/bin/env bash
# Builds the JPEG library for the Windows build once: Debian's libjpeg-turbo source package,
# cross-compiled for 32-bit Windows with its SIMD code, static, no TurboJPEG API, into the shared
# library cache (scripts/library-cache.sh).
#
# Prints the installed folder (holding include/ and lib/libjpeg.a) on standard output.
set -euo pipefail

VERSION=2.1.5
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/library-cache.sh"

build_into() {  # build_into <work dir> <install prefix>
  local work="$1" prefix="$2"
  unpack_debian_source libjpeg-turbo "$VERSION" "$work"
  # The program's error and progress routines end a libjpeg call by throwing a C++ exception
  # through libjpeg's own frames: with MinGW's DWARF unwinder that needs unwind tables in C.
  cmake -S "$work/src" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_C_FLAGS="-fexceptions" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_TURBOJPEG=0 -DWITH_SIMD=1 -DREQUIRE_SIMD=1 \
    -DWITH_JPEG8=0 -DWITH_ARITH_ENC=1 -DWITH_ARITH_DEC=1 >/dev/null
  cmake --build "$work/build" -j "${TERVANE_JOBS:-2}" --target jpeg-static >/dev/null
  # Only the library and its four public headers are needed.
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$work/build/libjpeg.a" "$prefix/lib/"
  cp "$work/build/jconfig.h" "$work/src/jpeglib.h" "$work/src/jmorecfg.h" "$work/src/jerror.h" \
    "$prefix/include/"
  grep -q "JPEG_LIB_VERSION  *62" "$prefix/include/jconfig.h"
}

build_once "$TERVANE_LIBRARY_CACHE/libjpeg-turbo-$VERSION-mingw" libjpeg-turbo \
  "Building libjpeg-turbo $VERSION for Windows"
