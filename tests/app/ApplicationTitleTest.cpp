#include "app/ApplicationTitle.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplicationTitle, NameCutAtFirstFullStopRestLowerCase)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"/usr/bin/obwodnik", "obwodnik"},
        {"/opt/OBWODNIK.EXE", "Obwodnik"},
        {"C:/prog/Obwod.nik.exe", "Obwod"},
        {"x", "x"},
        {"/a.b/Plan", "Plan"},
        {".hidden", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::applicationTitle(QString::fromLatin1(c.path)).toStdString(), c.title) << c.path;
}

} // namespace
