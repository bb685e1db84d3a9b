#include "data/Failure.h"
#include "tests/support/TempDir.h"
#include "tests/texts/TextsTestSupport.h"
#include "texts/InOutError.h"
#include "texts/PageFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using texts::PageFile;
using texts_testing::openDescriptorsOf;

class PageFileTest : public ::testing::Test {
protected:
    QStringList load(const QString& name)
    {
        QStringList lines;
        PageFile::load(name, [&](const QStringList& read) { lines << read; });
        return lines;
    }

    // The failure a load raised, after the lines it handed over.
    data::Failure failedLoad(const QString& name, QStringList& lines)
    {
        try {
            PageFile::load(name, [&](const QStringList& read) { lines << read; });
        } catch (const data::Failure& failure) {
            return failure;
        }
        throw std::runtime_error("the load did not fail");
    }

    testing_support::TempDir dir;
};

TEST_F(PageFileTest, FindsThePageWhateverTheLetterCase)
{
    dir.write(QStringLiteral("u7.TXT"), "strona 7\r\n");
    EXPECT_EQ(load(QStringLiteral("U7.txt")), QStringList{QStringLiteral("strona 7")});
}

TEST_F(PageFileTest, MissingPageOrDirectoryGivesNothingAndNoFailure)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("U3.txt")));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file(QStringLiteral("U8.txt"))).constData(), 0644), 0);
    dir.write(QStringLiteral("U4.txt"), "");
    EXPECT_TRUE(load(QStringLiteral("U2.txt")).isEmpty());
    EXPECT_TRUE(load(QStringLiteral("U3.txt")).isEmpty());
    EXPECT_TRUE(load(QStringLiteral("u3.TXT")).isEmpty());
    EXPECT_TRUE(load(QStringLiteral("U4.txt")).isEmpty());
    EXPECT_TRUE(load(QStringLiteral("U8.txt")).isEmpty()) << "a pipe with no writer reads as an empty page";
}

TEST_F(PageFileTest, ReadFailureRaisesInOutErrorAndClosesTheFile)
{
    // Reading this process's memory at address 0 fails after the open succeeded.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), dir.file(QStringLiteral("U5.txt"))));
    QStringList lines;
    const data::Failure failure = failedLoad(QStringLiteral("U5.txt"), lines);
    EXPECT_EQ(failure.kind(), QStringLiteral("EInOutError"));
    EXPECT_EQ(failure.message(), QStringLiteral("I/O error 1117"));
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(openDescriptorsOf(QStringLiteral("/proc/self/mem")), 0);
}

TEST_F(PageFileTest, OpenFailureRaisesInOutError)
{
    // A socket named like a page exists, is no directory, and cannot be opened.
    const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("U6.txt")));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    QStringList lines;
    const data::Failure failure = failedLoad(QStringLiteral("U6.txt"), lines);
    ::close(sock);
    EXPECT_EQ(failure.kind(), QStringLiteral("EInOutError"));
    EXPECT_EQ(failure.message(), QStringLiteral("I/O error 21"));
    EXPECT_TRUE(lines.isEmpty());
}

#ifndef OBWODNIK_SANITIZED
// The type checker of the sanitizer build needs descriptors of its own to
// check the failure it meets here, so this case runs in the other builds.
TEST_F(PageFileTest, NoDescriptorLeftRaisesTooManyOpenFiles)
{
    dir.write(QStringLiteral("U6.txt"), "x\r\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    QStringList lines;
    std::optional<data::Failure> failure;
    {
        rlimit tight = saved;
        tight.rlim_cur = 0;
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
        try {
            PageFile::load(QStringLiteral("U6.txt"), [&](const QStringList& read) { lines << read; });
        } catch (const data::Failure& f) {
            failure = f;
        }
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    }
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message(), QStringLiteral("Too many open files"));
    EXPECT_TRUE(lines.isEmpty());
}
#endif

TEST_F(PageFileTest, NoPageStaysOpenAfterALoad)
{
    dir.write(QStringLiteral("Spis.Txt"), "a\r\nb\r\n");
    for (int i = 0; i < 50; ++i)
        load(QStringLiteral("Spis.txt"));
    EXPECT_EQ(openDescriptorsOf(dir.file(QStringLiteral("Spis.Txt"))), 0);
}

// A reader over fixed pieces, then a failure; counts its calls.
struct ScriptedReader {
    std::vector<QByteArray> pieces;
    int failWith = EIO;
    int calls = 0;

    PageFile::ReadSome reader()
    {
        return [this](char* buffer, size_t size) -> ssize_t {
            const size_t at = static_cast<size_t>(calls++);
            if (at >= pieces.size()) {
                errno = failWith;
                return -1;
            }
            const QByteArray& piece = pieces[at];
            if (piece == "EINTR") {
                errno = EINTR;
                return -1;
            }
            const size_t n = std::min(size, static_cast<size_t>(piece.size()));
            std::memcpy(buffer, piece.constData(), n);
            return static_cast<ssize_t>(n);
        };
    }
};

TEST(PageFileRead, KeepsWhatWasReadBeforeAFailedRead)
{
    ScriptedReader script{{"ab\r\n", "EINTR", "cd\r\nef"}};
    const PageFile::Read read = PageFile::readText(script.reader());
    EXPECT_EQ(read.bytes, QByteArray("ab\r\ncd\r\nef"));
    EXPECT_EQ(read.error, EIO);
}

TEST(PageFileRead, StopsAtTheEndOfTheFileOrAtCtrlZ)
{
    ScriptedReader toEnd{{"ab\r\n", ""}};
    const PageFile::Read whole = PageFile::readText(toEnd.reader());
    EXPECT_EQ(whole.error, 0);
    EXPECT_EQ(whole.bytes, QByteArray("ab\r\n"));

    // The text ends at the Ctrl-Z: a read after it, which would fail, never happens.
    ScriptedReader ended{{"ab\r\ncd\x1a" "ef"}};
    const PageFile::Read read = PageFile::readText(ended.reader());
    EXPECT_EQ(read.error, 0);
    EXPECT_EQ(ended.calls, 1);
}

TEST(InOutError, WordsTheCodeOfEachFailure)
{
    const struct {
        int posixErrno;
        const char* message;
    } cases[] = {
        {ENOENT, "File not found"},
        {ENOTDIR, "Invalid filename"},
        {ENAMETOOLONG, "Invalid filename"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EAGAIN, "I/O error 32"}, // someone holds a lock on it: a sharing violation
        {EIO, "I/O error 1117"},
        {EINTR, "I/O error 995"},
        {EDQUOT, "I/O error 122"}, // no Windows counterpart: the Linux number
    };
    for (const auto& c : cases) {
        const data::Failure f = texts::InOutError::failure(c.posixErrno);
        EXPECT_EQ(f.kind(), QStringLiteral("EInOutError"));
        EXPECT_EQ(f.message().toStdString(), c.message) << std::strerror(c.posixErrno);
    }
}

} // namespace
