#include "platform/PictureFile.h"

#include "platform/Raster.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

namespace {

// A bitmap may say it is any size; refuse to allocate more than a sane picture
// needs (64 MB of pixels) instead of trying and failing late.
constexpr int AllocationLimitMB = 64;

bool read(QImageReader& reader, QSize atLeast, QImage& surface, QString& reason)
{
    reader.setAllocationLimit(AllocationLimitMB);
    const QImage loaded = reader.read();
    if (loaded.isNull()) {
        reason = reader.errorString();
        return false;
    }
    QImage grown(loaded.size().expandedTo(atLeast), SurfaceFormat);
    if (grown.isNull()) {
        reason = QStringLiteral("not enough memory for the picture");
        return false;
    }
    grown.fill(Qt::white);
    const QImage pixels = loaded.convertToFormat(SurfaceFormat);
    BitBlt(grown, 0, 0, pixels.width(), pixels.height(), pixels, 0, 0, SRCCOPY);
    surface = grown;
    return true;
}

}  // namespace

bool LoadPicture(const QString& file, QSize atLeast, QImage& surface, QString& reason)
{
    if (!QFileInfo(file).isFile()) {
        reason = QStringLiteral("ファイルが見つかりません");
        return false;
    }
    QImageReader reader(file);
    return read(reader, atLeast, surface, reason);
}

bool LoadPictureData(const QByteArray& bytes, QSize atLeast, QImage& surface, QString& reason)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return read(reader, atLeast, surface, reason);
}

}  // namespace platform
