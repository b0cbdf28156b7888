#!/usr/bin/env bash
# Installs what is missing, builds Kelvarn, and runs every test: once in a Release build, once
# with AddressSanitizer and UndefinedBehaviorSanitizer. The fuzz targets' seed corpora and
# regression files are replayed in both as ordinary tests.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --tests

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVARN_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARN_SANITIZE=ON \
  -DKELVARN_TESTS=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ctest --output-on-failure -j "$jobs")
