#include "texts/Memo.h"

#include "texts/SystemFace.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace texts {

void Memo::setColor(QPlainTextEdit* memo, const QColor& color)
{
    SystemFace::keep(memo);
    QPalette p = memo->palette();
    p.setColor(QPalette::Base, color);
    memo->setPalette(p);
}

void Memo::addLines(QPlainTextEdit* memo, const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    // Lines put in by the program are no typing of the user's to undo.
    memo->document()->clearUndoRedoStacks();
}

void Memo::setLines(QPlainTextEdit* memo, const QStringList& lines)
{
    memo->clear();
    addLines(memo, lines);
    memo->moveCursor(QTextCursor::Start);
}

} // namespace texts
