#include "data/DbfErrors.h"

#include <cstring>

namespace data {

namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString hexByte(quint8 byte)
{
    return QStringLiteral("0x") + QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

} // namespace

Failure DbfErrors::engine(const QString& text, const QString& file)
{
    return Failure(Failure::Engine, text + QStringLiteral("\nFile: ") + file);
}

Failure DbfErrors::missing(const QString& file)
{
    return engine(QStringLiteral("Table does not exist."), file);
}

Failure DbfErrors::cannotOpen(const QString& file, int error)
{
    return engine(QStringLiteral("Cannot open the table: %1.").arg(systemText(error)), file);
}

Failure DbfErrors::notAFile(const QString& file)
{
    return engine(QStringLiteral("Cannot open the table: it is not a file."), file);
}

Failure DbfErrors::empty(const QString& file)
{
    return engine(QStringLiteral("Not a dBase table: the file is empty."), file);
}

Failure DbfErrors::notDbase(const QString& file, quint8 version)
{
    return engine(QStringLiteral("Not a dBase table (first byte %1).").arg(hexByte(version)), file);
}

Failure DbfErrors::unsupported(const QString& file, quint8 version, const QString& family)
{
    return engine(QStringLiteral("%1 tables are not supported (version byte %2).").arg(family, hexByte(version)), file);
}

Failure DbfErrors::corrupt(const QString& file, const QString& detail)
{
    return engine(QStringLiteral("Corrupt table header: %1.").arg(detail), file);
}

Failure DbfErrors::restructured(const QString& file)
{
    return engine(QStringLiteral("The table was restructured by another program."), file);
}

Failure DbfErrors::readFailed(const QString& file, int error)
{
    return engine(QStringLiteral("Cannot read the table: %1.").arg(systemText(error)), file);
}

Failure DbfErrors::writeFailed(const QString& file, int error)
{
    return engine(QStringLiteral("Cannot write the table: %1.").arg(systemText(error)), file);
}

Failure DbfErrors::readOnly(const QString& file)
{
    return engine(QStringLiteral("Table is read only."), file);
}

Failure DbfErrors::noSuchRecord(const QString& file, quint32 recno, quint32 count)
{
    return engine(QStringLiteral("Record %1 does not exist; the table has %2 records.").arg(qulonglong(recno) + 1).arg(count), file);
}

Failure DbfErrors::wrongRecordSize(const QString& file, qsizetype size, int expected)
{
    return engine(QStringLiteral("A record of %1 bytes does not fit records of %2 bytes.").arg(size).arg(expected), file);
}

Failure DbfErrors::tableFull(const QString& file)
{
    return engine(QStringLiteral("Table is full."), file);
}

Failure DbfErrors::badFieldIndex(const QString& file, int field)
{
    return engine(QStringLiteral("Field number %1 does not exist.").arg(field), file);
}

Failure DbfErrors::doesNotFit(const QString& file, const QString& field, const QString& text, int width)
{
    return Failure(Failure::Database,
                   QStringLiteral("Value %1 does not fit field '%2' of width %3.\nFile: %4").arg(text, field).arg(width).arg(file));
}

Failure DbfErrors::notANumber(const QString& file, const QString& field, const QString& text)
{
    return Failure(Failure::Database,
                   QStringLiteral("'%1' is not a number for field '%2'.\nFile: %3").arg(text, field, file));
}

Failure DbfErrors::unsupportedValue(const QString& file, const QString& field, const QString& typeName)
{
    return Failure(Failure::Database,
                   QStringLiteral("A value of type %1 cannot be stored in field '%2'.\nFile: %3").arg(typeName, field, file));
}

Failure DbfErrors::exists(const QString& file)
{
    return engine(QStringLiteral("Cannot create the table: the file already exists."), file);
}

Failure DbfErrors::cannotCreate(const QString& file, const QString& detail)
{
    return engine(QStringLiteral("Cannot create the table: %1.").arg(detail), file);
}

} // namespace data
