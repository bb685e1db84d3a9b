#include "data/SelectedSection.h"

namespace data {

QString& selectedSection()
{
    static QString name;
    return name;
}

} // namespace data
