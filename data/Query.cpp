#include "data/Query.h"

#include "data/Engine.h"
#include "data/Failure.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace data {

namespace {

// The engine's tables declare their kind in the column type: CHAR(n),
// SMALLINT or FLOAT.
ColumnInfo columnInfo(sqlite3_stmt* statement, int i)
{
    ColumnInfo c;
    c.name = QString::fromUtf8(sqlite3_column_name(statement, i));
    const QString type = QString::fromUtf8(sqlite3_column_decltype(statement, i)).toUpper();
    static const QRegularExpression charType(QStringLiteral("^CHAR\\((\\d+)\\)$"));
    const QRegularExpressionMatch m = charType.match(type);
    if (m.hasMatch()) {
        c.kind = FieldKind::Text;
        c.width = m.captured(1).toInt();
    } else if (type == QLatin1String("SMALLINT")) {
        c.kind = FieldKind::SmallInt;
    } else if (type == QLatin1String("FLOAT")) {
        c.kind = FieldKind::Float;
    }
    return c;
}

QVariant valueOf(sqlite3_stmt* statement, int i)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_INTEGER: return QVariant(int(sqlite3_column_int64(statement, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(statement, i));
    case SQLITE_TEXT: {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, i));
        return QVariant(QString::fromUtf16(text, sqlite3_column_bytes16(statement, i) / 2));
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
        return QVariant(QString::fromLatin1(bytes, sqlite3_column_bytes(statement, i)));
    }
    default: return {};
    }
}

} // namespace

Query::Query(QObject* parent) : DataSet(parent)
{
}

Query::~Query()
{
    unprepare();
}

void Query::setSql(const QStringList& lines)
{
    close();
    unprepare();
    sql_ = lines;
    params_.clear();
}

void Query::unprepare()
{
    if (statement_)
        sqlite3_finalize(statement_);
    statement_ = nullptr;
}

void Query::prepare()
{
    if (statement_)
        return;
    Engine& engine = Engine::instance();
    statement_ = engine.prepare(statement());
    generation_ = engine.generation();
    params_.resize(size_t(sqlite3_bind_parameter_count(statement_)));
}

int Query::paramCount()
{
    prepare();
    return int(params_.size());
}

void Query::setParam(int index, const QVariant& value)
{
    prepare();
    if (index < 0 || size_t(index) >= params_.size())
        fail(QStringLiteral("Parameter index out of range"));
    params_[size_t(index)] = value;
}

void Query::setParamInteger(int index, int value)
{
    setParam(index, QVariant(value));
}

void Query::setParamText(int index, const QString& value)
{
    setParam(index, QVariant(value));
}

void Query::bindParams()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    for (size_t i = 0; i < params_.size(); ++i) {
        const QVariant& v = params_[i];
        const int at = int(i) + 1;
        int rc = SQLITE_OK;
        if (!v.isValid()) {
            const char* name = sqlite3_bind_parameter_name(statement_, at);
            fail(QStringLiteral("No value for parameter '%1'").arg(QString::fromUtf8(name ? name + 1 : "")));
        } else if (v.typeId() == QMetaType::Int) {
            rc = sqlite3_bind_int(statement_, at, v.toInt());
        } else {
            const QString text = v.toString();
            rc = sqlite3_bind_text16(statement_, at, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            Engine::instance().fail();
    }
}

void Query::readColumns()
{
    const int count = sqlite3_column_count(statement_);
    columns_.clear();
    for (int i = 0; i < count; ++i)
        columns_.push_back(columnInfo(statement_, i));
}

void Query::readResult()
{
    rows_.clear();
    // A table attached anew since the statement was prepared (its file
    // restructured) makes the first step prepare the statement again, so
    // its columns are known only after that step.
    int rc = sqlite3_step(statement_);
    readColumns();
    const int count = int(columns_.size());
    while (rc == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(valueOf(statement_, i));
        rows_.push_back(std::move(row));
        rc = sqlite3_step(statement_);
    }
    if (rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(Engine::instance().db()));
        sqlite3_reset(statement_);
        rows_.clear();
        throw Failure(QString::fromLatin1(Failure::Engine), message);
    }
    sqlite3_reset(statement_);
}

void Query::doOpen()
{
    prepare();
    Engine& engine = Engine::instance();
    engine.refreshTables();
    if (generation_ != engine.generation()) {
        unprepare();
        prepare(); // the parameters keep their values
    }
    bindParams();
    readResult();
    pos_ = -1;
}

void Query::doClose()
{
    rows_.clear();
    columns_.clear();
    pos_ = -1;
    if (statement_)
        sqlite3_reset(statement_);
}

std::vector<ColumnInfo> Query::columns() const
{
    return columns_;
}

bool Query::doFirst()
{
    pos_ = rows_.empty() ? -1 : 0;
    return pos_ >= 0;
}

bool Query::doLast()
{
    pos_ = int(rows_.size()) - 1;
    return pos_ >= 0;
}

bool Query::doNext()
{
    if (pos_ + 1 >= int(rows_.size()))
        return false;
    ++pos_;
    return true;
}

bool Query::doPrior()
{
    if (pos_ <= 0)
        return false;
    --pos_;
    return true;
}

bool Query::hasCurrent() const
{
    return pos_ >= 0;
}

int Query::doRowCount()
{
    return int(rows_.size());
}

int Query::doCurrentRow()
{
    return pos_;
}

bool Query::doMoveToRow(int row)
{
    if (row < 0 || row >= int(rows_.size()))
        return false;
    pos_ = row;
    return true;
}

QVariant Query::doValueAt(int row, int column)
{
    return rows_[size_t(row)][size_t(column)];
}

QVariant Query::columnValue(int column) const
{
    if (pos_ < 0 || column < 0 || size_t(column) >= columns_.size())
        return {};
    return rows_[size_t(pos_)][size_t(column)];
}

} // namespace data
