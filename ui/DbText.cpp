#include "ui/DbText.h"

#include "ui/DataLink.h"

namespace ui {

DbText::DbText(const char* name, QWidget* parent, const QRect& geometry) : QLabel(parent), link_(new DataLink(this))
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    link_->onChange = [this] { setText(link_->displayText()); };
}

void DbText::setDataSource(data::DataSource* source, const QString& fieldName)
{
    link_->setDataSource(source, fieldName);
    setText(link_->displayText());
}

} // namespace ui
