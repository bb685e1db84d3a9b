#pragma once

#include <QComboBox>

#include <functional>

namespace data {
class DataSource;
}

namespace ui {

class DataLink;

// A drop-down list of one column of a table, in the table's row order.
// Picking a row makes it the table's current row and puts its value into
// the box. The change handling runs whenever the box's text changes, and
// only then: on a pick that brings another value, and on every character
// typed into the box or deleted from it.
class DbLookupCombo : public QComboBox {
    Q_OBJECT
public:
    DbLookupCombo(const char* name, QWidget* parent, const QRect& geometry);
    void setListSource(data::DataSource* source, const QString& fieldName);
    void setChangeHandler(std::function<void()> handler) { handler_ = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reload();
    void pick(int row);
    void changed();

    DataLink* link_;
    std::function<void()> handler_;
    QString shown_;
    bool forwarding_ = false;
};

} // namespace ui
