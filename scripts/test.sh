#!/usr/bin/env bash
# Builds and runs every test: once optimised, once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$jobs"
# Among the release tests, cpack makes the Debian package (build/release/package/) first;
# the package tests then take it apart and start the installed program.
(cd build/release && ctest --output-on-failure -j"$jobs")

# Line tables are all a sanitizer's report needs; full debug information
# only makes the build slower.
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1 \
  -DOBWODNIK_SANITIZE=ON -DOBWODNIK_BENCH=OFF >/dev/null
cmake --build build/sanitize -j"$jobs"
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$jobs")

# Each fuzz target briefly over its seed corpus (scripts/fuzz.sh <seconds> for longer runs).
scripts/fuzz.sh 5
