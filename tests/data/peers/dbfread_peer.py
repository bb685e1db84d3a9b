"""python3-dbfread as a peer of the table tests: dbfread_peer.py <table>

Writes the records as dbf_peer.py dump does, but dbfread hides deleted
records from its iteration: the live ones come first, then its list of
deleted ones, each in file order.
"""
import sys

import dbfread


def line(flag, record):
    values = [flag]
    for value in record.values():
        if value is None:
            values.append("<null>")
        elif isinstance(value, str):
            values.append(value)
        else:
            values.append(repr(value))
    return "\t".join(values)


table = dbfread.DBF(sys.argv[1], encoding="cp1250", char_decode_errors="strict")
lines = [line(" ", r) for r in table] + [line("*", r) for r in table.deleted]
sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("cp1250"))
