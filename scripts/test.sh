#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs="${ZELTO_JOBS:-$(nproc)}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
