#pragma once

class QWidget;

namespace texts {

// Windows paint their background into the palette their controls inherit;
// buttons, notebooks and scroll bars keep the system's face instead.
class SystemFace {
public:
    static void keep(QWidget* widget);
};

} // namespace texts
