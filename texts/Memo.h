#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace texts {

// The memo habits the text windows share.
class Memo {
public:
    // The memo's own colour; its scroll bars keep the system's.
    static void setColor(QPlainTextEdit* memo, const QColor& color);
    // As a memo's line list adds lines: each line, then a line end.
    static void addLines(QPlainTextEdit* memo, const QStringList& lines);
    static void setLines(QPlainTextEdit* memo, const QStringList& lines);
};

} // namespace texts
