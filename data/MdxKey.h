#pragma once

#include <QByteArray>
#include <QVariant>

namespace data {

struct DbfField;

// The keys of one tag: how a record or a value becomes a key, and the order
// of keys. Text keys are the field's bytes and order byte by byte, as TDbf
// orders a Windows-1250 table; numbers are MdxBcd keys; dates are the
// Julian day as an 8-byte double.
class MdxKey {
public:
    MdxKey(char type, int length, bool descending);

    char type() const { return type_; }
    int length() const { return length_; }

    // <0, 0, >0 as `a` comes before, with or after `b` in the tag.
    int compare(const char* a, const char* b) const;
    int compare(const QByteArray& a, const QByteArray& b) const { return compare(a.constData(), b.constData()); }

    // The key of `record` (a raw record, byte 0 the deleted flag).
    QByteArray fromRecord(const DbfField& field, const char* record) const;
    // The key of a value looked for; empty when no key of this tag can equal it.
    QByteArray fromValue(const QVariant& value) const;
    // The key of a date given as dBase stores it, "YYYYMMDD"; blank is day 0.
    static QByteArray dateKey(const char* text, qsizetype size);

private:
    QByteArray textKey(const QByteArray& bytes) const;
    static QByteArray numberKey(const QVariant& value);

    char type_;
    int length_;
    bool descending_;
};

} // namespace data
