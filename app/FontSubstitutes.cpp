#include "app/FontSubstitutes.h"

#include <QFont>
#include <QString>

namespace app {

namespace {
struct Substitute {
    const char* designName;
    const char* family;
};

constexpr Substitute substitutes[] = {
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "DejaVu Sans Condensed"},
    {"System", "DejaVu Sans"},
    {"Arial Rounded MT Bold", "Quicksand"},
};
} // namespace

void FontSubstitutes::install()
{
    for (const Substitute& s : substitutes)
        QFont::insertSubstitution(QString::fromLatin1(s.designName), QString::fromLatin1(s.family));
}

} // namespace app
