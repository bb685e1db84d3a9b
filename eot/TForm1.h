#pragma once

#include "eot/FinderState.h"

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QPushButton;

namespace data {
class Query;
}
namespace ui {
class Panel;
class RadioGroup;
}

namespace eot {

// The EOT finder window: frequency groups for a transmitter and two
// receivers, the family group, the designation and the MER modules.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1();

    void FormCreate();
    void RnClick();
    void Ro1Click();
    void Ro2Click();
    void RtClick();
    void Button1Click();
    void Button2Click();

    void drodbiornik();
    void wyczysc();
    void nazwy();
    void odczyt();
    void BOdczyt();

    const FinderState& state() const { return state_; }

Q_SIGNALS:
    void descriptionsRequested();
    void notesRequested();
    void techDataRequested();
    void reviewRequested();
    void planRequested();
    // "Dla programisty" › "Wpis": the programmer's lock, then its window.
    void programmerEntryRequested();

private:
    void buildMenu();
    void buildControls();
    void buildQueries();
    // Steps 1 to 3 of a frequency group's click handling.
    void frequencyChanged(ui::RadioGroup* group, QString& code, int& index, int& sot);
    // Looks up one device: module type, then variant; returns "MER-" + type + "/" + variant.
    QString lookUp(data::Query* types, data::Query* variants, int sot, const QString& role, const QString& code,
                   QString& typ, QString& nr);

    FinderState state_;

    ui::RadioGroup* Rn;
    ui::RadioGroup* Ro1;
    ui::RadioGroup* Ro2;
    ui::Panel* Panel1;
    ui::RadioGroup* Rt;
    QPushButton* Button1;
    QPushButton* BitBtn1;
    QPushButton* Button2;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QLineEdit* Edit3;
    data::Query* Query1;
    data::Query* Query2;
    data::Query* Query3;
    data::Query* Query4;
};

} // namespace eot
