#include "data/MdxBcd.h"

#include <gtest/gtest.h>

#include <vector>

using data::MdxBcd;

namespace {

QByteArray hex(const char* digits)
{
    QByteArray key = QByteArray::fromHex(digits);
    key.append(QByteArray(MdxBcd::kSize - key.size(), '\0'));
    return key;
}

struct Encoding {
    const char* text;
    const char* key; // leading bytes; the rest are 0
    const char* value;
};

class MdxBcdEncoding : public testing::TestWithParam<Encoding> {};

TEST_P(MdxBcdEncoding, TextBecomesKeyAndBack)
{
    const Encoding& c = GetParam();
    const QByteArray key = MdxBcd::fromText(QByteArray(c.text));
    EXPECT_EQ(key.toHex(' '), hex(c.key).toHex(' '));
    EXPECT_EQ(MdxBcd::toText(key.constData()), QString::fromLatin1(c.value));
}

// Byte 1 counts the digits (times 4, plus 1), as dBase IV writes it.
INSTANTIATE_TEST_SUITE_P(Numbers, MdxBcdEncoding,
                         testing::Values(Encoding{"15", "360915", "15"}, Encoding{"  15", "360915", "15"},
                                         Encoding{"80", "360580", "80"}, Encoding{"8", "350580", "8"},
                                         Encoding{"007", "350570", "7"}, Encoding{"-12", "368912", "-12"},
                                         Encoding{"1580.5", "38151580 50", "1580.5"},
                                         Encoding{"0.05", "330550", "0.05"}, Encoding{"0", "3401", "0"},
                                         Encoding{"-0", "3401", "0"}, Encoding{"", "3401", "0"},
                                         Encoding{"        ", "3401", "0"}, Encoding{"12abc", "360912", "12"},
                                         Encoding{"+3", "350530", "3"}, Encoding{"**", "3401", "0"},
                                         Encoding{"12345678901234567890123", "4b4d12345678901234567890",
                                                  "12345678901234567890000"}));

TEST(MdxBcd, KeysOrderAsTheirNumbers)
{
    const std::vector<const char*> ascending = {"-100", "-12.5", "-12", "-1", "0", "0.05", "0.5", "1",
                                                "8",    "10",    "12",  "15", "80", "100", "1580.5"};
    for (size_t i = 0; i < ascending.size(); ++i) {
        for (size_t j = 0; j < ascending.size(); ++j) {
            const QByteArray a = MdxBcd::fromText(QByteArray(ascending[i]));
            const QByteArray b = MdxBcd::fromText(QByteArray(ascending[j]));
            const int expected = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(MdxBcd::compare(a.constData(), b.constData()), expected) << ascending[i] << " vs " << ascending[j];
        }
    }
}

// TDbf rounds the digit count of byte 1 up to an even number: its 80 is
// 36 09 80, still the same number.
TEST(MdxBcd, DigitCountOfOtherWritersDoesNotMatter)
{
    const QByteArray tdbf = hex("360980");
    const QByteArray ours = MdxBcd::fromText(QByteArray("80"));
    EXPECT_EQ(MdxBcd::compare(tdbf.constData(), ours.constData()), 0);
    EXPECT_EQ(MdxBcd::toText(tdbf.constData()), QStringLiteral("80"));
}

} // namespace
