#include "data/DbfHeader.h"

#include "data/DbfErrors.h"
#include "data/Win1250.h"

#include <algorithm>
#include <cstring>

namespace data {

namespace {

// Version bytes that plain dBase III/IV and dBase 7 tables carry; memo
// flags are accepted because memo fields are only shown as Other.
bool isDBase3(quint8 v) { return v == 0x03 || v == 0x83 || v == 0x8B; }
bool isDBase7(quint8 v) { return v == 0x04 || v == 0x8C; }

QString familyOf(quint8 v)
{
    switch (v) {
    case 0x02: case 0xFB: return QStringLiteral("FoxBASE and dBase II");
    case 0x30: case 0x31: case 0x32: return QStringLiteral("Visual FoxPro");
    case 0xF5: return QStringLiteral("FoxPro");
    case 0xE5: return QStringLiteral("HiPer-Six");
    case 0x43: case 0x63: case 0xCB: return QStringLiteral("dBase IV SQL");
    default: return QString();
    }
}

void putLe16(char* p, int v)
{
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
}

QString nameAt(const char* p, int size)
{
    const char* end = static_cast<const char*>(std::memchr(p, 0, size_t(size)));
    return Win1250::decode(p, end ? end - p : size).trimmed();
}

QString describe(int index, const QString& name)
{
    return QStringLiteral("field %1 (%2)").arg(index + 1).arg(name);
}

// Limits dBase itself puts on the fields it creates.
QString fieldProblem(const DbfField& f, int maxName)
{
    if (f.name.isEmpty() || f.name.size() > maxName)
        return QStringLiteral("the name must have 1 to %1 characters").arg(maxName);
    for (const QChar c : f.name) {
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || c == QLatin1Char('_')))
            return QStringLiteral("the name may hold only letters, digits and '_'");
    }
    if (!f.name.at(0).isLetter())
        return QStringLiteral("the name must start with a letter");
    switch (f.type) {
    case 'C':
        return f.width >= 1 && f.width <= 254 && f.decimals == 0 ? QString() : QStringLiteral("type C takes a width of 1 to 254 and no decimals");
    case 'N': case 'F':
        if (f.width < 1 || f.width > 20)
            return QStringLiteral("type %1 takes a width of 1 to 20").arg(QLatin1Char(f.type));
        return f.decimals == 0 || (f.decimals > 0 && f.decimals <= f.width - 2) ? QString()
                                                                                : QStringLiteral("the decimals must leave room for a digit and the point");
    case 'D':
        return f.width == 8 && f.decimals == 0 ? QString() : QStringLiteral("type D has a width of 8");
    case 'L':
        return f.width == 1 && f.decimals == 0 ? QString() : QStringLiteral("type L has a width of 1");
    default:
        return QStringLiteral("type '%1' is not one of C, N, F, D, L").arg(QLatin1Char(f.type));
    }
}

void checkNewFields(const std::vector<DbfField>& fields, int maxName, int maxRecord, const QString& file)
{
    if (fields.empty())
        throw DbfErrors::cannotCreate(file, QStringLiteral("a table needs at least one field"));
    int length = 1;
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString problem = fieldProblem(fields[i], maxName);
        if (!problem.isEmpty())
            throw DbfErrors::cannotCreate(file, describe(int(i), fields[i].name) + QStringLiteral(": ") + problem);
        for (size_t j = 0; j < i; ++j) {
            if (fields[j].name.compare(fields[i].name, Qt::CaseInsensitive) == 0)
                throw DbfErrors::cannotCreate(file, QStringLiteral("the name %1 is used twice").arg(fields[i].name));
        }
        length += fields[i].width;
    }
    if (length > maxRecord)
        throw DbfErrors::cannotCreate(file, QStringLiteral("a record of %1 bytes is longer than %2").arg(length).arg(maxRecord));
}

} // namespace

quint32 DbfHeader::readLe32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

int DbfHeader::readLe16(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return int(u[0]) | int(u[1]) << 8;
}

void DbfHeader::putDate(char* three, QDate date)
{
    three[0] = char(std::clamp(date.year() - 1900, 0, 255));
    three[1] = char(date.month());
    three[2] = char(date.day());
}

