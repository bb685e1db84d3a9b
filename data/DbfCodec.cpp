#include "data/DbfCodec.h"

#include "data/DbfErrors.h"
#include "data/Win1250.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace data {

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isPad(char c) { return c == ' ' || c == '\0'; }

std::optional<double> parseGeneral(const char* p, const char* end)
{
    if (*p == '+')
        ++p;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(p, end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

qsizetype DbfCodec::trimmedSize(const char* p, int size)
{
    qsizetype n = size;
    while (n > 0 && isPad(p[n - 1]))
        --n;
    return n;
}

// One pass over the plain form dBase writes (blanks, [-]digits[.digits],
// blanks), exact for up to 15 significant digits: digits and power of ten
// are both exact doubles, so the one division rounds correctly. Anything
// else goes to from_chars.
std::optional<double> DbfCodec::parseNumber(const char* p, int size)
{
    const char* end = p + size;
    while (p < end && isPad(*p))
        ++p;
    if (p == end)
        return std::nullopt;
    const char* start = p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    quint64 mantissa = 0;
    int digits = 0;
    int fraction = -1;
    for (; p < end; ++p) {
        const unsigned digit = unsigned(*p - '0');
        if (digit < 10) {
            mantissa = mantissa * 10 + digit;
            ++digits;
            fraction += fraction >= 0;
        } else if (*p == '.' && fraction < 0) {
            fraction = 0;
        } else {
            break;
        }
    }
    while (p < end && isPad(*p))
        ++p;
    if (p == end && digits > 0 && digits <= 15) {
        double v = double(mantissa);
        if (fraction > 0)
            v /= kPow10[fraction];
        return negative ? -v : v;
    }
    return parseGeneral(start, start + trimmedSize(start, int(end - start)));
}

QVariant DbfCodec::decode(const DbfField& f, const char* record)
{
    QVariant v;
    decodeInto(f, record, v);
    return v;
}

void DbfCodec::decodeInto(const DbfField& f, const char* record, QVariant& out)
{
    const char* p = record + f.offset;
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::Other:
        if (out.metaType().id() != QMetaType::QString)
            out = QString();
        Win1250::decodeInto(*static_cast<QString*>(out.data()), p, trimmedSize(p, f.width));
        return;
    case FieldKind::SmallInt:
        if (const auto n = parseNumber(p, f.width))
            out.setValue(int(std::nearbyint(*n)));
        else
            out = QVariant();
        return;
    case FieldKind::Float:
        if (const auto n = parseNumber(p, f.width))
            out.setValue(*n);
        else
            out = QVariant();
        return;
    }
}

void DbfCodec::encode(const DbfField& f, char* record, const QVariant& v, const QString& file)
{
    char* dst = record + f.offset;
    if (v.isNull()) {
        std::memset(dst, ' ', size_t(f.width));
        return;
    }
    if (f.kind == FieldKind::SmallInt || f.kind == FieldKind::Float)
        encodeNumber(f, dst, v, file);
    else
        encodeText(f, dst, v);
}

void DbfCodec::encodeText(const DbfField& f, char* dst, const QVariant& v)
{
    const QByteArray bytes = Win1250::encode(v.toString());
    const size_t n = size_t(std::min<qsizetype>(bytes.size(), f.width));
    std::memcpy(dst, bytes.constData(), n);
    std::memset(dst + n, ' ', size_t(f.width) - n);
}

void DbfCodec::encodeNumber(const DbfField& f, char* dst, const QVariant& v, const QString& file)
{
    double number = 0;
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Double: case QMetaType::Float:
        number = v.toDouble();
        break;
    case QMetaType::QString: {
        const QByteArray text = v.toString().toLatin1();
        if (text.trimmed().isEmpty()) {
            std::memset(dst, ' ', size_t(f.width));
            return;
        }
        const auto parsed = parseNumber(text.constData(), int(text.size()));
        if (!parsed)
            throw DbfErrors::notANumber(file, f.name, v.toString());
        number = *parsed;
        break;
    }
    default:
        throw DbfErrors::unsupportedValue(file, f.name, QString::fromLatin1(v.metaType().name()));
    }
    if (!std::isfinite(number))
        throw DbfErrors::notANumber(file, f.name, v.toString());
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::fixed, f.decimals);
    if (ec != std::errc())
        throw DbfErrors::doesNotFit(file, f.name, QString::number(number, 'g', 15), f.width);
    const char* text = buf;
    // "-0.0" is what rounding a small negative gives; dBase writes zero.
    if (buf[0] == '-' && std::all_of(buf + 1, end, [](char c) { return c == '0' || c == '.'; }))
        ++text;
    const qsizetype size = end - text;
    if (size > f.width)
        throw DbfErrors::doesNotFit(file, f.name, QString::number(number, 'g', 15), f.width);
    std::memset(dst, ' ', size_t(f.width - size));
    std::memcpy(dst + f.width - size, text, size_t(size));
}

} // namespace data
