#include "texts/PageLines.h"

#include "data/Win1250.h"

namespace texts {

std::vector<QByteArray> PageLines::split(QByteArrayView bytes, Stop stop)
{
    const qsizetype zAt = bytes.indexOf(ctrlZ);
    const QByteArrayView text = zAt < 0 ? bytes : bytes.first(zAt);
    // Ctrl-Z is an end of text like the end of the file, and a read that
    // failed after it never happened.
    const bool cut = stop == Stop::ReadFailed && zAt < 0;

    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype crAt = text.indexOf(cr, start);
        if (crAt < 0)
            break;
        lines.push_back(text.sliced(start, crAt - start).toByteArray());
        start = crAt + 1;
        if (start < text.size() && text.at(start) == lf)
            ++start;
    }
    if (start < text.size() && !cut)
        lines.push_back(text.sliced(start).toByteArray());
    return lines;
}

bool PageLines::textEnds(QByteArrayView bytes)
{
    return bytes.contains(ctrlZ);
}

QString PageLines::shown(QByteArrayView line)
{
    QString out = data::Win1250::decode(line.data(), line.size());
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t')
            c = QChar(char16_t(0x2400 + u)); // the Control Pictures block: ␊ for LF
        else if (u == 0x7F)
            c = QChar(char16_t(0x2421));
        else if (u >= 0x80 && u < 0xA0)
            c = QChar(QChar::ReplacementCharacter); // a byte Windows-1250 leaves unassigned
    }
    return out;
}

} // namespace texts
