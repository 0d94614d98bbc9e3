// The two bitmaps through the loader the start-up uses, each with the least size
// its surface needs, then a few frames composed from what was loaded, with the
// kite at ordinary places, on the edges and far outside the display. A picture
// is either refused with a reason or gives a whole surface of at least that size.
#include "platform/PictureFile.h"
#include "rules/Raster.h"
#include "rules/mdlAelor.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_picture: %s\n", what);
    std::abort();
}

QImage Load(const QByteArray& bytes, QSize atLeast)
{
    const platform::PictureLoad loaded = platform::LoadPictureData(bytes, atLeast);
    const QImage& surface = loaded.value;
    if (!loaded.ok()) {
        if (platform::PictureReason(loaded).isEmpty())
            Fail("a refused picture came without a reason");
        if (!surface.isNull())
            Fail("a refused picture left a surface behind");
        return {};
    }
    if (surface.width() < atLeast.width() || surface.height() < atLeast.height())
        Fail("a loaded surface is smaller than asked for");
    if (surface.format() != raster::SurfaceFormat)
        Fail("a loaded surface has another pixel format");
    return surface;
}

QImage White(QSize size)
{
    QImage image(size, raster::SurfaceFormat);
    image.fill(Qt::white);
    return image;
}

// The image decoders warn about every oddity of a broken file; the fuzzer only
// cares about faults, and the warnings would bury its own report.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&)
{
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qInstallMessageHandler(Quiet);
    // The program reads its pictures with an application object in place, which
    // is what makes the image format plugins available.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage kite = Load(bytes, {mdlAelor::SheetWidth, mdlAelor::SheetHeight});
    const QImage back = Load(bytes, {mdlAelor::DisplayWidth, mdlAelor::DisplayHeight});
    if (kite.isNull() && back.isNull())
        return 0;

    mdlAelor::Surfaces surfaces;
    surfaces.picKite = kite.isNull() ? White({mdlAelor::SheetWidth, mdlAelor::SheetHeight}) : kite;
    surfaces.picBack = back.isNull() ? White({mdlAelor::DisplayWidth, mdlAelor::DisplayHeight}) : back;
    surfaces.picWork = White({mdlAelor::DisplayWidth, mdlAelor::DisplayHeight});
    QImage display = White({mdlAelor::DisplayWidth, mdlAelor::DisplayHeight});

    struct Place {
        std::int16_t x, y, frame;
    };
    static constexpr Place places[] = {
        {100, 100, 1}, {0, 0, 2}, {350, 290, 3}, {-29, -59, 4}, {380, 350, 5}, {-100, 500, 6}, {364, -14, 1},
    };
    mdlAelor::FlightState s;
    for (const Place& p : places) {
        s.KiteX = p.x;
        s.KiteY = p.y;
        s.FrameNo = p.frame;
        mdlAelor::ComposeInto(s, surfaces, display);
    }
    if (display.size() != QSize(mdlAelor::DisplayWidth, mdlAelor::DisplayHeight))
        Fail("composing changed the display's size");
    return 0;
}
