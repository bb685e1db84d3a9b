#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace texts {

// The text rules of a page file, over its bytes, with no file in sight.
// A line ends at CR, and an LF right after that CR belongs to the end; a
// lone LF stays in its line. Ctrl-Z ends the text. A last line without an
// end is still a line, and an end right before the end of the text adds no
// empty line. Lines have no length limit.
class PageLines {
public:
    // Where the bytes stop. A read that failed leaves its unfinished last
    // line unread: only lines whose end was reached count.
    enum class Stop { EndOfFile, ReadFailed };

    static std::vector<QByteArray> split(QByteArrayView bytes, Stop stop = Stop::EndOfFile);
    // True once the bytes hold a Ctrl-Z: nothing after it is ever needed.
    static bool textEnds(QByteArrayView bytes);
    // A line as the memo shows it: one character per byte, Windows-1250;
    // bytes the memo cannot show as themselves (line feeds and other
    // control codes but tab, unassigned codes) get a visible stand-in
    // instead of being lost or breaking the line.
    static QString shown(QByteArrayView line);

    static constexpr char cr = '\r';
    static constexpr char lf = '\n';
    static constexpr char ctrlZ = '\x1a';
};

} // namespace texts
