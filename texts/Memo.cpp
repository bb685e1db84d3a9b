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

void Memo::addLine(QPlainTextEdit* memo, const QString& line)
{
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(line);
    cursor.insertBlock();
    // Lines put in by the program are no typing of the user's to undo.
    memo->document()->clearUndoRedoStacks();
}

void Memo::setLines(QPlainTextEdit* memo, const QStringList& lines)
{
    memo->clear();
    for (const QString& line : lines)
        addLine(memo, line);
}

} // namespace texts
