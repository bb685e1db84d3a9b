#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace testing_support {

// What a person saw of a modal window that came up.
struct SeenModal {
    QString objectName;
    QString title;
    QString text; // a message box's text
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString className;
};

// How a test answers a modal window: by default a message box gets its
// default (or only) button clicked and any other dialog is rejected.
using Responder = std::function<void(QWidget* modal)>;
void answerDefault(QWidget* modal);

// Runs `action`; every modal window that comes up meanwhile (nested ones
// too) is recorded, then answered by `respond`.
std::vector<SeenModal> withModals(const std::function<void()>& action, const Responder& respond = answerDefault);

} // namespace testing_support
