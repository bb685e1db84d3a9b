#pragma once

#include <QString>

namespace sections {

class TPasswordDlg;

// An access code typed into the prompt opens one lock. The code is compared
// as a whole, letter case and blanks included; how the prompt was closed is
// not asked.
class AccessLock {
public:
    static inline const QString sectionTableCode = QStringLiteral("mewakul");
    static inline const QString programmerCode = QStringLiteral("736294");

    // Empties the prompt, shows it modally and compares what was typed with
    // `code`. A refusal shows the program's fixed refusal box and gives false.
    static bool open(TPasswordDlg& prompt, const QString& code);
};

} // namespace sections
