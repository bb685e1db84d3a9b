#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace shared_test {

// The worker program (TableWorker.cpp) running in `dir` as another user of
// its tables, talked to through its standard input and output. Every wait
// is for a line on the pipe, bounded so that a worker that hangs fails the
// test instead of stopping it.
class WorkerProcess {
public:
    WorkerProcess(const QString& dir, const QString& tag);
    // Ends the worker by closing its input; kills one that does not end.
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    void send(const QString& command);
    // The next line the worker writes, without its line break; "fail"
    // answers have their \n turned back into line breaks. Empty, with a test
    // failure, when none comes.
    QString nextLine(int timeoutMs = 30000);
    QString call(const QString& command)
    {
        send(command);
        return nextLine();
    }
    // SIGKILL, then the lines it wrote before it died.
    QStringList kill();
    // Waits for a worker told to quit.
    void waitForExit();
    const QString& tag() const { return tag_; }

private:
    QString tag_;
    QProcess process_;
};

} // namespace shared_test
