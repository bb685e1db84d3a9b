#pragma once

#include <QByteArray>
#include <QString>

namespace data {

// Windows-1250, the code page of the tables and the page files.
// Decoding goes through a table filled once from Qt's own decoder, so a
// scan does not pay for a converter call per field.
class Win1250 {
public:
    static QString decode(const char* bytes, qsizetype size);
    static QString decode(const QByteArray& bytes) { return decode(bytes.constData(), bytes.size()); }
    // Decodes into `out`, reusing its storage.
    static void decodeInto(QString& out, const char* bytes, qsizetype size);
    // Characters the code page lacks become '?', as the encoder makes them.
    static QByteArray encode(const QString& text);
    // True when every character of `text` has a byte of its own.
    static bool canEncode(const QString& text);

private:
    static const char16_t* table();
};

} // namespace data
