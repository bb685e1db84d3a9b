#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace data {

class MdxIndex;

// The kinds a column delivers: C is text of its width; N or F without
// decimals and of width up to 4 is a small integer; every other N or F is
// floating-point. Anything else (dates, logicals, memos) is Other and binds
// to no declared field.
enum class FieldKind { Text, SmallInt, Float, Other };

struct DbfField {
    QString name;      // as stored, without the NUL padding
    char type = 'C';   // 'C', 'N', 'F', 'D', 'L', 'M', ...
    int width = 0;     // bytes in the record
    int decimals = 0;
    int offset = 0;    // from the start of the record (byte 0 is the deleted flag)
    FieldKind kind = FieldKind::Other;
};

// One dBase table file (dBase III/IV). There is one DbfFile object per file
// per process, shared by every data set over that file; each data set keeps
// its own position. Record numbers are 0-based here (dBase counts from 1).
// Every failure is a data::Failure whose message names the file.
class DbfFile {
public:
    // The shared object for the file at `path` (an existing path, already
    // resolved for letter case). Opens it read/write when the file allows it,
    // read-only otherwise.
    static std::shared_ptr<DbfFile> open(const QString& path);

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
    bool canWrite() const; // the file was opened for writing

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
    // Stores `v` into `record` at `field`. A null QVariant blanks the field.
    // Text is encoded in Windows-1250 and cut or padded to the width; a number
    // that does not fit the width throws.
    void setValue(QByteArray& record, int field, const QVariant& v) const;
    QByteArray blankRecord() const;

    // Writes. Each keeps the language-driver byte and the production index.
    void writeRecord(quint32 recno, const QByteArray& record);
    quint32 appendRecord(const QByteArray& record); // returns the new recno
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
    std::unique_ptr<Impl> d;
};

} // namespace data
