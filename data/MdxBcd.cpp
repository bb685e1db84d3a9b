#include "data/MdxBcd.h"

#include <cstring>

namespace data {

namespace {

constexpr int kZeroPoint = 0x34;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isZero(const char* key)
{
    for (int i = 2; i < MdxBcd::kSize; ++i) {
        if (key[i] != 0)
            return false;
    }
    return true;
}

int signOf(const char* key)
{
    if (isZero(key))
        return 0;
    return (quint8(key[1]) & 0x80) ? -1 : 1;
}

QByteArray encode(bool negative, int point, const QByteArray& digits)
{
    QByteArray key(MdxBcd::kSize, '\0');
    if (digits.isEmpty()) {
        key[0] = char(kZeroPoint);
        key[1] = 0x01;
        return key;
    }
    key[0] = char(kZeroPoint + point);
    key[1] = char((digits.size() << 2) | 0x01 | (negative ? 0x80 : 0));
    for (int i = 0; i < digits.size(); ++i) {
        const int nibble = digits[i] - '0';
        key[2 + i / 2] = char(quint8(key[2 + i / 2]) | (i % 2 == 0 ? nibble << 4 : nibble));
    }
    return key;
}

} // namespace

QByteArray MdxBcd::fromText(const char* text, qsizetype size)
{
    qsizetype i = 0;
    while (i < size && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    QByteArray whole;
    while (i < size && isDigit(text[i]))
        whole += text[i++];
    QByteArray fraction;
    if (i < size && text[i] == '.') {
        ++i;
        while (i < size && isDigit(text[i]))
            fraction += text[i++];
    }
    qsizetype lead = 0;
    while (lead < whole.size() && whole[lead] == '0')
        ++lead;
    whole = whole.mid(lead);
    int point = int(whole.size());
    QByteArray digits = whole + fraction;
    if (whole.isEmpty()) {
        qsizetype zeros = 0;
        while (zeros < fraction.size() && fraction[zeros] == '0')
            ++zeros;
        point = -int(zeros);
        digits = fraction.mid(zeros);
    }
    digits.truncate(kDigits);
    while (!digits.isEmpty() && digits.endsWith('0'))
        digits.chop(1);
    return encode(negative, point, digits);
}

int MdxBcd::compare(const char* a, const char* b)
{
    const int sa = signOf(a);
    const int sb = signOf(b);
    if (sa != sb)
        return sa < sb ? -1 : 1;
    if (sa == 0)
        return 0;
    int order = int(quint8(a[0])) - int(quint8(b[0]));
    if (order == 0)
        order = std::memcmp(a + 2, b + 2, kSize - 2);
    order = order < 0 ? -1 : (order > 0 ? 1 : 0);
    return sa * order;
}

QString MdxBcd::toText(const char* key)
{
    if (isZero(key))
        return QStringLiteral("0");
    // Writers disagree on the digit count of byte 1 (TDbf rounds it up to
    // even), so the digits are read up to the last one that is not 0.
    QString digits;
    for (int i = 0; i < kDigits; ++i) {
        const quint8 byte = quint8(key[2 + i / 2]);
        digits += QChar(u'0' + (i % 2 == 0 ? byte >> 4 : byte & 0x0F));
    }
    while (digits.endsWith(u'0'))
        digits.chop(1);
    const int point = int(quint8(key[0])) - kZeroPoint;
    if (point <= 0)
        digits = QStringLiteral("0.") + QString(-point, u'0') + digits;
    else if (point < digits.size())
        digits.insert(point, u'.');
    else
        digits += QString(point - digits.size(), u'0');
    return ((quint8(key[1]) & 0x80) ? QStringLiteral("-") : QString()) + digits;
}

} // namespace data
