#pragma once

#include <QString>

#include <vector>

namespace data {

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

    // Fields from a layout written "NAME TYPE WIDTH [DECIMALS]; ...", as the
    // station's sources and the tests write them; offsets are worked out by
    // the table. A malformed item throws.
    static std::vector<DbfField> listFrom(const QString& layout);

    static FieldKind kindOf(char type, int width, int decimals)
    {
        if (type == 'C')
            return FieldKind::Text;
        if (type == 'N' || type == 'F')
            return decimals == 0 && width <= 4 ? FieldKind::SmallInt : FieldKind::Float;
        return FieldKind::Other;
    }
};

} // namespace data
