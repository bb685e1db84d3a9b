#include "tests/data/DiskFaultChild.h"

#include "data/Failure.h"

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace dbf_test {

namespace {

void writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray readAll(int fd)
{
    QByteArray out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return out;
        out.append(buffer, n);
    }
}

QString childReport(const std::function<QString()>& body)
{
    try {
        return body();
    } catch (const data::Failure& f) {
        return QStringLiteral("failure: ") + f.message();
    } catch (const std::exception& e) {
        return QStringLiteral("exception: ") + QString::fromLocal8Bit(e.what());
    }
}

} // namespace

QString DiskFaultChild::run(const std::function<QString()>& body)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return {};
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        return {};
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        writeAll(pipeFds[1], childReport(body).toUtf8());
        // No exit handlers, no leak report: the parent owns the test.
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    const QByteArray report = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ADD_FAILURE() << "the child ended with status " << status << " after reporting: " << report.toStdString();
        return QStringLiteral("(child died)");
    }
    return QString::fromUtf8(report);
}

void DiskFaultChild::dropFileOverride()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, caps) != 0)
        throw std::runtime_error(std::string("capget: ") + std::strerror(errno));
    const quint32 overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    caps[0].effective &= ~overrides;
    caps[0].permitted &= ~overrides; // for good: nothing in the child takes it back
    caps[0].inheritable &= ~overrides;
    if (::syscall(SYS_capset, &header, caps) != 0)
        throw std::runtime_error(std::string("capset: ") + std::strerror(errno));
}

void DiskFaultChild::limitFileSize(qint64 bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error(std::string("getrlimit: ") + std::strerror(errno));
    limit.rlim_cur = rlim_t(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error(std::string("setrlimit: ") + std::strerror(errno));
}

} // namespace dbf_test
