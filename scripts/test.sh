#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite through ctest:
# the unit tests, the host-load test, and the thread stress test under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs="${ZELTO_JOBS:-$(nproc)}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The stress test again, built with ThreadSanitizer: any data race fails it.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTO_SANITIZER=thread
cmake --build build-tsan -j "$jobs" --target zelto_stress
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --test-dir build-tsan --output-on-failure -L stress
