#!/bin/sh
# Full scans of the same tables by this program, by shapelib and by
# python3-dbfread, side by side with the ratios, and the peak memory of ours
# (the same for 100,000 and 1,000,000 records when it does not grow with
# the table). Needs a Release build with the targets dbf_scan_bench and
# shp_scan:
#   cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DOBWODNIK_DATA_ONLY=ON
#   cmake --build build-release --target dbf_scan_bench shp_scan
#   bench/compare_scan.sh build-release [runs]
set -eu
build=${1:-build}
runs=${2:-5}
bench=$build/bench/dbf_scan_bench
shp=$build/bench/shp_scan
here=$(dirname "$0")

# Each scanner prints "records CPU-seconds checksum" (CPU time: the machine
# is shared, wall time measures the neighbours); keeps the fastest run.
fastest() {
    n=$1
    shift
    for _ in $(seq "$n"); do "$@"; done | sort -k2,2g | head -n 1
}

peak_kib() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}

printf '%-9s %8s %9s %11s %10s %13s %13s %9s\n' \
    table records ours_s shapelib_s dbfread_s dbfread/ours shapelib/ours ours_KiB
"$bench" tables | while read -r name rows path; do
    cat "$path" >/dev/null
    ours=$(fastest "$runs" "$bench" scan "$path")
    theirs=$(fastest "$runs" "$shp" "$path")
    dbfread=$(fastest 1 /usr/bin/python3 "$here/dbfread_scan.py" "$path")
    memory=$(peak_kib "$bench" scan "$path")
    [ "$(echo "$ours" | cut -d' ' -f3)" = "$(echo "$theirs" | cut -d' ' -f3)" ] ||
        echo "warning: $name: shapelib's checksum differs from ours" >&2
    echo "$name $rows $ours $theirs $dbfread $memory" | awk '{
        printf "%-9s %8d %9.3f %11.3f %10.3f %13.1f %13.2f %9d\n",
               $1, $2, $4, $7, $10, $10 / $4, $7 / $4, $12 }'
done
