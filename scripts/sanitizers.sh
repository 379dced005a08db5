#!/usr/bin/env bash
# The window against bad answers under AddressSanitizer and UndefinedBehaviorSanitizer: builds the
# bad-answer program and the data server it starts in build-asan/, then runs the whole table of
# requests and faults and the random mutations of real answers (1,000 unless told otherwise).
#   bash scripts/sanitizers.sh [mutations]
# A finding stops the program with its report and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
mutations=${1:-1000}

bash scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DTARMEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-asan -j"$(nproc)" --target badanswers_test

# Leaks are not looked for: Qt and fontconfig keep their caches until the process ends.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
start=$(date +%s)
TARMEL_MUTATIONS=$mutations build-asan/tests/recordform/badanswers_test
echo "sanitizers: table and $mutations mutations in $(($(date +%s) - start)) s, no finding"
