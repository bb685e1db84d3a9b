#include "data/Engine.h"

#include "data/DbfErrors.h"
#include "data/DbfFile.h"
#include "data/DbfModule.h"
#include "data/Failure.h"
#include "data/FileLookup.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace data {

Engine& Engine::instance()
{
    static Engine engine;
    return engine;
}

Engine::Engine()
{
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr) != SQLITE_OK)
        throw Failure(QString::fromLatin1(Failure::Engine), QStringLiteral("Cannot start the SQL engine"));
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

QString Engine::signatureOf(const QString& path)
{
    QStringList parts;
    const std::shared_ptr<DbfFile> file = DbfFile::open(path);
    for (const DbfField& f : file->fields())
        parts.append(QStringLiteral("%1 %2 %3 %4").arg(f.name).arg(QLatin1Char(f.type)).arg(f.width).arg(f.decimals));
    return parts.join(QLatin1Char(';'));
}

void Engine::attach(const QString& table)
{
    const QString path = tablePath(table);
    if (!QFileInfo(path).isFile())
        throw DbfErrors::missing(table.toUpper() + QStringLiteral(".DBF"));
    QString file = path;
    file.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString signature = signatureOf(path);
    exec(QStringLiteral("CREATE VIRTUAL TABLE temp.%1 USING dbf('%2')").arg(quotedName(table), file));
    attached_.push_back({table, path, signature});
}

void Engine::detach(const Attached& table)
{
    exec(QStringLiteral("DROP TABLE temp.%1").arg(quotedName(table.name)));
}

void Engine::refreshTables()
{
    for (auto a = attached_.begin(); a != attached_.end();) {
        const QString path = tablePath(a->name);
        if (!QFileInfo(path).isFile()) {
            // Attached again when a statement names it, which reports it missing.
            detach(*a);
            a = attached_.erase(a);
            ++generation_;
            continue;
        }
        const QString signature = signatureOf(path);
        if (path != a->path || signature != a->signature) {
            detach(*a);
            QString file = path;
            file.replace(QLatin1Char('\''), QStringLiteral("''"));
            exec(QStringLiteral("CREATE VIRTUAL TABLE temp.%1 USING dbf('%2')").arg(quotedName(a->name), file));
            a->path = path;
            a->signature = signature;
            ++generation_;
        }
        ++a;
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
