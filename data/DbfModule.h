#pragma once

struct sqlite3;

namespace data {

class Engine;

// The `dbf` virtual-table module: `CREATE VIRTUAL TABLE t USING dbf('<path>')`
// makes a dBase file a table of the SQL engine. Columns carry their kind in
// the declared type (CHAR(n), SMALLINT, FLOAT) so a query's result can be
// checked against its declared fields. Deleted records are not rows.
// Equality constraints on text and number columns reach the module: each
// record is tested against them in its raw form while the file is read (by
// SQLite's comparison rules: SQLite does not test them again), and a
// numeric one on a field with an index tag reads only the records the index
// names.
class DbfModule {
public:
    static void registerWith(sqlite3* db, Engine* engine);
};

} // namespace data
