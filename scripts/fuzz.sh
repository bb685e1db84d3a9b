#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 60) over its committed seed corpus. New inputs that
# reach new code go to build/fuzz/corpus/<target>; a crash leaves its input
# in build/fuzz/ and stops the run with an error.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DOBWODNIK_FUZZ=ON -DOBWODNIK_TESTS=OFF -DOBWODNIK_BENCH=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)"
for target in dbf_table mdx_index page_lines strict_int; do
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  echo "fuzz_$target: ${seconds}s"
  (cd build/fuzz && ./fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=1 "../../$work" "../../fuzz/corpus/$target" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::new_units_added|#[0-9]+ +DONE)|ERROR|SUMMARY' || true)
  found=$(find build/fuzz -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \))
  if [ -n "$found" ]; then
    echo "$found"
    exit 1
  fi
done
