#pragma once

#include <QByteArray>
#include <QString>

namespace data {

// The 12-byte decimal keys of numeric dBase IV index tags: byte 0 is 0x34
// plus the position of the decimal point, byte 1 holds the sign (0x80) and
// the count of digits (times 4, plus 1), bytes 2 to 11 the digits two to a
// byte, without leading or trailing zeros.
class MdxBcd {
public:
    static constexpr int kSize = 12;
    static constexpr int kDigits = 20;

    // The key of the number `text` starts with, read as dBase's VAL() reads
    // it: leading blanks, a sign, digits, a point, digits. A blank or
    // unreadable text is 0, as dBase indexes a blank number.
    static QByteArray fromText(const char* text, qsizetype size);
    static QByteArray fromText(const QByteArray& text) { return fromText(text.constData(), text.size()); }
    // Orders two keys by the numbers they hold.
    static int compare(const char* a, const char* b);
    // The number a key holds, as decimal text ("-12.5", "0").
    static QString toText(const char* key);
};

} // namespace data
