#!/usr/bin/env bash
# Builds everything and runs every test: once in a normal build, once for
# Windows under Wine, once under AddressSanitizer and UndefinedBehaviorSanitizer
# (built with clang, which also builds the fuzz targets and runs each of them
# briefly).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Normal build =="
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build/release --output-on-failure -j "$jobs"

# The Windows build, cross-compiled and run under Wine against the simulator of
# the normal build.
bash scripts/test-windows.sh

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$top/tests/lsan-suppressions.txt
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DVMX_SANITIZE=ON -DVMX_FUZZ=ON -DVMX_BUILD_BENCH=OFF
ctest --test-dir build/asan --output-on-failure -j "$jobs"
