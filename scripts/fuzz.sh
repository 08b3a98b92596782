#!/usr/bin/env bash
# Builds every fuzz target with clang and libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer (its own tree, build/fuzz) and fuzzes each one for a fixed time,
# starting from its seed corpus fuzz/corpus/<name>/. New inputs go to build/fuzz/corpus/,
# crashing ones to build/fuzz/crashes/. Usage: scripts/fuzz.sh [seconds per target, default 20;
# 0 skips fuzzing]
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds="${1:-${TERVANE_FUZZ_SECONDS:-20}}"
fuzz_build="$TERVANE_BUILD/fuzz"
targets=()
for src in "$TERVANE_ROOT"/fuzz/*_fuzz.cpp; do
  [ -e "$src" ] && targets+=("$(basename "$src" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then
  log "No fuzz targets yet: nothing to fuzz"
  exit 0
fi
if [ "$seconds" -eq 0 ]; then
  log "Fuzzing skipped (0 seconds asked)"
  exit 0
fi

log "Building ${#targets[@]} fuzz targets with libFuzzer"
if [ ! -f "$fuzz_build/build.ninja" ]; then
  # fuzzer-no-link instruments the program's code too, so libFuzzer sees its branches.
  cmake -S "$TERVANE_ROOT" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTERVANE_LIBFUZZER=ON \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
fi
cmake --build "$fuzz_build" -j "$TERVANE_JOBS" --target "${targets[@]}"

# fuzz_target <name>: one target's run; its output goes to its own log.
fuzz_target() {
  local name=$1 corpus="${1%_fuzz}"
  local work="$fuzz_build/corpus/$corpus" crashes="$fuzz_build/crashes/$corpus"
  mkdir -p "$work" "$crashes"
  local seeds=()
  [ -d "$TERVANE_ROOT/fuzz/corpus/$corpus" ] && seeds+=("$TERVANE_ROOT/fuzz/corpus/$corpus")
  # A fixed seed keeps CI runs repeatable (TERVANE_FUZZ_SEED=0 picks a new one); only an
  # input that runs for a minute counts as a hang, since the machine may be busy.
  "$fuzz_build/fuzz/$name" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 \
    -seed="${TERVANE_FUZZ_SEED:-1}" \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "${seeds[@]}" \
    >"$fuzz_build/$name.log" 2>&1
}

# Each target keeps one core busy: as many run at once as there are cores.
failed=()
running=()
finish_running() {
  local name
  for name in "${running[@]}"; do
    if wait "${pid_of[$name]}"; then
      grep -E '^stat::number_of_executed_units' "$fuzz_build/$name.log" | sed "s/^/  $name: /" >&2 || true
    else
      tail -n 40 "$fuzz_build/$name.log" >&2
      failed+=("$name")
    fi
  done
  running=()
}
declare -A pid_of
for name in "${targets[@]}"; do
  log "Fuzzing $name for ${seconds}s"
  fuzz_target "$name" &
  pid_of[$name]=$!
  running+=("$name")
  [ ${#running[@]} -ge "$TERVANE_JOBS" ] && finish_running
done
finish_running

if [ ${#failed[@]} -gt 0 ]; then
  log "Fuzzing found crashes in: ${failed[*]} (inputs in $fuzz_build/crashes/)"
  exit 1
fi
log "Fuzzing: ${#targets[@]} targets ran ${seconds}s each without a crash"
