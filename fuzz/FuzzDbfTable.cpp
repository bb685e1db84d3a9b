// A table file of any bytes: opening it either fails with a data::Failure or
// gives a table whose every record and field can be read within the file.
#include "data/DbfFile.h"
#include "data/Failure.h"
#include "fuzz/FuzzFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::writeInput("FUZZ.DBF", data, size);
    try {
        const std::shared_ptr<data::DbfFile> file = data::DbfFile::open(path);
        const quint32 count = file->recordCount();
        QVariant value;
        data::DbfFile::Scanner scan(*file);
        while (const char* record = scan.next()) {
            for (size_t f = 0; f < file->fields().size(); ++f)
                file->valueInto(record, int(f), value);
        }
        QByteArray record;
        if (count > 0 && file->readRecord(count - 1, record) && record.size() != file->recordLength())
            __builtin_trap();
        // Writing into a buffer of the record's length stays within it.
        QByteArray blank = file->blankRecord();
        for (size_t f = 0; f < file->fields().size(); ++f) {
            try {
                file->setValue(blank, int(f), QVariant(QStringLiteral("1")));
            } catch (const data::Failure& f) {
                if (f.message().isEmpty()) // a value that does not fit is refused with a message
                    __builtin_trap();
            }
        }
    } catch (const data::Failure& f) {
        if (!f.message().contains(QStringLiteral("FUZZ.DBF"))) // a refusal names the file
            __builtin_trap();
    }
    return 0;
}
