// An index file of any bytes beside the frequency table's fields: opening it
// either fails with a data::Failure or gives tags that can be walked and
// searched within the file.
#include "data/DbfField.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "fuzz/FuzzFile.h"

#include <cstdint>
#include <vector>

namespace {

std::vector<data::DbfField> frequencyFields()
{
    struct Layout {
        const char* name;
        char type;
        int width;
    };
    const Layout layouts[] = {{"EOT", 'C', 3}, {"SOT", 'N', 2}, {"NR", 'N', 2}, {"C_OZN", 'N', 2}, {"CZESTOTL", 'N', 6}, {"KOLOR", 'C', 20}};
    std::vector<data::DbfField> fields;
    int offset = 1;
    for (const Layout& s : layouts) {
        data::DbfField f;
        f.name = QString::fromLatin1(s.name);
        f.type = s.type;
        f.width = s.width;
        f.offset = offset;
        f.kind = data::DbfField::kindOf(s.type, s.width, 0);
        offset += s.width;
        fields.push_back(f);
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<data::DbfField> fields = frequencyFields();
    const QString path = fuzz::writeInput("FUZZ.MDX", data, size);
    try {
        const std::unique_ptr<data::MdxIndex> index = data::MdxIndex::open(path, fields);
        for (size_t t = 0; t < index->tags().size(); ++t) {
            index->walk(int(t));
            index->find(int(t), QVariant(15));
            index->find(int(t), QVariant(QStringLiteral("3-7")));
        }
        index->tagForField(QStringLiteral("C_OZN"));
    } catch (const data::Failure& f) {
        if (!f.message().contains(QStringLiteral("FUZZ.MDX"))) // a damaged index is refused naming the file
            __builtin_trap();
    }
    return 0;
}
