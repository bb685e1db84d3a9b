#pragma once

#include "data/DbfField.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

namespace data {

class MdxIndex;

// How DbfFile::create lays out a new table.
struct DbfCreateOptions {
    quint8 version = 0x03;         // dBase III/IV; the only one made here
    quint8 languageDriver = 0xC8;  // Windows-1250
    // Fields with a tag in the production index; any sets header byte 28.
    // The index file itself is MdxIndex::create's.
    QStringList indexedFields;
    // The header's date of last update; today when null. A tool that must
    // make the same file again byte for byte gives a fixed one.
    QDate updated;
    // Rows written together with the header (values in field order, a null
    // QVariant blank), so that no later append stamps another date. With
    // indexedFields, make the index from these records before any other use.
    std::vector<QVariantList> rows;
};

// One dBase table file (dBase III/IV or 7). There is one DbfFile object per file
// per process (files are told apart by device and inode, so two spellings or
// a link share it, and a file replaced on disk gets a new one), shared by
// every data set over that file; each data set keeps its own position.
// Record numbers are 0-based here (dBase counts from 1).
// Every failure is a data::Failure whose message names the file.
//
// Record locks belong to the data sets (DbfFileLock): open-file-description
// locks exclude per descriptor, so each data set takes them on a descriptor
// of its own. Appends take the header lock here, for the length of the
// append: they re-read the count, write the records and the end mark, then
// the count, then the index.
//
// A write that fails puts back what it changed before it throws, so a
// failure never leaves a change half made for the next reader; a crash at
// any byte leaves the table as before or as after, and the index, written
// last, is mended by the next open that can write (productionIndex()).
class DbfFile {
public:
    // The shared object for the file at `path` (an existing path, already
    // resolved for letter case). Opens it read/write when the file allows it,
    // read-only otherwise.
    static std::shared_ptr<DbfFile> open(const QString& path);

    // Writes a new empty table at `path` with `fields` (name, type, width,
    // decimals; offsets and kinds are worked out). An existing file is never
    // overwritten. With indexedFields, write the index next (MdxIndex::create,
    // empty or from options.rows) and only then append: every write needs it.
    static void create(const QString& path, std::vector<DbfField> fields, const DbfCreateOptions& options = {});

    ~DbfFile();
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;

    const QString& path() const;
    QString fileName() const;
    const std::vector<DbfField>& fields() const;
    int fieldIndex(const QString& name) const; // letter case ignored; -1 when absent
    int recordLength() const;
    int headerLength() const;
    quint8 version() const;
    quint8 languageDriver() const;
    bool hasProductionIndex() const; // header byte 28
    bool canWrite() const; // the file was opened for writing
    // Device and inode of the file as opened.
    std::pair<quint64, quint64> identity() const;

    // The production index named by header byte 28, or nullptr when the flag
    // is clear. Opened on first use; a damaged index throws.
    MdxIndex* productionIndex();

    // The record count, re-read from the header (another data set or process
    // may have appended), never more than the file holds.
    quint32 recordCount();

    // Reads record `recno` into `out` (recordLength() bytes). False when the
    // record lies past the end of the file.
    bool readRecord(quint32 recno, QByteArray& out);

    static bool isDeleted(const char* record) { return record[0] == '*'; }

    // Field values of a raw record: a null QVariant for a blank number;
    // QString without trailing blanks for text; int for a small integer;
    // double for floating-point; the raw text for Other.
    QVariant value(const char* record, int field) const;
    // As value(), reusing the text storage `out` already holds: for scans.
    void valueInto(const char* record, int field, QVariant& out) const;
    // Stores `v` into `record` at `field`. A null QVariant blanks the field.
    // Text is encoded in Windows-1250 and cut or padded to the width; a number
    // that does not fit the width throws.
    void setValue(QByteArray& record, int field, const QVariant& v) const;
    QByteArray blankRecord() const;

    // Writes. Each keeps the language-driver byte and the production index,
    // and is refused when the file was removed or replaced since it opened.
    void writeRecord(quint32 recno, const QByteArray& record);
    quint32 appendRecord(const QByteArray& record); // returns the new recno
    // Appends all `records` with one count update; returns the first recno.
    // Waits a moment for another user's append to end.
    quint32 appendRecords(const std::vector<QByteArray>& records);
    void deleteRecord(quint32 recno);               // sets the deleted flag

    // Forward reader over consecutive records in large blocks; its memory
    // does not depend on the record count.
    class Scanner {
    public:
        explicit Scanner(DbfFile& file, quint32 first = 0);
        ~Scanner();
        // The next record (deleted ones included), or nullptr at the end.
        const char* next();
        quint32 recno() const { return recno_; }

    private:
        void fill();

        DbfFile& file_;
        QByteArray block_;
        quint32 next_;
        quint32 end_;
        quint32 blockFirst_ = 0;
        quint32 blockCount_ = 0;
        quint32 recno_ = 0;
    };

private:
    struct Impl;
    explicit DbfFile(std::unique_ptr<Impl> impl);
    MdxIndex* indexForWrite();
    std::unique_ptr<Impl> d;
};

} // namespace data
