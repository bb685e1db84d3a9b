#include "data/Win1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace data {

const char16_t* Win1250::table()
{
    static const std::array<char16_t, 256> map = [] {
        std::array<char16_t, 256> m{};
        QStringDecoder decoder("windows-1250");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            decoder.resetState();
            m[static_cast<size_t>(b)] = s.size() == 1 ? s.at(0).unicode() : u'\uFFFD';
        }
        return m;
    }();
    return map.data();
}

void Win1250::decodeInto(QString& out, const char* bytes, qsizetype size)
{
    const char16_t* map = table();
    out.resize(size);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = QChar(map[static_cast<unsigned char>(bytes[i])]);
}

QString Win1250::decode(const char* bytes, qsizetype size)
{
    QString out;
    decodeInto(out, bytes, size);
    return out;
}

QByteArray Win1250::encode(const QString& text)
{
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

bool Win1250::canEncode(const QString& text)
{
    return decode(encode(text)) == text;
}

} // namespace data
