#include "tests/data/MdxTestTable.h"

#include "data/MdxIndex.h"

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
    auto file = data::DbfFile::open(path);
    MdxTestTable t;
    t.fields_ = file->fields();
    t.recordLength_ = file->recordLength();
    data::DbfFile::Scanner scan(*file);
    while (const char* r = scan.next())
        t.records_.emplace_back(r, t.recordLength_);
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

data::MdxIndex::RecordReader MdxTestTable::reader() const
{
    auto next = std::make_shared<size_t>(0);
    return [this, next]() -> const char* {
        return *next < records_.size() ? records_[(*next)++].constData() : nullptr;
    };
}

} // namespace mdx_test
