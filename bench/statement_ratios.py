#!/usr/bin/python3
"""The statement benchmark as ratios: each statement on the large tables
against one bare full scan of the file it reads, and each statement on
tables of the shipped size against 1 ms. CPU times, the fastest of several
runs (the machine is shared, so slower runs measure the neighbours).

    cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DOBWODNIK_DATA_ONLY=ON
    cmake --build build-release --target statement_bench
    bench/statement_ratios.py build-release [runs]
"""
import json
import subprocess
import sys

build = sys.argv[1] if len(sys.argv) > 1 else "build"
runs = sys.argv[2] if len(sys.argv) > 2 else "5"

# Each case against the file it reads through.
cases = [
    ("BM_MerLookUp", "MER.DBF"),
    ("BM_FrequencyLookUp", "CZESTOTL.DBF"),
    ("BM_FrequencyLookUpTwoLines", "CZESTOTL.DBF"),
    ("BM_SectionReview", "ODCINKI.DBF"),
    ("BM_DetailMove", "ODCINKI.DBF"),
    ("BM_DetailTableOpen", "CZESTOTL.DBF"),
    ("BM_TableOpenCold/ODCINKI.DBF", "ODCINKI.DBF"),
]

out = subprocess.run([build + "/bench/statement_bench", "--benchmark_format=json",
                      "--benchmark_repetitions=" + runs],
                     check=True, capture_output=True, text=True).stdout
fastest = {}
for b in json.loads(out)["benchmarks"]:
    if b.get("run_type") != "iteration":
        continue
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
    name = b["run_name"].replace("/process_time", "")
    seconds = b["cpu_time"] * scale
    fastest[name] = min(seconds, fastest.get(name, seconds))

print("%-30s %12s %12s %10s %12s %8s" % ("case", "shipped_us", "of_1ms", "large_ms", "scan_ms", "ratio"))
for case, table in cases:
    shipped = fastest[case + "/shipped"]
    large = fastest[case + "/large"]
    scan = fastest["BM_FullScan/" + table + "/large"]
    print("%-30s %12.1f %12.3f %10.2f %12.2f %8.2f" % (
        case, shipped * 1e6, shipped / 1e-3, large * 1e3, scan * 1e3, large / scan))
