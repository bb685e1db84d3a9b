#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace data {
class DataSource;
class Query;
class Table;
}
namespace ui {
class DbEdit;
class DbLookupCombo;
class DbText;
class Panel;
}

namespace sections {

// The section review window: one section's data from the section table
// joined with its frequency, the receiver and transmitter modules derived
// from them, and a panel in the colour of the frequency.
class TPrzeglad : public QWidget {
    Q_OBJECT
public:
    TPrzeglad();

    void FormCreate();
    void FormActivate();
    // Loads the section named by selectedSection (plan mode).
    void podcinka();
    void DodcinekChange();
    void BprzClick();
    void wmer();
    void wnad();
    void Color();

    // Plan mode: the section came from the plan; list mode: from the list.
    bool planMode() const;
    const QString& lastPicked() const { return lastPicked_; }

protected:
    bool event(QEvent* event) override;

private:
    void buildDataSets();
    void buildControls();
    void load(const QString& name);

    QString lastPicked_;

    data::Table* Table1;
    data::DataSource* DataSource2;
    data::Query* Query1;
    data::DataSource* DataSource1;
    data::Table* Table2;

    ui::Panel* Panel1;
    ui::Panel* Panel2;
    ui::Panel* Panel3;
    ui::Panel* Panel4;
    ui::DbLookupCombo* Dodcinek;
    QPushButton* zm;
    QPushButton* Bprz;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
};

} // namespace sections
