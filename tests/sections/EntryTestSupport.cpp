#include "tests/sections/EntryTestSupport.h"

#include "data/Field.h"
#include "data/Table.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace entry_test {

testing_support::Responder typeCode(const QString& code, CloseBy how)
{
    return [code, how](QWidget* modal) {
        if (modal->objectName() != QStringLiteral("PasswordDlg")) {
            testing_support::answerDefault(modal);
            return;
        }
        auto* box = modal->findChild<QLineEdit*>(QStringLiteral("Password"));
        typeText(box, code);
        switch (how) {
        case CloseBy::Ok: QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton); break;
        case CloseBy::Enter: QTest::keyClick(box, Qt::Key_Return); break;
        case CloseBy::Cancel:
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
            break;
        case CloseBy::Esc: QTest::keyClick(box, Qt::Key_Escape); break;
        case CloseBy::CloseBox: modal->close(); break;
        }
    };
}

testing_support::Responder answerDelete(bool ok)
{
    return [ok](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || box->text() != QStringLiteral("Delete record?")) {
            testing_support::answerDefault(modal);
            return;
        }
        QTest::mouseClick(box->button(ok ? QMessageBox::Ok : QMessageBox::Cancel), Qt::LeftButton);
    };
}

QStringList rowsByDataSet(const QString& path, const std::vector<Column>& columns)
{
    data::Table table;
    table.setTableName(path);
    table.setReadOnly(true);
    std::vector<data::Field*> fields;
    for (const Column& c : columns)
        fields.push_back(table.addField(QString::fromLatin1(c.name), c.kind, c.size));
    table.open();
    QStringList rows;
    for (; !table.eof(); table.next()) {
        if (table.isEmpty())
            break;
        QStringList values;
        for (const data::Field* f : fields)
            values << f->asString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList rowsByDbfread(const QString& path, const std::vector<Column>& columns)
{
    static const char* const script = R"(
import sys, dbfread
def text(v):
    if v is None: return ""
    if isinstance(v, float) and v.is_integer(): return str(int(v))
    return str(v).rstrip()
names = sys.argv[2].split(",")
for r in dbfread.DBF(sys.argv[1], encoding="cp1250", char_decode_errors="strict"):
    sys.stdout.buffer.write(("|".join(text(r[n]) for n in names) + "\n").encode("utf-8"))
)";
    QStringList names;
    for (const Column& c : columns)
        names << QString::fromLatin1(c.name);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(script), path, names.join(QLatin1Char(','))});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        throw std::runtime_error("dbfread failed: " + python.readAllStandardError().toStdString());
    return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
    QApplication::processEvents();
}

} // namespace entry_test
