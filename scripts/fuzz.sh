#!/usr/bin/env bash
# Builds one libFuzzer target with clang and runs it for a while.
#   bash scripts/fuzz.sh <target> <seconds>     e.g. bash scripts/fuzz.sh fuzz_txml 300
# The corpus grows in fuzz-out/<target>/; a finding is written there as crash-* and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: scripts/fuzz.sh <target> <seconds>}
seconds=${2:-300}

bash scripts/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DTARMEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
ninja -C build-fuzz "$target"

mkdir -p "fuzz-out/$target"
exec "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="fuzz-out/$target/" "fuzz-out/$target"
