#include "tests/shared/SharedChecks.h"

#include "data/DbfFile.h"
#include "data/MdxIndex.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/data/MdxTestChecks.h"
#include "tests/data/MdxTestTable.h"
#include "tests/shared/SharedRows.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace shared_test {

namespace {

const QString kCode = QStringLiteral("C_OZN");

bool isNumberColumn(qsizetype column)
{
    return column >= 1 && column <= 4;
}

// One record's values as text, in the canonical form: a blank number
// ("", None, undef, "(NULL)") empty, every number as a number.
QString canonical(QChar flag, QStringList values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        QString v = values[i].trimmed();
        if (isNumberColumn(i)) {
            if (v == QLatin1String("None") || v == QLatin1String("(NULL)"))
                v.clear();
            bool ok = true;
            if (!v.isEmpty())
                v = QString::number(v.toDouble(&ok), 'g', 15);
            EXPECT_TRUE(ok) << "not a number: " << values[i].toStdString();
        }
        values[i] = v;
    }
    return flag + values.join(QLatin1Char('|'));
}

// "flag value|value|..." lines of a peer's dump, per file, in the order of
// `paths`; the dump starts each file with "== <path>".
std::vector<QStringList> perFile(const QString& dump, const QStringList& paths)
{
    std::vector<QStringList> files;
    for (const QString& line : dump.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("== "))) {
            files.emplace_back();
            continue;
        }
        if (files.empty()) {
            ADD_FAILURE() << "a dump line before any file: " << line.toStdString();
            break;
        }
        files.back() << canonical(line.at(0), line.mid(1).split(QLatin1Char('|')));
    }
    EXPECT_EQ(files.size(), size_t(paths.size())) << dump.toStdString();
    files.resize(size_t(paths.size()));
    return files;
}

const char* const kDbfread = R"(
import sys, dbfread
out = []
for path in sys.argv[1:]:
    out.append('== ' + path)
    table = dbfread.DBF(path, encoding='cp1250', char_decode_errors='strict')
    for flag, records in ((' ', table), ('*', table.deleted)):
        for r in records:
            out.append(flag + '|'.join('' if v is None else str(v) for v in r.values()))
sys.stdout.buffer.write(('\n'.join(out) + '\n').encode('utf-8'))
)";

const char* const kXbase = R"(
use strict; use warnings; use XBase;
binmode STDOUT, ':raw';
for my $path (@ARGV) {
    print "== $path\n";
    my $table = XBase->new($path) or die XBase->errstr;
    for my $n (0 .. $table->last_record) {
        my ($deleted, @values) = $table->get_record($n);
        die $table->errstr unless defined $deleted;
        print(($deleted ? '*' : ' '), join('|', map { defined $_ ? $_ : '' } @values), "\n");
    }
    $table->close;
}
)";

} // namespace

QString lineOf(bool deleted, const QVariantList& values)
{
    QStringList texts;
    for (const QVariant& v : values)
        texts << (v.isNull() ? QString() : v.metaType().id() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15)
                                                                                  : v.toString());
    return canonical(deleted ? QLatin1Char('*') : QLatin1Char(' '), texts);
}

QStringList ourLines(const QString& path)
{
    const auto file = data::DbfFile::open(path);
    QStringList lines;
    for (const dbf_test::Row& row : dbf_test::readRows(*file))
        lines << lineOf(row.deleted, row.values);
    return lines;
}

std::vector<QStringList> dbfreadLines(const QStringList& paths)
{
    const QString dump = mdx_test::run(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), QString::fromLatin1(kDbfread)} + paths);
    return perFile(dump, paths);
}

std::vector<QStringList> xbaseLines(const QStringList& paths)
{
    const QString dump = mdx_test::run(QStringLiteral("perl"), QStringList{QStringLiteral("-e"), QString::fromLatin1(kXbase)} + paths);
    return perFile(dump, paths);
}

// dbfdump -m: "Record: n", then "NAME: value" per field and "(DELETED)".
QStringList dbfdumpLines(const QString& path)
{
    QStringList lines;
    QChar flag;
    QStringList values;
    const auto flush = [&] {
        if (!flag.isNull())
            lines << canonical(flag, values);
    };
    for (const QString& line : mdx_test::run(QStringLiteral("dbfdump"), {QStringLiteral("-m"), path}).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Record: "))) {
            flush();
            flag = QLatin1Char(' ');
            values.clear();
        } else if (line == QLatin1String("(DELETED)")) {
            flag = QLatin1Char('*');
        } else if (!line.isEmpty()) {
            const QString prefix = kColumns.value(values.size()) + QLatin1String(": ");
            EXPECT_TRUE(line.startsWith(prefix)) << line.toStdString();
            values << line.mid(prefix.size());
        }
    }
    flush();
    return lines;
}

QStringList liveThenDeleted(const QStringList& lines)
{
    QStringList live;
    QStringList deleted;
    for (const QString& line : lines)
        (line.startsWith(QLatin1Char('*')) ? deleted : live) << line;
    return live + deleted;
}

std::map<QString, QStringList> byWriter(const QStringList& lines)
{
    std::map<QString, QStringList> out;
    for (const QString& line : lines)
        out[line.mid(1).section(QLatin1Char('|'), 0, 0)] << line;
    return out;
}

void expectWellFormed(const QString& path, int count)
{
    const QByteArray bytes = dbf_test::readFile(path);
    ASSERT_GE(bytes.size(), 32);
    const auto le = [&](int at, int size) {
        quint32 v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = (v << 8) | quint8(bytes[at + i]);
        return qint64(v);
    };
    EXPECT_EQ(le(4, 4), count) << "the header's count";
    const qint64 end = le(8, 2) + qint64(count) * le(10, 2);
    EXPECT_EQ(bytes.size(), end + 1) << "the file ends after the last record and its end mark";
    if (bytes.size() > end) {
        EXPECT_EQ(bytes[end], '\x1A') << "the end mark";
    }
}

void expectIndexAgrees(const QString& path, bool repairFirst)
{
    const QFileInfo table(path);
    const QString mdx = table.dir().filePath(table.completeBaseName() + QStringLiteral(".MDX"));
    std::unique_ptr<data::MdxIndex> asItLies;
    const data::MdxIndex* index = nullptr;
    const auto file = data::DbfFile::open(path);
    if (repairFirst) {
        index = file->productionIndex();
    } else {
        asItLies = data::MdxIndex::open(mdx, file->fields());
        index = asItLies.get();
    }
    ASSERT_NE(index, nullptr);
    const mdx_test::MdxTestTable records = mdx_test::MdxTestTable::load(path);
    mdx_test::expectTagAgrees(*index, records, kCode);

    std::vector<quint32> order;
    QStringList keys;
    const QString perl = QStringLiteral(OBW_SOURCE_DIR "/tests/fixtures/mdx/xbase_keys.pl");
    for (const QString& line : mdx_test::run(QStringLiteral("perl"), {perl, mdx, kCode}).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u'\t');
        ASSERT_EQ(parts.size(), 2) << line.toStdString();
        keys << parts[0];
        order.push_back(parts[1].toUInt() - 1);
    }
    SCOPED_TRACE("Perl XBase");
    mdx_test::expectInTagOrder(records, kCode, order, keys);
}

} // namespace shared_test
