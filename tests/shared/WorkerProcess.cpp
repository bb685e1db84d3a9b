#include "tests/shared/WorkerProcess.h"

#include <gtest/gtest.h>

namespace shared_test {

WorkerProcess::WorkerProcess(const QString& dir, const QString& tag) : tag_(tag)
{
    process_.setWorkingDirectory(dir);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(OBW_TABLE_WORKER), {tag});
    if (!process_.waitForStarted(10000))
        ADD_FAILURE() << "the worker did not start: " << process_.errorString().toStdString();
}

WorkerProcess::~WorkerProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(30000)) {
        ADD_FAILURE() << "worker " << tag_.toStdString() << " did not end";
        process_.kill();
        process_.waitForFinished(10000);
        return;
    }
    // A sanitizer's report ends the worker with a failure code.
    EXPECT_TRUE(process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0)
        << "worker " << tag_.toStdString() << " ended with " << process_.exitCode();
}

void WorkerProcess::send(const QString& command)
{
    process_.write((command + QLatin1Char('\n')).toUtf8());
    process_.waitForBytesWritten(10000);
}

QString WorkerProcess::nextLine(int timeoutMs)
{
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(timeoutMs)) {
            ADD_FAILURE() << "worker " << tag_.toStdString() << " gave no answer ("
                          << (process_.state() == QProcess::NotRunning ? "ended with " + std::to_string(process_.exitCode())
                                                                       : process_.errorString().toStdString())
                          << ")";
            return QString();
        }
    }
    QString line = QString::fromUtf8(process_.readLine()).chopped(1);
    if (line.startsWith(QLatin1String("fail ")))
        line.replace(QLatin1String("\\n"), QLatin1String("\n"));
    return line;
}

QStringList WorkerProcess::kill()
{
    process_.kill();
    process_.waitForFinished(10000);
    QStringList lines;
    while (process_.canReadLine())
        lines << QString::fromUtf8(process_.readLine()).chopped(1);
    return lines;
}

void WorkerProcess::waitForExit()
{
    if (!process_.waitForFinished(30000))
        ADD_FAILURE() << "worker " << tag_.toStdString() << " did not quit";
    EXPECT_EQ(process_.exitCode(), 0) << "worker " << tag_.toStdString();
}

} // namespace shared_test
