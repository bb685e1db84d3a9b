#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace data {

class DbfFile;

// The SQL engine: one in-memory SQLite connection whose tables are the dBase
// files of the working directory, reached through the `dbf` virtual-table
// module. A table name in a statement resolves to `<name>.dbf`, letter case
// ignored, the first time a statement names it.
class Engine {
public:
    static Engine& instance();

    // Prepares `sql` as it stands, attaching the tables it names.
    sqlite3_stmt* prepare(const QString& sql);
    sqlite3* db() const { return db_; }

    // The tables attached so far (lower-case names): a statement that never
    // ran has opened none.
    QStringList attachedTables() const;
    // Before a statement runs: a table whose file was replaced or removed, or
    // whose name now leads to another file of the working directory, is
    // dropped and attached anew by the next statement that names it, so a
    // statement never reads a file it no longer names.
    void refreshTables();
    // Counts the tables dropped: a statement prepared under another
    // generation must be prepared again.
    quint64 generation() const { return generation_; }
    // How many times a table was scanned (a statement run reads each of its
    // tables at least once): for tests of what runs when.
    quint64 scanCount() const { return scans_; }
    void countScan() { ++scans_; }

    // The message of the connection's last failure, as a Failure.
    [[noreturn]] void fail(const QString& context = QString()) const;

private:
    Engine();
    ~Engine();
    struct Attached {
        QString name;                  // as the statement wrote it
        QString path;                  // the file it resolved to
        std::shared_ptr<DbfFile> file; // held while attached, with its index
        std::pair<quint64, quint64> identity; // device and inode of `path`
    };
    void attach(const QString& table);
    void detach(const Attached& table);
    void exec(const QString& sql);
    static QString currentPath(const Attached& table);

    sqlite3* db_ = nullptr;
    std::vector<Attached> attached_;
    quint64 scans_ = 0;
    quint64 generation_ = 0;
};

} // namespace data
