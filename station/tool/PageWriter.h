#pragma once

#include <QByteArray>
#include <QString>

namespace station {

// Text pages as an installation keeps them: Windows-1250, every line ended
// by CR LF. Their sources are UTF-8 with LF or CR LF line ends.
class PageWriter {
public:
    // The page file's bytes for the UTF-8 source `text`; a character that
    // Windows-1250 lacks, or a CR inside a line, is a Failure naming `source`.
    static QByteArray pageOf(const QString& text, const QString& source);
    static void write(const QString& sourcePath, const QString& pagePath);
};

} // namespace station
