#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <sys/types.h>

namespace texts {

// Loads one page file of the working directory into a sink of lines. The
// file is read in one go, then split; it is open only during the load and
// closed before load() returns, failed or not.
class PageFile {
public:
    // Takes the page's lines in file order, once per load.
    using LinesSink = std::function<void(const QStringList& lines)>;

    // No file of that name (letter case ignored), or a directory of that
    // name: no lines and no failure. Any other trouble raises EInOutError
    // after the lines read before it have gone to the sink.
    static void load(const QString& name, const LinesSink& appendLines);

    // What one pass over a file gave: its bytes up to the end of the text
    // (or further), and the errno of a read that failed, 0 if none did.
    struct Read {
        QByteArray bytes;
        int error = 0;
    };
    // `readSome` behaves like read(2) on the open file.
    using ReadSome = std::function<ssize_t(char* buffer, size_t size)>;
    static Read readText(const ReadSome& readSome);

private:
    static bool isPage(const QString& path);
    static void hand(const Read& read, const LinesSink& appendLines);
};

} // namespace texts
