"""python3-dbfread's full scan, the peer of dbf_scan_bench's: iterating the
table decodes every field of every live record (dbfread skips deleted ones).
    dbfread_scan.py <table>    prints "records CPU-seconds checksum"
"""
import sys
import time

import dbfread

start = time.process_time()
table = dbfread.DBF(sys.argv[1], encoding="cp1250", load=False)
records = 0
total = 0.0
for record in table:
    for value in record.values():
        if isinstance(value, str):
            total += len(value)
        elif value is not None:
            total += value
    records += 1
print(f"{records} {time.process_time() - start:.6f} {total:.1f}")
