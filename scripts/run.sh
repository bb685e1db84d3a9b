#!/usr/bin/env bash
# Builds the program (Release) and starts it on the bundled station data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$(nproc)" --target obwodnik
cd station
exec ../build/release/obwodnik
