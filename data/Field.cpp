#include "data/Field.h"

#include "data/Conversions.h"
#include "data/DataSet.h"
#include "data/Failure.h"

#include <QLocale>

namespace data {

namespace {
Failure convertError(const QString& message)
{
    return Failure(QString::fromLatin1(Failure::Convert), message);
}
Failure databaseError(const QString& message)
{
    return Failure(QString::fromLatin1(Failure::Database), message);
}
} // namespace

Field::Field(DataSet* owner, QString name, FieldKind kind, int size, QString displayLabel, int displayWidth)
    : owner_(owner), name_(std::move(name)), kind_(kind), size_(size), label_(std::move(displayLabel)),
      displayWidth_(displayWidth)
{
}

int Field::displayWidth() const
{
    if (displayWidth_ > 0)
        return displayWidth_;
    switch (kind_) {
    case FieldKind::Text: return size_;
    case FieldKind::SmallInt: return 6;
    default: return 10;
    }
}

QVariant Field::value() const
{
    if (column_ < 0)
        return {};
    return owner_->columnValue(column_);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (kind_ == FieldKind::Text) {
        const QString text = v.toString();
        const std::optional<int> n = strictToInt(text);
        if (!n)
            throw convertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return *n;
    }
    if (!v.isValid() || v.isNull())
        return 0;
    if (kind_ == FieldKind::SmallInt)
        return v.toInt();
    const std::optional<int> n = roundHalfEven(v.toDouble());
    if (!n)
        throw convertError(QStringLiteral("Invalid floating point operation"));
    return *n;
}

QString Field::asString() const
{
    return displayText(value());
}

QString Field::displayText(const QVariant& v) const
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (kind_) {
    case FieldKind::Text: return v.toString();
    case FieldKind::SmallInt: return QString::number(v.toInt());
    case FieldKind::Float: return formatFloat(v.toDouble());
    case FieldKind::Other: break;
    }
    return v.toString();
}

void Field::setValue(const QVariant& v)
{
    owner_->setColumnValue(this, v);
}

void Field::setAsString(const QString& text)
{
    if (text.isEmpty()) {
        setValue(QVariant());
        return;
    }
    switch (kind_) {
    case FieldKind::Text:
        setValue(text.left(size_));
        return;
    case FieldKind::SmallInt: {
        const std::optional<int> n = strictToInt(text);
        if (!n)
            throw databaseError(QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(text, displayName()));
        if (*n < -32768 || *n > 32767)
            throw databaseError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                                    .arg(QString::number(*n), displayName(), QStringLiteral("-32768"), QStringLiteral("32767")));
        setValue(*n);
        return;
    }
    case FieldKind::Float:
    case FieldKind::Other: {
        const std::optional<double> d = parseFloat(text);
        if (!d)
            throw databaseError(QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(text, displayName()));
        setValue(*d);
        return;
    }
    }
}

bool Field::isValidChar(QChar c) const
{
    switch (kind_) {
    case FieldKind::Text:
    case FieldKind::Other:
        return true;
    case FieldKind::SmallInt:
        return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-');
    case FieldKind::Float: {
        const QLocale locale = QLocale::system();
        return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('E')
            || c == QLatin1Char('e') || c == QLatin1Char('.') || c == locale.decimalPoint().front();
    }
    }
    return true;
}

} // namespace data
