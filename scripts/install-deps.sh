#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the program.
# Each step checks first, so a second run only costs a few dpkg queries.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  cmake make ninja-build g++ nasm pkg-config
  googletest libgtest-dev libgmock-dev
  xvfb xauth x11-utils xdotool imagemagick libx11-dev libxfixes-dev
  python3-pytest python3-pytest-timeout
  clang libclang-rt-14-dev
  fonts-wqy-zenhei fonts-wqy-microhei fonts-wine fonts-nanum locales
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libgif-dev giflib-tools
  zlib1g-dev libz-mingw-w64-dev libpng-dev pngcheck icoutils
  dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
wine_missing=0
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || wine_missing=1
dpkg-query -W -f='${Status}' wine 2>/dev/null | grep -q "install ok installed" || wine_missing=1

if [ ${#missing[@]} -gt 0 ] || [ $wine_missing -eq 1 ]; then
  echo "Installing: ${missing[*]} ${wine_missing:+wine wine32:i386}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # The JPEG and PNG libraries for the Windows build come from Debian's source packages.
  if ! grep -rqs "deb-src" /etc/apt/sources.list.d/ /etc/apt/sources.list 2>/dev/null; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        | $SUDO tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    fi
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" wine wine32:i386 >/dev/null
fi

# Chinese file names and arguments only cross into Wine intact under a real zh_CN.UTF-8 locale;
# en_US.UTF-8 makes the second test prefix an English Windows (code page 1252), de_DE.UTF-8 and
# ko_KR.UTF-8 a German and a Korean one for the texts the system writes in its own language.
for wanted in zh_CN en_US de_DE ko_KR; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted.utf8\$"; then
    $SUDO sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
done
