#pragma once

#include "data/Failure.h"

#include <QString>

namespace data {

// Every message the table module gives, in one place. Each names the file
// on a line of its own, as the engine's messages do.
class DbfErrors {
public:
    static Failure missing(const QString& file);
    static Failure cannotOpen(const QString& file, int error);
    static Failure notAFile(const QString& file);
    static Failure empty(const QString& file);
    static Failure notDbase(const QString& file, quint8 version);
    static Failure unsupported(const QString& file, quint8 version, const QString& family);
    static Failure corrupt(const QString& file, const QString& detail);
    static Failure restructured(const QString& file);
    static Failure readFailed(const QString& file, int error);
    static Failure writeFailed(const QString& file, int error);
    static Failure readOnly(const QString& file);
    static Failure noSuchRecord(const QString& file, quint32 recno, quint32 count);
    static Failure wrongRecordSize(const QString& file, qsizetype size, int expected);
    static Failure tableFull(const QString& file);
    static Failure badFieldIndex(const QString& file, int field);
    static Failure doesNotFit(const QString& file, const QString& field, const QString& text, int width);
    static Failure notANumber(const QString& file, const QString& field, const QString& text);
    static Failure unsupportedValue(const QString& file, const QString& field, const QString& typeName);
    static Failure exists(const QString& file);
    static Failure cannotCreate(const QString& file, const QString& detail);

private:
    static Failure engine(const QString& text, const QString& file);
};

} // namespace data
