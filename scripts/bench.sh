#!/usr/bin/env bash
# Builds the benchmarks with optimisation and without sanitizers (in build/bench) and runs
# every one of them whose name holds the filter; "convert_page" is the conversion page
# against the GIF writer, both as Windows programs under Wine. Usage: scripts/bench.sh [filter]
set -euo pipefail
source "$(dirname "$0")/common.sh"

bench_build="$TERVANE_BUILD/bench"

# The page and the writer's benchmark run under Wine in a prefix of their own whose windows no
# window manager waits for: without one (as on a virtual display) Wine would hold every closed
# dialog for two seconds first. Everything started here is ended on the way out.
run_convert_page_bench() {
  log "convert_page (32-bit Windows build, under Wine)"
  build_windows Tervane GuiDriver gif_photo_bench_win
  export WINEPREFIX="$bench_build/wineprefix"
  ensure_display
  trap 'stop_wine; [ -n "${TERVANE_XVFB_PID:-}" ] && kill "$TERVANE_XVFB_PID" 2>/dev/null || true' EXIT
  ensure_wine_prefix --unmanaged
  start_wine_services
  TERVANE_WIN_BUILD="$TERVANE_WIN_BUILD" timeout --kill-after=10 600 \
    /usr/bin/python3 "$TERVANE_ROOT/bench/convert_page_bench.py" "$bench_build/bench" "$bench_build/convert_page"
}

# The skinned menu bar against a plain one, timed by the GUI driver in the same prefix.
run_skin_menus_bench() {
  log "skin_menus (32-bit Windows build, under Wine)"
  build_windows Tervane GuiDriver InputProbe
  export WINEPREFIX="$bench_build/wineprefix"
  ensure_display
  trap 'stop_wine; [ -n "${TERVANE_XVFB_PID:-}" ] && kill "$TERVANE_XVFB_PID" 2>/dev/null || true' EXIT
  ensure_wine_prefix
  start_wine_services
  TERVANE_WIN_BUILD="$TERVANE_WIN_BUILD" timeout --kill-after=10 600 \
    /usr/bin/python3 "$TERVANE_ROOT/bench/skin_menus_bench.py"
}

# The skin engine's benchmarks (bench/skin_*_bench_win.cpp): 32-bit Windows programs under Wine.
run_skin_benches() {
  local skin_names=("$@")
  build_windows Tervane "${skin_names[@]}"  # the start-up benchmark starts the program
  export WINEPREFIX="$bench_build/wineprefix"
  ensure_display
  trap 'stop_wine; [ -n "${TERVANE_XVFB_PID:-}" ] && kill "$TERVANE_XVFB_PID" 2>/dev/null || true' EXIT
  ensure_wine_prefix
  start_wine_services
  for name in "${skin_names[@]}"; do
    log "$name (32-bit Windows build, under Wine)"
    timeout --kill-after=10 600 wine "$TERVANE_WIN_BUILD/bench/$name.exe"
  done
}

# Listing icon groups against the system's count of icons, on Wine's shell32.dll.
run_icon_groups_bench() {
  log "icon_groups_bench_win (32-bit Windows build, under Wine)"
  build_windows icon_groups_bench_win
  export WINEPREFIX="$bench_build/wineprefix"
  trap 'stop_wine' EXIT
  ensure_wine_prefix
  timeout --kill-after=10 300 wine "$TERVANE_WIN_BUILD/bench/icon_groups_bench_win.exe"
}

# The GIF races built as the program is (32-bit Windows, under Wine) against giflib built for
# Windows: decoding and LZW coding.
run_giflib_win_races() {
  local races=("$@")
  build_windows tervane_win  # configures a new tree; the races link the program's library
  cmake -S "$TERVANE_ROOT" -B "$TERVANE_WIN_BUILD" \
    -DTERVANE_GIFLIB_MINGW_DIR="$("$TERVANE_ROOT/scripts/build-gif-mingw.sh")" >/dev/null
  cmake --build "$TERVANE_WIN_BUILD" -j "$TERVANE_JOBS" --target "${races[@]}"
  export WINEPREFIX="$bench_build/wineprefix"
  trap 'stop_wine' EXIT
  ensure_wine_prefix
  local photos=()
  for size in 1920x1080 4000x3000; do
    photos+=("$bench_build/bench/bench-photo-$size.jpg")
    "$TERVANE_ROOT/bench/make_photo.sh" "$size" "${photos[-1]}"
  done
  for race in "${races[@]}"; do
    log "$race (32-bit Windows build, under Wine)"
    local args=()
    [ "$race" = gif_lzw_bench_win ] && args=("${photos[@]}")
    timeout --kill-after=10 300 wine "$TERVANE_WIN_BUILD/bench/$race.exe" "${args[@]}"
  done
}

skin_benches=()
for src in "$TERVANE_ROOT"/bench/skin_*_bench_win.cpp; do
  [ -e "$src" ] || continue
  name="$(basename "$src" .cpp)"
  [[ "$name" == *"${1:-}"* ]] && skin_benches+=("$name")
done

names=()
for src in "$TERVANE_ROOT"/bench/*_bench.cpp; do
  [ -e "$src" ] || continue
  name="$(basename "$src" .cpp)"
  [[ "$name" == *"${1:-}"* ]] && names+=("$name")
done
with_page=0
[[ "convert_page" == *"${1:-}"* ]] && with_page=1
with_menus=0
[[ "skin_menus" == *"${1:-}"* ]] && with_menus=1
with_icon_groups=0
[[ "icon_groups_bench_win" == *"${1:-}"* ]] && with_icon_groups=1
giflib_win_races=()
for race in gif_decode_bench_win gif_lzw_bench_win; do
  [[ "$race" == *"${1:-}"* ]] && giflib_win_races+=("$race")
done
if [ ${#names[@]} -eq 0 ] && [ "$with_page" -eq 0 ] && [ "$with_menus" -eq 0 ] && [ ${#skin_benches[@]} -eq 0 ] &&
   [ "$with_icon_groups" -eq 0 ] && [ ${#giflib_win_races[@]} -eq 0 ]; then
  log "No benchmarks${1:+ matching '$1'} yet"
  exit 0
fi

"$TERVANE_ROOT/scripts/install-deps.sh"
if [ ${#names[@]} -gt 0 ]; then
  log "Building ${#names[@]} benchmarks (optimised, sanitizers off)"
  if [ ! -f "$bench_build/build.ninja" ]; then
    cmake -S "$TERVANE_ROOT" -B "$bench_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVANE_SANITIZE=OFF >/dev/null
  fi
  cmake --build "$bench_build" -j "$TERVANE_JOBS" --target "${names[@]}"
  for name in "${names[@]}"; do
    log "$name"
    "$bench_build/bench/$name"
  done
fi
[ "$with_page" -eq 0 ] || run_convert_page_bench
[ "$with_menus" -eq 0 ] || run_skin_menus_bench
[ ${#skin_benches[@]} -eq 0 ] || run_skin_benches "${skin_benches[@]}"
[ "$with_icon_groups" -eq 0 ] || run_icon_groups_bench
[ ${#giflib_win_races[@]} -eq 0 ] || run_giflib_win_races "${giflib_win_races[@]}"
