#include "data/DbfModule.h"

#include "data/DbfFile.h"
#include "data/Engine.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "data/Win1250.h"

#include <sqlite3.h>

#include <algorithm>
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

// A listed record read alone costs a system call; reading the stretch the
// listed records lie in, block by block, costs about this many bytes per
// record before it is the dearer way.
constexpr qint64 kBytesPerRead = 16 * 1024;

bool testable(FieldKind kind)
{
    return kind == FieldKind::Text || kind == FieldKind::SmallInt || kind == FieldKind::Float;
}

struct Table : sqlite3_vtab {
    Engine* engine = nullptr;
    std::shared_ptr<DbfFile> file;
    std::vector<DbfField> fields;
};

// One equality constraint, tested on the raw record. SQLite leaves the
// constraint to the module alone, so the test follows SQLite's comparison:
// a text column against the value's text, a number column against the value
// as a number (a text that is no number equals no number), NULL nothing.
struct Test {
    int field = -1;
    bool isText = false;
    bool raw = false;  // text compared as the bytes the file holds
    QByteArray bytes;  // the text in the file's code page
    QString text;      // text the code page cannot hold, compared decoded
    double number = 0;
};

struct Cursor : sqlite3_vtab_cursor {
    std::shared_ptr<DbfFile> file;
    std::unique_ptr<DbfFile::Scanner> scanner;
    bool none = false;    // the constraints hold for no row
    bool listed = false;  // only the records an index names
    std::vector<quint32> records;
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
        table->file = DbfFile::open(path);
        table->engine = static_cast<Engine*>(aux);
        table->fields = table->file->fields();
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

int tagOf(Table& table, int column)
{
    MdxIndex* index = table.file->productionIndex();
    return index ? index->tagForField(table.fields[size_t(column)].name) : -1;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info)
{
    auto* table = static_cast<Table*>(vtab);
    return guardedCall(vtab, [&] {
        const double rows = double(table->file->recordCount()) + 1.0;
        QStringList columns;
        bool indexed = false;
        for (int i = 0; i < info->nConstraint; ++i) {
            const auto& c = info->aConstraint[i];
            if (!c.usable || c.op != SQLITE_INDEX_CONSTRAINT_EQ || c.iColumn < 0
                || !testable(table->fields[size_t(c.iColumn)].kind))
                continue;
            columns.append(QString::number(c.iColumn));
            info->aConstraintUsage[i].argvIndex = int(columns.size());
            info->aConstraintUsage[i].omit = 1;
            if (!indexed && table->fields[size_t(c.iColumn)].kind != FieldKind::Text)
                indexed = tagOf(*table, c.iColumn) >= 0;
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
    auto cursor = std::make_unique<Cursor>();
    cursor->file = table->file;
    *out = cursor.release();
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cur)
{
    delete static_cast<Cursor*>(cur);
    return SQLITE_OK;
}

// A text field holds `bytes` when its bytes are they, followed only by the
// blanks or NULs that reading drops; a text that itself ends in one of them
// is never read.
bool holds(const char* field, int width, const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    if (n > width || std::memcmp(field, bytes.constData(), size_t(n)) != 0)
        return false;
    if (n > 0 && (bytes.back() == ' ' || bytes.back() == '\0'))
        return false;
    for (qsizetype i = n; i < width; ++i) {
        if (field[i] != ' ' && field[i] != '\0')
            return false;
    }
    return true;
}

bool passes(Cursor& c)
{
    if (DbfFile::isDeleted(c.record))
        return false;
    const std::vector<DbfField>& fields = c.file->fields();
    for (const Test& t : c.tests) {
        if (t.raw) {
            const DbfField& f = fields[size_t(t.field)];
            if (!holds(c.record + f.offset, f.width, t.bytes))
                return false;
            continue;
        }
        c.file->valueInto(c.record, t.field, c.scratch);
        if (c.scratch.isNull())
            return false; // NULL equals nothing
        if (t.isText ? *static_cast<const QString*>(c.scratch.constData()) != t.text : c.scratch.toDouble() != t.number)
            return false;
    }
    return true;
}

// The next record to test: the next of the file, or of those an index
// listed (read alone, or picked from blocks when they lie close).
bool nextRecord(Cursor& c)
{
    if (!c.listed) {
        c.record = c.scanner->next();
        c.recno = c.scanner->recno();
        return c.record != nullptr;
    }
    while (c.listPos < c.records.size()) {
        const quint32 wanted = c.records[c.listPos++];
        if (c.scanner) {
            const char* r = nullptr;
            while ((r = c.scanner->next()) && c.scanner->recno() < wanted) {
            }
            c.record = r;
            c.recno = wanted;
            return r != nullptr;
        }
        if (c.file->readRecord(wanted, c.listedRecord)) {
            c.record = c.listedRecord.constData();
            c.recno = wanted;
            return true;
        }
    }
    return false;
}

bool step(Cursor& c)
{
    if (!c.none) {
        while (nextRecord(c)) {
            if (passes(c))
                return true;
        }
    }
    c.record = nullptr;
    return false;
}

// The test of `v` against the field, or nullopt when no row can pass it.
std::optional<Test> testOf(const DbfField& f, int field, sqlite3_value* v)
{
    Test t;
    t.field = field;
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL || type == SQLITE_BLOB)
        return std::nullopt;
    if (f.kind == FieldKind::Text) {
        // A number meets a text column as its text.
        t.isText = true;
        t.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        t.raw = Win1250::canEncode(t.text);
        if (t.raw)
            t.bytes = Win1250::encode(t.text);
        return t;
    }
    if (type == SQLITE_TEXT) {
        // A text meets a number column as the number it spells, if any.
        sqlite3_value* copy = sqlite3_value_dup(v);
        const int numeric = copy ? sqlite3_value_numeric_type(copy) : SQLITE_TEXT;
        t.number = copy ? sqlite3_value_double(copy) : 0;
        sqlite3_value_free(copy);
        if (numeric != SQLITE_INTEGER && numeric != SQLITE_FLOAT)
            return std::nullopt;
        return t;
    }
    t.number = sqlite3_value_double(v);
    return t;
}

// With a numeric test on a field the production index has a tag for, only
// the records the index lists for the value are read, in record order.
void listFromIndex(Cursor& c)
{
    MdxIndex* index = nullptr;
    for (const Test& t : c.tests) {
        if (t.isText)
            continue;
        if (!index)
            index = c.file->productionIndex();
        const int tag = index ? index->tagForField(c.file->fields()[size_t(t.field)].name) : -1;
        if (tag < 0)
            continue;
        c.records = index->find(tag, QVariant(t.number));
        std::sort(c.records.begin(), c.records.end());
        c.records.erase(std::unique(c.records.begin(), c.records.end()), c.records.end());
        c.listed = true;
        if (c.records.empty())
            return;
        const qint64 span = qint64(c.records.back()) - qint64(c.records.front()) + 1;
        if (span * c.file->recordLength() <= qint64(c.records.size()) * kBytesPerRead)
            c.scanner = std::make_unique<DbfFile::Scanner>(*c.file, c.records.front());
        return;
    }
}

int filter(sqlite3_vtab_cursor* cur, int, const char* idxStr, int argc, sqlite3_value** argv)
{
    auto& c = *static_cast<Cursor*>(cur);
    auto* table = static_cast<Table*>(cur->pVtab);
    return guardedCall(cur->pVtab, [&] {
        table->engine->countScan();
        c.tests.clear();
        c.scanner.reset();
        c.records.clear();
        c.listed = false;
        c.listPos = 0;
        c.none = false;
        const QStringList columns = QString::fromLatin1(idxStr ? idxStr : "").split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < argc && i < columns.size() && !c.none; ++i) {
            const int field = columns[i].toInt();
            const std::optional<Test> t = testOf(table->fields[size_t(field)], field, argv[i]);
            if (t)
                c.tests.push_back(*t);
            else
                c.none = true;
        }
        if (!c.none)
            listFromIndex(c);
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
