#include "ui/Picture.h"

#include "data/Failure.h"
#include "data/FileLookup.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace ui {

namespace {

// Qt's reader takes a bitmap whose file ends before its pixels and fills
// the rest itself, so a header that lies about the size would show a picture
// the file does not hold. An uncompressed bitmap needs all its rows but the
// last row's padding; compressed ones are left to the reader.
bool pixelsMissing(QFile& file)
{
    const QByteArray h = file.peek(30 + 4);
    if (h.size() < 26 || !h.startsWith("BM"))
        return false;
    const auto u16 = [&h](int at) { return qFromLittleEndian<quint16>(h.constData() + at); };
    const auto u32 = [&h](int at) { return qFromLittleEndian<quint32>(h.constData() + at); };
    const quint32 infoSize = u32(14);
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    if (infoSize == 12) { // the OS/2 header
        width = u16(18);
        height = u16(20);
        bits = u16(24);
    } else if (infoSize >= 40 && h.size() >= 34) {
        width = qFromLittleEndian<qint32>(h.constData() + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(h.constData() + 22)));
        bits = u16(28);
        const quint32 compression = u32(30);
        if (compression != 0 && compression != 3 && compression != 6)
            return false;
    } else {
        return false;
    }
    if (width <= 0 || height <= 0 || bits <= 0)
        return false;
    const qint64 rowBytes = (width * bits + 7) / 8;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return qint64(u32(10)) + stride * (height - 1) + rowBytes > file.size();
}

} // namespace

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
    if (pixelsMissing(file))
        throw data::Failure(QString::fromLatin1(data::Failure::Graphic), QStringLiteral("Unable to read image data"));
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
