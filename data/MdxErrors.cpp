#include "data/MdxErrors.h"

#include <cstring>

namespace data {

Failure MdxErrors::engine(const QString& text, const QString& file)
{
    return Failure(Failure::Engine, text + QStringLiteral("\nFile: ") + file);
}

Failure MdxErrors::missing(const QString& file)
{
    return engine(QStringLiteral("Index does not exist."), file);
}

Failure MdxErrors::cannotOpen(const QString& file, int error)
{
    return engine(QStringLiteral("Cannot open the index: %1.").arg(QString::fromLocal8Bit(std::strerror(error))), file);
}

Failure MdxErrors::locked(const QString& file)
{
    return engine(QStringLiteral("Index is locked by another user."), file);
}

namespace {
const QLatin1String damagePrefix("Corrupt index: ");
} // namespace

Failure MdxErrors::damaged(const QString& file, const QString& detail)
{
    return engine(damagePrefix + detail + QLatin1Char('.'), file);
}

bool MdxErrors::isDamage(const Failure& failure)
{
    return failure.message().startsWith(damagePrefix);
}

Failure MdxErrors::readFailed(const QString& file, int error)
{
    return engine(QStringLiteral("Cannot read the index: %1.").arg(QString::fromLocal8Bit(std::strerror(error))), file);
}

Failure MdxErrors::writeFailed(const QString& file, const QString& detail)
{
    return engine(QStringLiteral("Cannot write the index: %1.").arg(detail), file);
}

Failure MdxErrors::noSuchTag(const QString& file, int tag)
{
    return engine(QStringLiteral("Index has no tag number %1.").arg(tag), file);
}

Failure MdxErrors::cannotIndex(const QString& file, const QString& field, const QString& reason)
{
    return engine(QStringLiteral("Cannot index field '%1': %2.").arg(field, reason), file);
}

Failure MdxErrors::refusal(const QString& file, const QString& tag, const QString& expression, const QString& reason)
{
    return engine(QStringLiteral("Table cannot be changed: index tag '%1' (key '%2') %3.").arg(tag, expression, reason), file);
}

} // namespace data
