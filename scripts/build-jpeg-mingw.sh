#!/usr/bin/env bash
# Builds the JPEG library for the Windows build once: Debian's libjpeg-turbo source package,
# cross-compiled for 32-bit Windows with its SIMD code, static, no TurboJPEG API. The result
# lives in a cache outside the source tree, shared by every checkout and build directory.
#
# Prints the installed folder (holding include/ and lib/libjpeg.a) on standard output.
# Several builds may start at once on a fresh machine: the first one builds under a lock,
# into a temporary folder that is renamed into place only when complete; the others wait
# for the lock and then find the finished library.
set -euo pipefail

VERSION=2.1.5
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${TERVANE_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/tervane}"
TARGET="$CACHE/libjpeg-turbo-$VERSION-mingw"
STAMP="$TARGET/.complete"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

say() { printf '==> %s\n' "$*" >&2; }

ensure_source_index() {
  if ! grep -rqs "^Types:.*deb-src\|^deb-src" /etc/apt/sources.list.d/ /etc/apt/sources.list; then
    [ -f /etc/apt/sources.list.d/debian.sources ] || { say "no Debian source list to copy"; return 1; }
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | $SUDO tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  fi
}

fetch_source() {  # fetch_source <download dir>
  local dir="$1"
  ensure_source_index
  # A source index that was never downloaded makes the first attempt fail: update once.
  if ! (cd "$dir" && apt-get source --download-only "libjpeg-turbo" >/dev/null 2>&1); then
    $SUDO apt-get update -qq
    (cd "$dir" && apt-get source --download-only "libjpeg-turbo" >/dev/null)
  fi
}

build_into() {  # build_into <work dir> <install prefix>
  local work="$1" prefix="$2"
  fetch_source "$work"
  local dsc
  dsc="$(ls "$work"/libjpeg-turbo_"$VERSION"-*.dsc | head -n 1)"
  [ -n "$dsc" ] || { say "libjpeg-turbo $VERSION is not in the source index"; return 1; }
  # dpkg-source applies Debian's own patches on top of the upstream tarball.
  (cd "$work" && dpkg-source --no-check -x "$dsc" src >/dev/null)
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
  touch "$prefix/.complete"
}

if [ -f "$STAMP" ]; then
  echo "$TARGET"
  exit 0
fi

mkdir -p "$CACHE"
exec 9>"$CACHE/libjpeg-turbo.lock"
flock 9
if [ ! -f "$STAMP" ]; then
  say "Building libjpeg-turbo $VERSION for Windows (once, into $TARGET)"
  work="$(mktemp -d "$CACHE/libjpeg-turbo-work.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  build_into "$work" "$work/install"
  rm -rf "$TARGET"
  mv -T "$work/install" "$TARGET"
fi
echo "$TARGET"
