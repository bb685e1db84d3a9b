#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "tests/support/Printers.h"

namespace testing_support {

// A fresh directory that is the working directory while the object lives.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace testing_support
