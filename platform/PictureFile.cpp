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

PictureLoad Failed(PictureStatus status, const QString& path, QSize declared = {})
{
    PictureLoad loaded;
    loaded.status = status;
    loaded.path = path;
    loaded.declared = declared;
    return loaded;
}

}  // namespace

PictureLoad LoadPicture(const QString& file, QSize atLeast)
{
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly))
        return Failed(PictureStatus::Missing, file);
    if (f.size() > MaxFileBytes)
        return Failed(PictureStatus::TooLarge, file);
    PictureLoad loaded = LoadPictureData(f.readAll(), atLeast);
    loaded.path = file;
    return loaded;
}

PictureLoad LoadPictureData(const QByteArray& bytes, QSize atLeast)
{
    WatchedBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(AllocationLimitMB);
    const auto readerFailure = [&reader] {
        return reader.error() == QImageReader::UnsupportedFormatError ? PictureStatus::NotAPicture
                                                                      : PictureStatus::Corrupt;
    };
    // Finding the format peeks at the first bytes; only the decoding itself must
    // find everything it reads.
    if (!reader.canRead())
        return Failed(readerFailure(), {});
    buffer.watching = reader.format() == "bmp";
    const QImage loaded = reader.read();
    if (loaded.isNull())
        return Failed(readerFailure(), {});
    if (buffer.ranShort)
        return Failed(PictureStatus::CutShort, {});

    const QSize size = loaded.size().expandedTo(atLeast);
    if (qint64{size.width()} * size.height() * 4 > AllocationLimitBytes)
        return Failed(PictureStatus::TooManyPixels, {}, loaded.size());
    QImage grown(size, raster::SurfaceFormat);
    if (grown.isNull())
        return Failed(PictureStatus::NoMemory, {});
    grown.fill(Qt::white);
    const QImage pixels = loaded.convertToFormat(raster::SurfaceFormat);
    raster::BitBlt(grown, 0, 0, pixels.width(), pixels.height(), pixels, 0, 0, raster::SRCCOPY);
    PictureLoad done;
    done.status = PictureStatus::Ok;
    done.value = grown;
    done.declared = loaded.size();
    return done;
}

QString PictureReason(const PictureLoad& loaded)
{
    switch (loaded.status) {
    case PictureStatus::Ok:
        return {};
    case PictureStatus::Missing:
        return QStringLiteral("ファイルが見つかりません");
    case PictureStatus::TooLarge:
        return QStringLiteral("ファイルが大きすぎます");
    case PictureStatus::NotAPicture:
        return QStringLiteral("画像の形式が違います");
    case PictureStatus::Corrupt:
        return QStringLiteral("画像データが壊れています");
    case PictureStatus::CutShort:
        return QStringLiteral("画像データが途中で切れています");
    case PictureStatus::TooManyPixels:
        return QStringLiteral("画像が大きすぎます (%1 x %2)")
            .arg(loaded.declared.width())
            .arg(loaded.declared.height());
    case PictureStatus::NoMemory:
        return QStringLiteral("画像を置くメモリが足りません");
    }
    return {};
}

}  // namespace platform
