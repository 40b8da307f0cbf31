#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The second CI pass: every test under AddressSanitizer and UndefinedBehaviorSanitizer, the
# tests that drive the window's worker threads under ThreadSanitizer, then each fuzz
# target for a bounded time on a scratch copy of its corpus.
# Usage: scripts/ci-extra.sh   (KZ_ASAN_BUILD_DIR, KZ_TSAN_BUILD_DIR, KZ_FUZZ_BUILD_DIR and
# KZ_FUZZ_SECONDS override the build directories and the time per fuzz target)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
asan_build=${KZ_ASAN_BUILD_DIR:-$top/build-asan}
tsan_build=${KZ_TSAN_BUILD_DIR:-$top/build-tsan}
fuzz_build=${KZ_FUZZ_BUILD_DIR:-$top/build-fuzz}
fuzz_seconds=${KZ_FUZZ_SECONDS:-60}
jobs=$(nproc)

"$top/scripts/deps.sh"

echo "== sanitizer build: $asan_build"
cmake -S "$top" -B "$asan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKZ_SANITIZE=ON \
  -DKZ_BUILD_BENCH=OFF -DKZ_WERROR=ON >/dev/null
cmake --build "$asan_build" --parallel "$jobs"
(
  cd "$asan_build"
  # Leaks are reported at exit; the suppressions cover third-party libraries only.
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  export LSAN_OPTIONS=suppressions=$top/scripts/lsan.supp:print_suppressions=0
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 900
)

# Only the window tests that start a worker thread (the generation job, the booklet's job,
# the kept game's writer): the thread checker slows everything down several times, and the
# rest of the suite runs on one thread.
tsan_tests=()
for src in "$top"/tests/ui/*_test.cpp; do
  if grep -q -e 'GenerationJob' -e 'trigger("mnNewProblem")' -e 'trigger("mnBooklet")' \
       -e 'setKeptGamePath' "$src"; then
    tsan_tests+=("ui_$(basename "$src" .cpp)")
  fi
done
echo "== thread sanitizer build: $tsan_build (${tsan_tests[*]})"
cmake -S "$top" -B "$tsan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKZ_BUILD_BENCH=OFF \
  -DKZ_WERROR=ON -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build "$tsan_build" --parallel "$jobs" --target "${tsan_tests[@]}"
(
  cd "$tsan_build"
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$top/scripts/tsan.supp"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 \
    -R "^($(IFS='|'; echo "${tsan_tests[*]}"))\$"
)

echo "== fuzz build: $fuzz_build"
CXX=clang++ cmake -S "$top" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKZ_FUZZ=ON -DKZ_BUILD_UI=OFF -DKZ_BUILD_BENCH=OFF \
  -DKZ_WERROR=ON >/dev/null
targets=()
for dir in "$top"/fuzz/corpus/*/; do
  targets+=("$(basename "$dir")")
done
cmake --build "$fuzz_build" --parallel "$jobs" --target "${targets[@]/#/fuzz_}"

# The fuzzers add inputs to the corpus they run on: give them a copy, never the repository's.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target/artifacts"
  cp -r "$top/fuzz/corpus/$target" "$scratch/$target/corpus"
  log=$scratch/$target/log
  echo "-- fuzz_$target (${fuzz_seconds}s)"
  # TMPDIR too, so that files a target writes for itself go with the scratch directory.
  if (cd "$scratch/$target" && TMPDIR="$scratch/$target" \
      "$fuzz_build/fuzz/fuzz_$target" -max_total_time="$fuzz_seconds" -timeout=30 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/$target/artifacts/" \
        corpus >"$log" 2>&1); then
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | tr '\n' ' '
    echo
  else
    failed+=("$target")
    tail -n 60 "$log"
    for input in "$scratch/$target"/artifacts/*; do
      [ -e "$input" ] || continue
      echo "failing input $(basename "$input") (base64): $(base64 -w0 "$input")"
    done
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "== all fuzz targets clean"
