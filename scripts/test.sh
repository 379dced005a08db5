#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (CTest closes the output).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cd build
exec ctest --output-on-failure --no-label-summary -j"$(nproc)" --timeout 300
