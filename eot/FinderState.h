#pragma once

#include <QString>

namespace eot {

// The finder's choices and results; one record for the life of the program,
// read and written only by the finder's operations.
struct FinderState {
    // Selection: code, index and SOT class of a group always belong to one row
    // of the frequency table. SOT classes stay 0 until their group first changes.
    QString codeRn = QStringLiteral("00");
    QString codeRo1 = QStringLiteral("00");
    QString codeRo2 = QStringLiteral("00");
    int indexRn = 0;
    int indexRo1 = 0;
    int indexRo2 = 0;
    int sotRn = 0;
    int sotRo1 = 0;
    int sotRo2 = 0;
    int indexRt = 0;
    QString eotFamily = QStringLiteral("3-7");
    QString eotName;

    // Device slots of the module look-up.
    QString role1;
    int sot1 = 0;
    QString code1;
    QString role2;
    int sot2 = 0;
    QString code2;
    int twoDevices = 0;
    QString typ1;
    QString typ2;
    QString nr1;
    QString nr2;
};

// Family text of a family index: 0 "3-7", 1 "9", 2 "1".
QString familyOfIndex(int indexRt);

// The designation that "Znajdź EOT" composes; empty when the choices name no device.
QString composeDesignation(const FinderState& s);

// Assigns the device slots from the selection (the five role rules, in order,
// a later rule overwriting an earlier one).
void assignRoles(FinderState& s);

} // namespace eot
