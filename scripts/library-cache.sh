# Shared by the scripts that build a library from Debian's source package once, into a cache
# outside the source tree that every checkout and build folder shares. Source it; do not run it.
#
# Several builds may start at once on a fresh machine: the first one builds under a lock, into a
# temporary folder that is renamed into place only when complete; the others wait for the lock
# and then find the finished library.
TERVANE_LIBRARY_CACHE="${TERVANE_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/tervane}"

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

# unpack_debian_source <package> <version> <work dir>: the source package with Debian's own
# patches applied (dpkg-source), unpacked into <work dir>/src.
unpack_debian_source() {
  local package="$1" version="$2" work="$3" dsc
  ensure_source_index
  # A source index that was never downloaded makes the first attempt fail: update once.
  if ! (cd "$work" && apt-get source --download-only "$package" >/dev/null 2>&1); then
    $SUDO apt-get update -qq
    (cd "$work" && apt-get source --download-only "$package" >/dev/null)
  fi
  dsc="$(ls "$work/${package}_$version"-*.dsc 2>/dev/null | head -n 1)"
  [ -n "$dsc" ] || { say "$package $version is not in the source index"; return 1; }
  (cd "$work" && dpkg-source --no-check -x "$dsc" src >/dev/null)
}

# build_once <target folder> <name> <what is built>: runs the caller's build_into <work dir>
# <install prefix> unless <target folder> is complete, then prints <target folder>.
build_once() {
  local target="$1" name="$2" what="$3"
  if [ ! -f "$target/.complete" ]; then
    mkdir -p "$TERVANE_LIBRARY_CACHE"
    exec 9>"$TERVANE_LIBRARY_CACHE/$name.lock"
    flock 9
    if [ ! -f "$target/.complete" ]; then
      say "$what (once, into $target)"
      # Global, so that the clean-up on a failed build still sees it.
      TERVANE_LIBRARY_WORK="$(mktemp -d "$TERVANE_LIBRARY_CACHE/$name-work.XXXXXX")"
      trap 'rm -rf "$TERVANE_LIBRARY_WORK"' EXIT
      build_into "$TERVANE_LIBRARY_WORK" "$TERVANE_LIBRARY_WORK/install"
      touch "$TERVANE_LIBRARY_WORK/install/.complete"
      rm -rf "$target"
      mv -T "$TERVANE_LIBRARY_WORK/install" "$target"
    fi
    exec 9>&-
  fi
  echo "$target"
}
