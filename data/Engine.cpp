#include "data/Engine.h"

#include "data/DbfErrors.h"
#include "data/DbfFile.h"
#include "data/DbfModule.h"
#include "data/Failure.h"
#include "data/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <sys/stat.h>

namespace data {

Engine& Engine::instance()
{
    static Engine engine;
    return engine;
}

Engine::Engine()
{
    // Only the thread of the windows runs statements.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(":memory:", &db_, flags, nullptr) != SQLITE_OK)
        throw Failure(QString::fromLatin1(Failure::Engine), QStringLiteral("Cannot start the SQL engine"));
    // Texts come from the tables and go to the data sets as UTF-16: stored
    // so, a text value is never translated on its way.
    exec(QStringLiteral("PRAGMA encoding = 'UTF-16'"));
    DbfModule::registerWith(db_, this);
}

Engine::~Engine()
{
    sqlite3_close_v2(db_);
}

void Engine::fail(const QString& context) const
{
    QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    if (!context.isEmpty())
        message = context + QLatin1Char('\n') + message;
    throw Failure(QString::fromLatin1(Failure::Engine), message);
}

QStringList Engine::attachedTables() const
{
    QStringList names;
    for (const Attached& a : attached_)
        names.append(a.name.toLower());
    return names;
}

namespace {
QString quotedName(QString name)
{
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}
QString tablePath(const QString& table)
{
    return QFileInfo(resolveFileName(table + QStringLiteral(".dbf"))).absoluteFilePath();
}
// Device and inode, {0, 0} when there is no such file.
std::pair<quint64, quint64> identityOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {0, 0};
    return {quint64(st.st_dev), quint64(st.st_ino)};
}
} // namespace

void Engine::exec(const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw Failure(QString::fromLatin1(Failure::Engine), message);
    }
}

void Engine::attach(const QString& table)
{
    const QString path = tablePath(table);
    const std::pair<quint64, quint64> identity = identityOf(path);
    if (identity.second == 0)
        throw DbfErrors::missing(table.toUpper() + QStringLiteral(".DBF"));
    Attached a{table, path, DbfFile::open(path), identity};
    QString file = path;
    file.replace(QLatin1Char('\''), QStringLiteral("''"));
    exec(QStringLiteral("CREATE VIRTUAL TABLE temp.%1 USING dbf('%2')").arg(quotedName(table), file));
    attached_.push_back(std::move(a));
}

void Engine::detach(const Attached& table)
{
    exec(QStringLiteral("DROP TABLE temp.%1").arg(quotedName(table.name)));
}

// Where the table's name leads now. The file found before stands while it
// is still in the working directory and no file of exactly the name has
// come; only then is the directory searched again.
QString Engine::currentPath(const Attached& table)
{
    const QString exact = QDir::current().absoluteFilePath(table.name + QStringLiteral(".dbf"));
    if (QFileInfo::exists(exact))
        return exact;
    const QFileInfo before(table.path);
    if (before.absolutePath() == QDir::currentPath() && before.exists())
        return table.path;
    return tablePath(table.name);
}

void Engine::refreshTables()
{
    // A table whose name leads elsewhere now, or to no file, is dropped; the
    // next statement that names it attaches it again, or says why it cannot.
    for (auto a = attached_.begin(); a != attached_.end();) {
        const QString path = currentPath(*a);
        if (path == a->path && identityOf(path) == a->identity) {
            ++a;
            continue;
        }
        detach(*a);
        a = attached_.erase(a);
        ++generation_;
    }
}

sqlite3_stmt* Engine::prepare(const QString& sql)
{
    static const QRegularExpression noSuchTable(QStringLiteral("^no such table: (?:temp\\.|main\\.)?(.+)$"));
    refreshTables();
    const QByteArray text = sql.toUtf8();
    QStringList tried;
    for (;;) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr) == SQLITE_OK)
            return statement;
        const QRegularExpressionMatch m = noSuchTable.match(QString::fromUtf8(sqlite3_errmsg(db_)));
        if (!m.hasMatch() || tried.contains(m.captured(1), Qt::CaseInsensitive))
            fail();
        tried.append(m.captured(1));
        attach(m.captured(1));
    }
}

} // namespace data
