#include "texts/PageLines.h"

#include <gtest/gtest.h>

namespace {

using texts::PageLines;
using Stop = PageLines::Stop;

struct SplitCase {
    const char* rule;
    QByteArray bytes;
    std::vector<QByteArray> lines;
    Stop stop = Stop::EndOfFile;
};

QByteArray b(const char* s, qsizetype n) { return QByteArray(s, n); }

TEST(PageLines, SplitsByTheLineRules)
{
    const QByteArray longLine(1000, 'x');
    const SplitCase cases[] = {
        {"CR LF ends a line", "ab\r\ncd\r\nef", {"ab", "cd", "ef"}},
        {"a final CR LF adds no empty line", "ab\r\ncd\r\n", {"ab", "cd"}},
        {"a last line without a line end is a line", "ab\r\ncd", {"ab", "cd"}},
        {"a lone CR ends a line", "ab\rcd\ref", {"ab", "cd", "ef"}},
        {"a final lone CR adds no empty line", "ab\r", {"ab"}},
        {"CR CR LF: an empty line, then the LF belongs to the second CR", "ab\r\r\ncd", {"ab", "", "cd"}},
        {"a lone LF stays in its line", "ab\ncd\nef\r\ngh", {"ab\ncd\nef", "gh"}},
        {"LF CR: the LF stays, the CR ends the line", "ab\n\rcd", {"ab\n", "cd"}},
        {"an LF first in the file stays", "\nab", {"\nab"}},
        {"blank lines are lines", "ab\r\n\r\n\r\ncd\r\n", {"ab", "", "", "cd"}},
        {"a file of one line end is one empty line", "\r\n", {""}},
        {"an empty file has no lines", "", {}},
        {"Ctrl-Z mid-line ends the text there", "ab\r\ncd\x1a" "ef\r\ngh", {"ab", "cd"}},
        {"Ctrl-Z at the start of a line adds no line", "ab\r\n\x1a" "cd", {"ab"}},
        {"Ctrl-Z between CR and LF", "ab\r\x1a\ncd", {"ab"}},
        {"Ctrl-Z first: no text", "\x1a" "ab\r\n", {}},
        {"a 1000-character line is read whole", longLine + "\r\nz", {longLine, "z"}},
        {"NUL and high bytes are text", b("a\0\xb9\r\n", 5), {b("a\0\xb9", 3)}},
        {"a failed read drops the line it was in", "ab\r\ncd", {"ab"}, Stop::ReadFailed},
        {"a failed read right after a line end loses nothing", "ab\r\ncd\r\n", {"ab", "cd"}, Stop::ReadFailed},
        {"a failed read after a lone CR keeps that line", "ab\r", {"ab"}, Stop::ReadFailed},
        {"a failed read before any line end shows nothing", "abc", {}, Stop::ReadFailed},
        {"a read that failed after Ctrl-Z never mattered", "ab\r\ncd\x1a", {"ab", "cd"}, Stop::ReadFailed},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(PageLines::split(c.bytes, c.stop), c.lines) << c.rule;
}

TEST(PageLines, ShowsWindows1250ByteForByte)
{
    const struct {
        const char* what;
        QByteArray bytes;
        QString shown;
    } cases[] = {
        {"small Polish letters", "za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1", QStringLiteral("zażółć gęślą jaźń")},
        {"capital Polish letters", "\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf", QStringLiteral("ĄĆĘŁŃÓŚŹŻ")},
        {"a tab stays a tab", "a\tb", QStringLiteral("a\tb")},
        {"a line feed shows as a sign, not a break", "a\nb", QStringLiteral("a\u240Ab")},
        {"other control codes show as their signs", b("\0\x07\x1b\x7f", 4), QStringLiteral("\u2400\u2407\u241B\u2421")},
        {"unassigned codes show as the replacement sign", "\x81\x83\x88\x90\x98", QString(5, QChar::ReplacementCharacter)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageLines::shown(c.bytes), c.shown) << c.what;
}

TEST(PageLines, EveryByteIsOneShownCharacterAndNoneBreaksTheLine)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QString shown = PageLines::shown(all);
    ASSERT_EQ(shown.size(), 256);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        const bool control = c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph;
        EXPECT_TRUE(!control || c == QLatin1Char('\t')) << "byte " << i;
    }
}

} // namespace
