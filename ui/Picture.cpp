#include "ui/Picture.h"

#include "data/Failure.h"
#include "data/FileLookup.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace ui {

Picture::Picture(const char* name, QWidget* parent, const QRect& geometry) : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents); // the plan reacts to its markers only
}

void Picture::loadFromFile(const QString& fileName)
{
    const QString path = data::resolveFileName(fileName);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw data::Failure(QString::fromLatin1(data::Failure::FileOpen), QStringLiteral("Cannot open file %1").arg(fileName));
    QImageReader reader(&file, "bmp");
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        throw data::Failure(QString::fromLatin1(data::Failure::Graphic), reader.errorString());
    image_ = std::move(image);
    resize(image_.size());
    update();
}

void Picture::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), image_.size()), image_);
}

} // namespace ui
