#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace testing_support {

TempDir::TempDir() : previous_(QDir::currentPath())
{
    if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
        throw std::runtime_error("cannot make a temporary working directory");
}

TempDir::~TempDir()
{
    QDir::setCurrent(previous_);
}

void TempDir::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + name.toStdString());
}

QByteArray TempDir::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + name.toStdString());
    return f.readAll();
}

} // namespace testing_support
