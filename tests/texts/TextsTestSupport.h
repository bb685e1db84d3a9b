#pragma once

#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace texts_testing {

// The lines a memo shows: its text cut at line ends, without the empty
// line that the last line end leaves after it.
QStringList memoLines(const QPlainTextEdit* memo);

// How many descriptors of this process have `path` open.
int openDescriptorsOf(const QString& path);

// While it lives, this thread has lost root's power to read and search any
// file whatever its permissions, so a file without read permission cannot
// be opened even by root. Restores the power when it goes.
class WithoutFileOverride {
public:
    WithoutFileOverride();
    ~WithoutFileOverride();
    WithoutFileOverride(const WithoutFileOverride&) = delete;
    WithoutFileOverride& operator=(const WithoutFileOverride&) = delete;

private:
    struct Saved;
    Saved* saved_;
};

} // namespace texts_testing
