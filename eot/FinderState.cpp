#include "eot/FinderState.h"

#include "eot/FrequencyChoice.h"

namespace eot {

QString familyOfIndex(int indexRt)
{
    switch (indexRt) {
    case 1: return QStringLiteral("9");
    case 2: return QStringLiteral("1");
    default: return QStringLiteral("3-7");
    }
}

QString composeDesignation(const FinderState& s)
{
    const QString& tx = s.codeRn;
    const QString& r1 = s.codeRo1;
    const QString& r2 = s.codeRo2;
    const int iN = s.indexRn;
    const int i1 = s.indexRo1;
    const int i2 = s.indexRo2;
    const QString none = QStringLiteral("00");
    const QString end = QStringLiteral("0");

    // Every rule is tested; a rule that applies replaces the name, so where
    // two apply (2b and 2c) the later one wins.
    QString name;
    if (tx == none && r1 != none) {
        if (i1 < i2)
            name = QStringLiteral("EOT-3") + r1 + r2 + end;
        if (i2 < i1)
            name = QStringLiteral("EOT-3") + r2 + r1 + end;
        if (i2 == 0)
            name = QStringLiteral("EOT-3") + r1 + none + end;
    }
    if (tx != none && s.eotFamily == QLatin1String("3-7")) {
        if (r1 != none && iN > 5 && iN != i1)
            name = QStringLiteral("EOT-5") + tx + r1 + end;
        if (r1 == none && iN < 6)
            name = QStringLiteral("EOT-7") + tx + end;
        if (r1 == none && iN > 5)
            name = QStringLiteral("EOT-6") + tx + end;
    }
    if (tx != none && iN < 6 && s.eotFamily == QLatin1String("9"))
        name = QStringLiteral("EOT-9") + tx + end;
    if (tx != none && iN > 1 && iN < 6 && s.eotFamily == QLatin1String("1"))
        name = QStringLiteral("EOT-1") + tx + end;
    return name;
}

void assignRoles(FinderState& s)
{
    const auto device1 = [&s](const char* role, int sot, const QString& code) {
        s.role1 = QString::fromLatin1(role);
        s.sot1 = sot;
        s.code1 = code;
    };
    const auto noDevice2 = [&s] {
        s.role2.clear();
        s.twoDevices = 0;
    };
    const auto device2 = [&s](int sot, const QString& code) {
        s.role2 = QStringLiteral("O");
        s.sot2 = sot;
        s.code2 = code;
        s.twoDevices = 1;
    };

    if (s.indexRn != 0 && s.indexRo1 == 0) {
        device1("N", s.sotRn, s.codeRn);
        noDevice2();
    }
    if (s.indexRn != 0 && s.indexRo1 != 0) {
        device1("N", s.sotRn, s.codeRn);
        device2(s.sotRo1, s.codeRo1);
    }
    if (s.indexRn == 0 && s.indexRo2 == 0) {
        device1("O", s.sotRo1, s.codeRo1);
        noDevice2();
    }
    if (s.indexRn == 0 && s.indexRo1 != 0) {
        device1("O", s.sotRo1, s.codeRo1);
        device2(s.sotRo2, s.codeRo2);
    }
    if (s.indexRn == 0 && s.indexRo1 != 0 && s.indexRo2 == 0) {
        device1("O", s.sotRo1, s.codeRo1);
        noDevice2();
    }
}

} // namespace eot
