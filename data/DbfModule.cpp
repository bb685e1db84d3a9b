#include "data/DbfModule.h"

#include "data/DbfFile.h"
#include "data/Engine.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"

#include <sqlite3.h>

#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

namespace data {

namespace {

QString declaredType(const DbfField& f)
{
    switch (f.kind) {
    case FieldKind::Text: return QStringLiteral("CHAR(%1)").arg(f.width);
    case FieldKind::SmallInt: return QStringLiteral("SMALLINT");
    case FieldKind::Float: return QStringLiteral("FLOAT");
    case FieldKind::Other: break;
    }
    return QStringLiteral("RAW_%1(%2)").arg(QLatin1Char(f.type)).arg(f.width);
}

struct Table : sqlite3_vtab {
    Engine* engine = nullptr;
    QString path;
    std::vector<DbfField> fields;
};

// One equality constraint as the module can test it on a raw record.
struct Test {
    int field = -1;
    std::optional<QString> text;
    std::optional<double> number;
};

struct Cursor : sqlite3_vtab_cursor {
    std::shared_ptr<DbfFile> file;
    std::unique_ptr<DbfFile::Scanner> scanner;
    std::optional<std::vector<quint32>> listed; // records named by an index
    size_t listPos = 0;
    QByteArray listedRecord;
    const char* record = nullptr;
    quint32 recno = 0;
    std::vector<Test> tests;
    QVariant scratch;
};

// A failure inside a callback cannot cross SQLite's C frames: it becomes the
// table's error message, which the engine turns back into a Failure.
template <class F>
int guardedCall(sqlite3_vtab* vtab, F&& body)
{
    try {
        return body();
    } catch (const Failure& f) {
        sqlite3_free(vtab->zErrMsg);
        vtab->zErrMsg = sqlite3_mprintf("%s", f.message().toUtf8().constData());
    } catch (const std::exception& e) {
        sqlite3_free(vtab->zErrMsg);
        vtab->zErrMsg = sqlite3_mprintf("%s", e.what());
    }
    return SQLITE_ERROR;
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** error)
{
    auto table = std::make_unique<Table>();
    std::memset(static_cast<sqlite3_vtab*>(table.get()), 0, sizeof(sqlite3_vtab));
    try {
        if (argc < 4)
            throw Failure(QString::fromLatin1(Failure::Engine), QStringLiteral("dbf: no file named"));
        QString path = QString::fromUtf8(argv[3]);
        if (path.size() >= 2 && path.startsWith(QLatin1Char('\'')) && path.endsWith(QLatin1Char('\'')))
            path = path.mid(1, path.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        const std::shared_ptr<DbfFile> file = DbfFile::open(path);
        table->engine = static_cast<Engine*>(aux);
        table->path = path;
        table->fields = file->fields();
        QStringList columns;
        for (const DbfField& f : table->fields) {
            QString name = f.name;
            name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            columns.append(QStringLiteral("\"%1\" %2").arg(name, declaredType(f)));
        }
        const QByteArray schema = QStringLiteral("CREATE TABLE x(%1)").arg(columns.join(QStringLiteral(", "))).toUtf8();
        if (sqlite3_declare_vtab(db, schema.constData()) != SQLITE_OK)
            throw Failure(QString::fromLatin1(Failure::Engine), QString::fromUtf8(sqlite3_errmsg(db)));
    } catch (const Failure& f) {
        *error = sqlite3_mprintf("%s", f.message().toUtf8().constData());
        return SQLITE_ERROR;
    }
    *out = table.release();
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab)
{
    delete static_cast<Table*>(vtab);
    return SQLITE_OK;
}

bool hasIndexTag(const Table& table, int column)
{
    const std::shared_ptr<DbfFile> file = DbfFile::open(table.path);
    MdxIndex* index = file->productionIndex();
    return index && index->tagForField(table.fields[size_t(column)].name) >= 0;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info)
{
    auto* table = static_cast<Table*>(vtab);
    return guardedCall(vtab, [&] {
        const double rows = double(DbfFile::open(table->path)->recordCount()) + 1.0;
        QStringList columns;
        bool indexed = false;
        for (int i = 0; i < info->nConstraint; ++i) {
            const auto& c = info->aConstraint[i];
            if (!c.usable || c.op != SQLITE_INDEX_CONSTRAINT_EQ || c.iColumn < 0)
                continue;
            columns.append(QString::number(c.iColumn));
            info->aConstraintUsage[i].argvIndex = int(columns.size());
            info->aConstraintUsage[i].omit = 0;
            if (!indexed && table->fields[size_t(c.iColumn)].kind != FieldKind::Text)
                indexed = hasIndexTag(*table, c.iColumn);
        }
        // A tested row costs less than one handed to SQLite; an indexed
        // look-up reads only its records.
        info->estimatedCost = indexed ? 10.0 : (columns.isEmpty() ? rows * 2.0 : rows);
        info->estimatedRows = columns.isEmpty() ? sqlite3_int64(rows) : 10;
        info->idxStr = sqlite3_mprintf("%s", columns.join(QLatin1Char(',')).toLatin1().constData());
        info->needToFreeIdxStr = 1;
        return SQLITE_OK;
    });
}

int open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out)
{
    auto* table = static_cast<Table*>(vtab);
    return guardedCall(vtab, [&] {
        auto cursor = std::make_unique<Cursor>();
        cursor->file = DbfFile::open(table->path);
        if (cursor->file->fields().size() != table->fields.size())
            throw Failure(QString::fromLatin1(Failure::Engine),
                          QStringLiteral("The structure of %1 changed while it was open").arg(cursor->file->fileName()));
        *out = cursor.release();
        return SQLITE_OK;
    });
}

int close(sqlite3_vtab_cursor* cur)
{
    delete static_cast<Cursor*>(cur);
    return SQLITE_OK;
}

bool passes(Cursor& c)
{
    if (DbfFile::isDeleted(c.record))
        return false;
    for (const Test& t : c.tests) {
        c.file->valueInto(c.record, t.field, c.scratch);
        if (c.scratch.isNull())
            return false; // NULL equals nothing
        if (t.text && c.scratch.toString() != *t.text)
            return false;
        if (t.number && c.scratch.toDouble() != *t.number)
            return false;
    }
    return true;
}

bool step(Cursor& c)
{
    if (c.listed) {
        while (c.listPos < c.listed->size()) {
            c.recno = (*c.listed)[c.listPos++];
            if (!c.file->readRecord(c.recno, c.listedRecord))
                continue;
            c.record = c.listedRecord.constData();
            if (passes(c))
                return true;
        }
    } else {
        while ((c.record = c.scanner->next())) {
            c.recno = c.scanner->recno();
            if (passes(c))
                return true;
        }
    }
    c.record = nullptr;
    return false;
}

std::optional<Test> testOf(const DbfField& f, int field, sqlite3_value* v)
{
    Test t;
    t.field = field;
    const int type = sqlite3_value_type(v);
    if (f.kind == FieldKind::Text && type == SQLITE_TEXT) {
        t.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        return t;
    }
    if ((f.kind == FieldKind::SmallInt || f.kind == FieldKind::Float) && (type == SQLITE_INTEGER || type == SQLITE_FLOAT)) {
        t.number = sqlite3_value_double(v);
        return t;
    }
    return std::nullopt; // SQLite converts by affinity here; let it decide alone
}

int filter(sqlite3_vtab_cursor* cur, int, const char* idxStr, int argc, sqlite3_value** argv)
{
    auto& c = *static_cast<Cursor*>(cur);
    auto* table = static_cast<Table*>(cur->pVtab);
    return guardedCall(cur->pVtab, [&] {
        table->engine->countScan();
        c.tests.clear();
        c.listed.reset();
        c.listPos = 0;
        const QStringList columns = QString::fromLatin1(idxStr ? idxStr : "").split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < argc && i < columns.size(); ++i) {
            const int field = columns[i].toInt();
            const DbfField& f = table->fields[size_t(field)];
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
                c.listed = std::vector<quint32>{}; // "= NULL" holds for no row
                continue;
            }
            const std::optional<Test> t = testOf(f, field, argv[i]);
            if (!t)
                continue;
            c.tests.push_back(*t);
            if (t->number && !c.listed) {
                MdxIndex* index = c.file->productionIndex();
                const int tag = index ? index->tagForField(f.name) : -1;
                if (tag >= 0)
                    c.listed = index->find(tag, QVariant(*t->number));
            }
        }
        if (!c.listed)
            c.scanner = std::make_unique<DbfFile::Scanner>(*c.file);
        step(c);
        return SQLITE_OK;
    });
}

