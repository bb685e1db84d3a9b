#include "tests/texts/TextsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

namespace texts_testing {

QStringList memoLines(const QPlainTextEdit* memo)
{
    QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int openDescriptorsOf(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == target)
            ++count;
    }
    return count;
}

struct WithoutFileOverride::Saved {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

WithoutFileOverride::WithoutFileOverride() : saved_(new Saved)
{
    if (syscall(SYS_capget, &saved_->header, saved_->data) != 0) {
        delete saved_;
        throw std::runtime_error("capget failed");
    }
    Saved lowered = *saved_;
    lowered.data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    if (syscall(SYS_capset, &lowered.header, lowered.data) != 0) {
        delete saved_;
        throw std::runtime_error("capset failed");
    }
}

WithoutFileOverride::~WithoutFileOverride()
{
    syscall(SYS_capset, &saved_->header, saved_->data);
    delete saved_;
}

} // namespace texts_testing
