#include "app/Guard.h"

#include "data/Failure.h"
#include "ui/Handler.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <exception>

namespace app {

void Guard::install()
{
    ui::setHandlerRunner(&Guard::run);
}

void Guard::run(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const data::Failure& failure) {
        report(failure.message());
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    }
}

void Guard::report(const QString& message)
{
    std::fprintf(stderr, "%s.\n", message.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    message + QLatin1Char('.'), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("failureBox"));
    box.exec();
}

QString Guard::fatalText(const data::Failure& failure)
{
    const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const auto address = reinterpret_cast<quintptr>(failure.address());
    QString message = failure.message();
    if (!message.endsWith(QLatin1Char('.')))
        message += QLatin1Char('.');
    return QStringLiteral("Exception %1 in module %2 at %3.\n%4")
        .arg(failure.kind(), module, QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper(), message);
}

void Guard::reportFatal(const data::Failure& failure)
{
    const QString text = fatalText(failure);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("applicationErrorBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace app