DbfHeader DbfHeader::parsePrefix(const char* bytes, qsizetype size, qint64 fileSize, const QString& file)
{
    if (fileSize == 0)
        throw DbfErrors::empty(file);
    DbfHeader h;
    h.version = quint8(bytes[0]);
    if (isDBase7(h.version))
        h.layout = Layout::DBase7;
    else if (!isDBase3(h.version)) {
        const QString family = familyOf(h.version);
        throw family.isEmpty() ? DbfErrors::notDbase(file, h.version) : DbfErrors::unsupported(file, h.version, family);
    }
    if (size < h.prefixSize())
        throw DbfErrors::corrupt(file, QStringLiteral("the file ends inside the header"));
    h.storedCount = readLe32(bytes + kCountOffset);
    h.headerLength = readLe16(bytes + 8);
    h.recordLength = readLe16(bytes + 10);
    h.indexFlag = quint8(bytes[kIndexFlagOffset]);
    h.languageDriver = quint8(bytes[29]);
    if (h.headerLength < h.prefixSize() + h.descriptorSize() + 1)
        throw DbfErrors::corrupt(file, QStringLiteral("the header length %1 leaves no room for a field").arg(h.headerLength));
    if (fileSize < h.headerLength)
        throw DbfErrors::corrupt(file, QStringLiteral("the file ends inside the header"));
    if (h.recordLength < 2)
        throw DbfErrors::corrupt(file, QStringLiteral("the record length %1 leaves no room for a field").arg(h.recordLength));
    return h;
}

void DbfHeader::parseFields(const QByteArray& header, const QString& file)
{
    const bool wide = layout == Layout::DBase7;
    const int nameSize = wide ? 32 : 11;
    const int typeAt = wide ? 32 : 11;
    const int widthAt = wide ? 33 : 16;
    const int end = int(std::min<qsizetype>(header.size(), headerLength));
    const char* b = header.constData();
    fields.clear();
    int pos = prefixSize();
    int offset = 1;
    while (pos >= end || b[pos] != kFieldEnd) {
        if (pos + descriptorSize() >= end)
            throw DbfErrors::corrupt(file, QStringLiteral("the field list runs past the header length %1").arg(headerLength));
        DbfField f;
        f.name = nameAt(b + pos, nameSize);
        f.type = b[pos + typeAt];
        f.width = quint8(b[pos + widthAt]);
        f.decimals = quint8(b[pos + widthAt + 1]);
        f.offset = offset;
        f.kind = DbfField::kindOf(f.type, f.width, f.decimals);
        if (f.name.isEmpty())
            throw DbfErrors::corrupt(file, QStringLiteral("field %1 has no name").arg(fields.size() + 1));
        if (f.width == 0)
            throw DbfErrors::corrupt(file, describe(int(fields.size()), f.name) + QStringLiteral(" has width 0"));
        offset += f.width;
        fields.push_back(std::move(f));
        pos += descriptorSize();
    }
    if (fields.empty())
        throw DbfErrors::corrupt(file, QStringLiteral("the table has no fields"));
    if (offset != recordLength)
        throw DbfErrors::corrupt(file, QStringLiteral("the record length %1 does not match the fields (%2)").arg(recordLength).arg(offset));
}

quint32 DbfHeader::committedCount(quint32 stored, qint64 fileSize) const
{
    // An append writes the record first and the count last, so the count marks
    // the committed records: whole records past it belong to an append that did
    // not finish and do not exist yet. A file shorter than its count lost its
    // tail (a broken copy, another program truncating it): only the whole
    // records it still holds exist, and nothing is read past them.
    const qint64 held = fileSize > headerLength ? (fileSize - headerLength) / recordLength : 0;
    return quint32(std::min<qint64>(stored, held));
}

QByteArray DbfHeader::build(std::vector<DbfField>& fields, quint8 version, quint8 languageDriver,
                            const QStringList& indexed, QDate today, const QString& file)
{
    // dBase 7 is read and written in place but not made here: its header
    // names the language driver, and that name is the engine's choice.
    if (version != 0x03)
        throw DbfErrors::cannotCreate(file, QStringLiteral("only version 0x03 (dBase III/IV) tables can be created"));
    checkNewFields(fields, 10, 4000, file);
    for (const QString& name : indexed) {
        if (std::none_of(fields.begin(), fields.end(), [&](const DbfField& f) { return f.name.compare(name, Qt::CaseInsensitive) == 0; }))
            throw DbfErrors::cannotCreate(file, QStringLiteral("the indexed field %1 is not among the fields").arg(name));
    }
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    QByteArray out(headerLength + 1, '\0');
    char* b = out.data();
    b[0] = char(version);
    putDate(b + kDateOffset, today);
    putLe16(b + 8, headerLength);
    b[kIndexFlagOffset] = indexed.isEmpty() ? 0 : 1;
    b[29] = char(languageDriver);
    int offset = 1;
    char* d = b + 32;
    for (DbfField& f : fields) {
        const QByteArray name = f.name.toLatin1();
        std::memcpy(d, name.constData(), size_t(name.size()));
        d[11] = f.type;
        d[16] = char(f.width);
        d[17] = char(f.decimals);
        d[31] = indexed.contains(f.name, Qt::CaseInsensitive) ? 1 : 0;
        f.offset = offset;
        f.kind = DbfField::kindOf(f.type, f.width, f.decimals);
        offset += f.width;
        d += 32;
    }
    putLe16(b + 10, offset);
    out[headerLength - 1] = kFieldEnd;
    out[headerLength] = kFileEnd;
    return out;
}

} // namespace data
