# Shared settings for the build, run and test scripts. Source it; do not run it.
TERVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TERVANE_BUILD="${TERVANE_BUILD:-$TERVANE_ROOT/build}"
TERVANE_WIN_BUILD="$TERVANE_BUILD/win32"
TERVANE_NATIVE_BUILD="$TERVANE_BUILD/native"
TERVANE_JOBS="${TERVANE_JOBS:-$(nproc)}"
TERVANE_SCREEN=1024x768  # the virtual display's size

# Wine: a private prefix inside the build tree, code page 936, no Mono or Gecko installers.
# Wine takes the system code page from the locale; TERVANE_LOCALE=en_US.UTF-8 with the
# English prefix below makes an English Windows (code page 1252).
export WINEPREFIX="${WINEPREFIX:-$TERVANE_WIN_BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win32
export LC_ALL="${TERVANE_LOCALE:-zh_CN.UTF-8}"
TERVANE_ENGLISH_LOCALE=en_US.UTF-8
english_prefix() { echo "$1-en"; }  # english_prefix <prefix>: its English twin

log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# configure_and_build <build dir> <cmake args...>: everything, or the targets in TERVANE_TARGETS
configure_and_build() {
  local dir="$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$TERVANE_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  # shellcheck disable=SC2086  # a list of target names
  cmake --build "$dir" -j "$TERVANE_JOBS" ${TERVANE_TARGETS:+--target $TERVANE_TARGETS}
}

build_windows() {  # build_windows [target...]: everything by default
  local jpeg_dir
  jpeg_dir="$("$TERVANE_ROOT/scripts/build-jpeg-mingw.sh")"
  TERVANE_TARGETS="$*" configure_and_build "$TERVANE_WIN_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$TERVANE_ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTERVANE_JPEG_MINGW_DIR="$jpeg_dir"
}

build_native() {
  configure_and_build "$TERVANE_NATIVE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

ensure_wine_prefix() {  # ensure_wine_prefix [--unmanaged]: see prepare-wine-prefix.sh
  "$TERVANE_ROOT/scripts/prepare-wine-prefix.sh" "$@"
  # The tests run their main flows a second time on an English Windows.
  [ "${1:-}" = "--unmanaged" ] && return
  TERVANE_LOCALE="$TERVANE_ENGLISH_LOCALE" WINEPREFIX="$(english_prefix "$WINEPREFIX")" \
    "$TERVANE_ROOT/scripts/prepare-wine-prefix.sh"
}

# Starts a persistent wineserver and Wine's own service processes with their output going
# nowhere. Started by a test instead, they would inherit CTest's output pipes and keep it
# waiting after the test ends.
start_wine_services() {
  wineserver -p >/dev/null 2>&1 </dev/null || true  # fails when one already runs
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  export TERVANE_WINE_SERVICES=1  # the end-to-end tests then leave them alone
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}

# The Windows tests run side by side, each on a desktop of its own: a virtual display and a Wine
# prefix (a copy of the prepared one), so that focus, windows and the program's single-instance
# lock of one test never meet another's. Desktop 0 is the current display and prefix. Each
# desktop's settings go to desktops/<id>.env, and CTest's resource file lists them; a test
# reaches its desktop through scripts/on-desktop.sh.
TERVANE_DESKTOPS_DIR="$TERVANE_WIN_BUILD/desktops"
TERVANE_DESKTOP_XVFB_PIDS=()

start_desktops() {  # start_desktops <count>: after ensure_display and before any Wine starts
  local count="$1" id prefix twin resources=""
  rm -rf "$TERVANE_DESKTOPS_DIR"
  mkdir -p "$TERVANE_DESKTOPS_DIR"
  for id in $(seq 0 $((count - 1))); do
    prefix="$WINEPREFIX"
    if [ "$id" -gt 0 ]; then
      prefix="$TERVANE_DESKTOPS_DIR/$id/wineprefix"
      mkdir -p "$(dirname "$prefix")"
      cp -a "$WINEPREFIX" "$prefix"
      (unset DISPLAY TERVANE_XVFB_PID; ensure_display && echo "$DISPLAY $TERVANE_XVFB_PID") \
        > "$TERVANE_DESKTOPS_DIR/$id.display"
      read -r display pid < "$TERVANE_DESKTOPS_DIR/$id.display"
      TERVANE_DESKTOP_XVFB_PIDS+=("$pid")
    else
      display="$DISPLAY"
    fi
    printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$display" "$prefix" > "$TERVANE_DESKTOPS_DIR/$id.env"
    (export DISPLAY="$display" WINEPREFIX="$prefix"; start_wine_services)
    # The twins in other languages are copied too (the German and Korean ones once a test has
    # made them); their tests start and stop their services themselves.
    if [ "$id" -gt 0 ]; then
      for twin in "$WINEPREFIX"-en "$WINEPREFIX"-de "$WINEPREFIX"-ko; do
        [ -d "$twin" ] && cp -a "$twin" "$prefix-${twin##*-}"
      done
    fi
    resources+="${resources:+,}{\"id\":\"$id\",\"slots\":1}"
  done
  export TERVANE_WINE_SERVICES=1 TERVANE_DESKTOPS_DIR
  printf '{"version":{"major":1,"minor":0},"local":[{"desktops":[%s]}]}\n' "$resources" \
    > "$TERVANE_DESKTOPS_DIR/resources.json"
}

stop_desktops() {
  local env
  for env in "$TERVANE_DESKTOPS_DIR"/*.env; do
    [ -e "$env" ] && (source "$env"; stop_wine)
  done
  [ ${#TERVANE_DESKTOP_XVFB_PIDS[@]} -gt 0 ] && kill "${TERVANE_DESKTOP_XVFB_PIDS[@]}" 2>/dev/null
  return 0
}

# Whether display number $1 is in use. A lock left by a server that was killed outright names a
# process that is gone: Xvfb takes such a number over, so it counts as free.
display_taken() {
  local lock="/tmp/.X$1-lock" pid
  if [ -e "$lock" ]; then
    pid=$(tr -d ' \n' < "$lock" 2>/dev/null)
    [ -z "$pid" ] || [ -d "/proc/$pid" ]
    return
  fi
  [ -e "/tmp/.X11-unix/X$1" ]
}

# Starts Xvfb on a free display unless one is given; sets DISPLAY and TERVANE_XVFB_PID.
# TERVANE_DEPTH picks the bits per pixel (24 by default).
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n
  for n in $(seq 90 140); do
    display_taken "$n" && continue
    Xvfb ":$n" -screen 0 "${TERVANE_SCREEN}x${TERVANE_DEPTH:-24}" -nolisten tcp >/dev/null 2>&1 &
    TERVANE_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    kill "$TERVANE_XVFB_PID" 2>/dev/null || true
  done
  echo "could not start a virtual display" >&2
  return 1
}
