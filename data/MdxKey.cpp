#include "data/MdxKey.h"

#include "data/DbfFile.h"
#include "data/MdxBcd.h"
#include "data/Win1250.h"

#include <QDate>
#include <QtEndian>

#include <cstring>

namespace data {

namespace {

double dateValue(const char* key)
{
    return qFromLittleEndian<double>(key);
}

int order(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

// Keys of a length their type cannot have compare as bytes: they are read,
// never written (such a tag refuses writes).
MdxKey::MdxKey(char type, int length, bool descending) : type_(type), length_(length), descending_(descending)
{
    if (((type_ == 'N' || type_ == 'F') && length_ != MdxBcd::kSize) || (type_ == 'D' && length_ != 8))
        type_ = '?';
}

int MdxKey::compare(const char* a, const char* b) const
{
    int result = 0;
    if (type_ == 'N' || type_ == 'F')
        result = MdxBcd::compare(a, b);
    else if (type_ == 'D')
        result = order(dateValue(a), dateValue(b));
    else
        result = std::memcmp(a, b, size_t(length_));
    result = result < 0 ? -1 : (result > 0 ? 1 : 0);
    return descending_ ? -result : result;
}

QByteArray MdxKey::fromRecord(const DbfField& field, const char* record) const
{
    const char* text = record + field.offset;
    if (type_ == 'N' || type_ == 'F')
        return MdxBcd::fromText(text, field.width);
    if (type_ == 'D')
        return dateKey(text, field.width);
    return textKey(QByteArray(text, field.width));
}

QByteArray MdxKey::fromValue(const QVariant& value) const
{
    if (type_ == 'N' || type_ == 'F')
        return numberKey(value);
    if (type_ == 'D') {
        if (value.typeId() == QMetaType::QDate)
            return dateKey(value.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1().constData(), 8);
        const QByteArray text = value.toString().toLatin1();
        return dateKey(text.constData(), text.size());
    }
    const QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                                                                     : Win1250::encode(value.toString());
    if (bytes.size() > length_)
        return {};
    return textKey(bytes);
}

QByteArray MdxKey::textKey(const QByteArray& bytes) const
{
    QByteArray key = bytes.left(length_);
    key.append(QByteArray(length_ - key.size(), ' '));
    return key;
}

QByteArray MdxKey::numberKey(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return MdxBcd::fromText(QByteArray::number(value.toDouble(), 'f', 10));
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return MdxBcd::fromText(value.toString().toLatin1());
    default:
        return MdxBcd::fromText(value.toString().trimmed().toLatin1());
    }
}

QByteArray MdxKey::dateKey(const char* text, qsizetype size)
{
    const QDate date = QDate::fromString(QString::fromLatin1(text, std::min<qsizetype>(size, 8)), QStringLiteral("yyyyMMdd"));
    QByteArray key(8, '\0');
    qToLittleEndian<double>(date.isValid() ? double(date.toJulianDay()) : 0.0, key.data());
    return key;
}

} // namespace data
