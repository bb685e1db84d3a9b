"""python3-dbf as a peer of the table tests.

    dbf_peer.py make <rows file> <table> [memo]
    dbf_peer.py append <rows file> <table>
    dbf_peer.py dump <table>

Rows file and dump are Windows-1250 text, as for tdbf_table.pas: a line of
field layouts, then a deleted flag and the values per line, all
tab-separated; an empty value is blank. The dump lists every record, deleted
ones too, in file order, with <null> for a blank number.
"""
import sys

import dbf


def read_rows(rows_path):
    with open(rows_path, encoding="cp1250", newline="\n") as f:
        lines = f.read().split("\n")
    return [s.split(" ") for s in lines[0].split("\t")], lines[1:]


def make(rows_path, path, memo):
    layouts, lines = read_rows(rows_path)
    layout = "; ".join(
        f"{name} C({width})" if kind == "C" else f"{name} N({width},{decimals})"
        for name, kind, width, decimals in layouts
    )
    if memo:
        layout += "; NOTA M"
    table = dbf.Table(path, layout, codepage="cp1250", dbf_type="db3")
    table.open(dbf.READ_WRITE)
    add(table, layouts, lines, memo)
    table.close()


def append(rows_path, path):
    layouts, lines = read_rows(rows_path)
    table = dbf.Table(path, codepage="cp1250")
    table.open(dbf.READ_WRITE)
    add(table, layouts, lines, False)
    table.close()


def add(table, layouts, lines, memo):
    for line in lines:
        if not line:
            continue
        flag, *values = line.split("\t")
        row = []
        for (name, kind, width, decimals), text in zip(layouts, values):
            if kind == "C":
                row.append(text)
            elif text == "":
                row.append(None)
            else:
                row.append(float(text) if int(decimals) else int(float(text)))
        if memo:
            row.append("notatka")
        table.append(tuple(row))
        if flag == "*":
            dbf.delete(table[-1])


def dump(path):
    table = dbf.Table(path, codepage="cp1250")
    table.open(dbf.READ_ONLY)
    out = []
    for record in table:
        values = ["*" if dbf.is_deleted(record) else " "]
        for value in record:
            if value is None:
                values.append("<null>")
            elif isinstance(value, str):
                values.append(value.rstrip(" "))
            else:
                values.append(repr(value))
        out.append("\t".join(values))
    table.close()
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("cp1250"))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3], len(sys.argv) > 4 and sys.argv[4] == "memo")
    elif sys.argv[1] == "append":
        append(sys.argv[2], sys.argv[3])
    else:
        dump(sys.argv[2])