int next(sqlite3_vtab_cursor* cur)
{
    auto& c = *static_cast<Cursor*>(cur);
    return guardedCall(cur->pVtab, [&] {
        step(c);
        return SQLITE_OK;
    });
}

int eof(sqlite3_vtab_cursor* cur)
{
    return static_cast<Cursor*>(cur)->record == nullptr;
}

int column(sqlite3_vtab_cursor* cur, sqlite3_context* ctx, int i)
{
    auto& c = *static_cast<Cursor*>(cur);
    return guardedCall(cur->pVtab, [&] {
        c.file->valueInto(c.record, i, c.scratch);
        switch (c.scratch.typeId()) {
        case QMetaType::QString: {
            const QString& text = *static_cast<const QString*>(c.scratch.constData());
            sqlite3_result_text16(ctx, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::Int:
            sqlite3_result_int(ctx, c.scratch.toInt());
            break;
        case QMetaType::Double:
            sqlite3_result_double(ctx, c.scratch.toDouble());
            break;
        default:
            sqlite3_result_null(ctx); // a blank number
        }
        return SQLITE_OK;
    });
}

int rowid(sqlite3_vtab_cursor* cur, sqlite3_int64* out)
{
    *out = static_cast<Cursor*>(cur)->recno;
    return SQLITE_OK;
}

const sqlite3_module module = [] {
    sqlite3_module m{};
    m.iVersion = 1;
    m.xCreate = connect;
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}();

} // namespace

void DbfModule::registerWith(sqlite3* db, Engine* engine)
{
    if (sqlite3_create_module(db, "dbf", &module, engine) != SQLITE_OK)
        throw Failure(QString::fromLatin1(Failure::Engine), QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace data
