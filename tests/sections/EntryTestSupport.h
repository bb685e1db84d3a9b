#pragma once

#include "data/DbfField.h"
#include "tests/support/Modal.h"

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace entry_test {

// How a person ends the access-code prompt.
enum class CloseBy { Ok, Enter, Cancel, Esc, CloseBox };

// Answers the prompt by typing `code` into its box and closing it `how`;
// any other modal window gets its default answer.
testing_support::Responder typeCode(const QString& code, CloseBy how = CloseBy::Ok);
// Answers "Delete record?" with OK or Cancel.
testing_support::Responder answerDelete(bool ok);

struct Column {
    const char* name;
    data::FieldKind kind;
    int size = 0;
};

// Every row of a table file as "value|value|...", the columns in the order
// given: once read by a fresh data set of this program, once by
// python3-dbfread in a child process. Numbers are whole or in their shortest
// form, blanks empty.
QStringList rowsByDataSet(const QString& path, const std::vector<Column>& columns);
QStringList rowsByDbfread(const QString& path, const std::vector<Column>& columns);

// Clicks a widget as a person would and lets the events run.
void click(QWidget* widget);
// Types `text` key by key into `widget`, letters beyond ASCII too.
void typeText(QWidget* widget, const QString& text);

} // namespace entry_test
