#include "tests/data/MdxTestTable.h"

#include "data/MdxIndex.h"

#include <QDate>
#include <QFile>
#include <QtEndian>

#include <stdexcept>

namespace mdx_test {

namespace {

data::DbfField makeField(const char* name, char type, int width, int offset)
{
    data::DbfField f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.width = width;
    f.offset = offset;
    f.kind = data::DbfField::kindOf(type, width, 0);
    return f;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

} // namespace

std::vector<data::DbfField> MdxTestTable::frequencyFields()
{
    return {makeField("EOT", 'C', 3, 1),      makeField("SOT", 'N', 2, 4),       makeField("NR", 'N', 2, 6),
            makeField("C_OZN", 'N', 2, 8),    makeField("CZESTOTL", 'N', 8, 10), makeField("KOLOR", 'C', 20, 18)};
}

MdxTestTable MdxTestTable::frequency()
{
    MdxTestTable t;
    t.fields_ = frequencyFields();
    t.recordLength_ = 38;
    return t;
}

MdxTestTable MdxTestTable::load(const QString& path)
{
    const QByteArray bytes = readAll(path);
    MdxTestTable t;
    const quint32 count = qFromLittleEndian<quint32>(bytes.constData() + 4);
    const int headerLength = qFromLittleEndian<quint16>(bytes.constData() + 8);
    t.recordLength_ = qFromLittleEndian<quint16>(bytes.constData() + 10);
    int offset = 1;
    for (int at = 32; at + 32 <= headerLength && bytes[at] != '\r'; at += 32) {
        const QByteArray name = bytes.mid(at, 11);
        const int width = quint8(bytes[at + 16]);
        t.fields_.push_back(makeField(name.left(name.indexOf('\0')).constData(), bytes[at + 11], width, offset));
        offset += width;
    }
    for (quint32 i = 0; i < count; ++i)
        t.records_.push_back(bytes.mid(headerLength + qsizetype(i) * t.recordLength_, t.recordLength_));
    return t;
}

int MdxTestTable::field(const QString& name) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name == name)
            return int(i);
    }
    throw std::runtime_error("no field " + name.toStdString());
}

QByteArray MdxTestTable::row(const QString& eot, int sot, int nr, int code, int frequency, const QString& colour) const
{
    QByteArray r(recordLength_, ' ');
    put(r, QStringLiteral("EOT"), eot);
    put(r, QStringLiteral("SOT"), QString::number(sot));
    put(r, QStringLiteral("NR"), QString::number(nr));
    put(r, QStringLiteral("C_OZN"), QString::number(code));
    put(r, QStringLiteral("CZESTOTL"), QString::number(frequency));
    put(r, QStringLiteral("KOLOR"), colour);
    return r;
}

QString MdxTestTable::text(quint32 recno, const QString& name) const
{
    const data::DbfField& f = fields_[size_t(field(name))];
    return QString::fromLatin1(records_[recno].mid(f.offset, f.width)).trimmed();
}

void MdxTestTable::set(quint32 recno, const QString& name, const QString& text)
{
    put(records_[recno], name, text);
}

void MdxTestTable::put(QByteArray& record, const QString& name, const QString& text) const
{
    const data::DbfField& f = fields_[size_t(field(name))];
    const QByteArray bytes = text.toLatin1().left(f.width);
    const QByteArray padded = f.type == 'C' ? bytes.leftJustified(f.width, ' ') : bytes.rightJustified(f.width, ' ');
    record.replace(f.offset, f.width, padded);
}

void MdxTestTable::setDeleted(quint32 recno, bool deleted)
{
    records_[recno][0] = deleted ? '*' : ' ';
}

void MdxTestTable::save(const QString& path, bool production) const
{
    const int headerLength = 32 + 32 * int(fields_.size()) + 1;
    QByteArray out(headerLength, '\0');
    out[0] = 0x03;
    const QDate today = QDate::currentDate();
    out[1] = char(today.year() - 1900);
    out[2] = char(today.month());
    out[3] = char(today.day());
    qToLittleEndian<quint32>(quint32(records_.size()), out.data() + 4);
    qToLittleEndian<quint16>(quint16(headerLength), out.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength_), out.data() + 10);
    out[28] = production ? 1 : 0;
    out[29] = char(0xC8);
    for (size_t i = 0; i < fields_.size(); ++i) {
        char* d = out.data() + 32 + 32 * int(i);
        const QByteArray name = fields_[i].name.toLatin1();
        std::copy(name.begin(), name.end(), d);
        d[11] = fields_[i].type;
        d[16] = char(fields_[i].width);
    }
    out[headerLength - 1] = '\r';
    for (const QByteArray& r : records_)
        out += r;
    out += char(0x1A);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out) != out.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

data::MdxIndex::RecordReader MdxTestTable::reader() const
{
    auto next = std::make_shared<size_t>(0);
    return [this, next]() -> const char* {
        return *next < records_.size() ? records_[(*next)++].constData() : nullptr;
    };
}

} // namespace mdx_test
