#include "platform/PictureFile.h"

#include "rules/Raster.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

namespace {

// A bitmap may say it is any size; refuse to allocate more than a sane picture
// needs (64 MB of pixels) instead of trying and failing late. The surface a
// picture is grown to counts as well: a picture one pixel wide and millions
// high is small, the surface at least 180 pixels wide would not be.
constexpr int AllocationLimitMB = 64;
constexpr qint64 AllocationLimitBytes = qint64{AllocationLimitMB} * 1024 * 1024;
// No picture within that limit comes from a file much larger than its pixels.
constexpr qint64 MaxFileBytes = AllocationLimitBytes + 1024 * 1024;

// The bytes of a picture as the decoder reads them, noting when it asked for
// more than the bytes hold. The bitmap decoder gives up quietly at the end of
// the data and hands back a picture whose missing rows are whatever the memory
// held; such a picture is cut short, not loaded.
class WatchedBuffer : public QBuffer {
public:
    bool watching = false;
    bool ranShort = false;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        if (watching && n < maxSize)
            ranShort = true;
        return n;
    }
};

}  // namespace

bool LoadPicture(const QString& file, QSize atLeast, QImage& surface, QString& reason)
{
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("ファイルが見つかりません");
        return false;
    }
    if (f.size() > MaxFileBytes) {
        reason = QStringLiteral("ファイルが大きすぎます");
        return false;
    }
    return LoadPictureData(f.readAll(), atLeast, surface, reason);
}

bool LoadPictureData(const QByteArray& bytes, QSize atLeast, QImage& surface, QString& reason)
{
    WatchedBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(AllocationLimitMB);
    // Finding the format peeks at the first bytes; only the decoding itself must
    // find everything it reads.
    if (!reader.canRead()) {
        reason = reader.errorString();
        return false;
    }
    buffer.watching = reader.format() == "bmp";
    const QImage loaded = reader.read();
    if (loaded.isNull()) {
        reason = reader.errorString();
        return false;
    }
    if (buffer.ranShort) {
        reason = QStringLiteral("画像データが途中で切れています");
        return false;
    }

    const QSize size = loaded.size().expandedTo(atLeast);
    if (qint64{size.width()} * size.height() * 4 > AllocationLimitBytes) {
        reason = QStringLiteral("画像が大きすぎます (%1 x %2)").arg(loaded.width()).arg(loaded.height());
        return false;
    }
    QImage grown(size, raster::SurfaceFormat);
    if (grown.isNull()) {
        reason = QStringLiteral("not enough memory for the picture");
        return false;
    }
    grown.fill(Qt::white);
    const QImage pixels = loaded.convertToFormat(raster::SurfaceFormat);
    raster::BitBlt(grown, 0, 0, pixels.width(), pixels.height(), pixels, 0, 0, raster::SRCCOPY);
    surface = grown;
    return true;
}

}  // namespace platform
