#pragma once

#include "data/DbfField.h"

#include <QVariant>

#include <optional>

namespace data {

// Field values in and out of raw records. Numbers are read and written
// without regard to the C locale, so a Polish decimal comma never reaches a
// file.
class DbfCodec {
public:
    // A null QVariant for a blank number (also one that is not a number);
    // text without trailing blanks; int for a small integer; double for
    // floating-point; the raw text, trailing blanks removed, for Other.
    static QVariant decode(const DbfField& f, const char* record);
    // As decode, but reuses the text storage `out` already holds.
    static void decodeInto(const DbfField& f, const char* record, QVariant& out);
    // Stores `v` at the field's place in `record`; null blanks the field.
    // `file` names the table in messages.
    static void encode(const DbfField& f, char* record, const QVariant& v, const QString& file);

    // The number in `size` bytes, blanks around it allowed; nullopt when blank
    // or not a number.
    static std::optional<double> parseNumber(const char* p, int size);

private:
    static void encodeText(const DbfField& f, char* dst, const QVariant& v);
    static void encodeNumber(const DbfField& f, char* dst, const QVariant& v, const QString& file);
    static qsizetype trimmedSize(const char* p, int size);
};

} // namespace data
