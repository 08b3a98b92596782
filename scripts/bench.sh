#!/usr/bin/env bash
# Builds the benchmarks with optimisation and without sanitizers (in build/bench) and runs
# every one of them. Usage: scripts/bench.sh [name filter]
set -euo pipefail
source "$(dirname "$0")/common.sh"

names=()
for src in "$TERVANE_ROOT"/bench/*_bench.cpp; do
  [ -e "$src" ] || continue
  name="$(basename "$src" .cpp)"
  [[ "$name" == *"${1:-}"* ]] && names+=("$name")
done
if [ ${#names[@]} -eq 0 ]; then
  log "No benchmarks${1:+ matching '$1'} yet"
  exit 0
fi

"$TERVANE_ROOT/scripts/install-deps.sh"
bench_build="$TERVANE_BUILD/bench"
log "Building ${#names[@]} benchmarks (optimised, sanitizers off)"
if [ ! -f "$bench_build/build.ninja" ]; then
  cmake -S "$TERVANE_ROOT" -B "$bench_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVANE_SANITIZE=OFF >/dev/null
fi
cmake --build "$bench_build" -j "$TERVANE_JOBS" --target "${names[@]}"
for name in "${names[@]}"; do
  log "$name"
  "$bench_build/bench/$name"
done
