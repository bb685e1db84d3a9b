#include "texts/Memo.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace texts {

void Memo::setColor(QPlainTextEdit* memo, const QColor& color)
{
    QPalette p = memo->palette();
    const QPalette system = QGuiApplication::palette();
    p.setColor(QPalette::Base, color);
    p.setColor(QPalette::Window, system.color(QPalette::Window));
    p.setColor(QPalette::Button, system.color(QPalette::Button));
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
