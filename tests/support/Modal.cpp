#include "tests/support/Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <set>

namespace testing_support {

void answerDefault(QWidget* modal)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* button = box->defaultButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

std::vector<SeenModal> withModals(const std::function<void()>& action, const Responder& respond)
{
    std::vector<SeenModal> seen;
    std::set<QWidget*> answered;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answered.count(modal))
            return;
        answered.insert(modal);
        // The next box may be built at the same address.
        QObject::connect(modal, &QObject::destroyed, &poll, [&answered, modal] { answered.erase(modal); });
        SeenModal s;
        s.objectName = modal->objectName();
        s.title = modal->windowTitle();
        s.className = QString::fromLatin1(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            s.text = box->text();
            s.icon = box->icon();
        }
        seen.push_back(s);
        respond(modal);
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

} // namespace testing_support
