#pragma once

#include "ui/NavigatorGlyphs.h"

#include <QWidget>

#include <array>

class QToolButton;

namespace data {
class DataSource;
}

namespace ui {

class DataLink;

// The record navigator: ten flat buttons that move through the rows of its
// data source and edit them. A button is enabled only when its operation can
// run: first and prior not at the beginning, next and last not at the end,
// insert when the data set can be changed, delete when it can and has rows,
// edit when it can and is not being edited, post and cancel while editing,
// refresh unless it is a query. A closed data set disables all of them.
class DbNavigator : public QWidget {
    Q_OBJECT
public:
    DbNavigator(const char* name, QWidget* parent, const QRect& geometry);
    void setDataSource(data::DataSource* source);
    QToolButton* button(NavigatorButton which) const { return buttons_[size_t(which)]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void click(NavigatorButton which);
    void updateButtons();
    void layoutButtons();

    DataLink* link_;
    std::array<QToolButton*, navigatorButtonCount> buttons_{};
};

} // namespace ui
