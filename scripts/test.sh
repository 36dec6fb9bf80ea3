#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite through ctest:
# the unit tests, the host-load test, the thread stress test under ThreadSanitizer and a bounded
# fuzz run of the settings reader.
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

# A bounded fuzz run of the settings reader (libFuzzer with ASan and UBSan, built with clang):
# a crash or a failed consistency check fails it.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTO_SANITIZER=fuzz \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZELTO_FUZZ_SECONDS="${ZELTO_FUZZ_SECONDS:-60}"
cmake --build build-fuzz -j "$jobs" --target zelto_state_fuzzer
# Verbose, so that the run's statistics (executions, coverage) reach the log; the pipe keeps
# ctest's exit status (pipefail).
ctest --test-dir build-fuzz -L fuzz -V 2>&1 | tail -n 150
