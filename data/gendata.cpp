// gendata OUTDIR
//
// Writes the program's data files under OUTDIR, in the directories the
// program reads beside itself. Run by the build; it needs no display.

#include "data/DataFiles.h"
#include "data/artwork.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

bool writeImage(const QDir& out, const QString& path, const QImage& image, const char* format)
{
    const QString file = out.filePath(path);
    if (!out.mkpath(QFileInfo(file).path()) || !image.save(file, format)) {
        std::fprintf(stderr, "gendata: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

bool writeBytes(const QDir& out, const QString& path, const QByteArray& bytes)
{
    const QString file = out.filePath(path);
    QFile f(file);
    if (!out.mkpath(QFileInfo(file).path()) || !f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(bytes) != bytes.size() || !f.flush()) {
        std::fprintf(stderr, "gendata: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gendata OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    // Every file is attempted even after a failure, so one report lists them all.
    bool ok = true;
    ok &= writeImage(out, QString::fromLatin1(datafiles::Kite), Artwork::makeKiteSheet(), "BMP");
    ok &= writeImage(out, QString::fromLatin1(datafiles::Back), Artwork::makeBackground(), "BMP");
    ok &= writeBytes(out, QString::fromLatin1(datafiles::Chime), Artwork::makeChimeWav());
    ok &= writeBytes(out, QString::fromLatin1(datafiles::Music), Artwork::makeTuneWav());
    ok &= writeImage(out, QString::fromLatin1(datafiles::Icon32), Artwork::makeAppIcon(32), "PNG");
    ok &= writeImage(out, QString::fromLatin1(datafiles::Icon128), Artwork::makeAppIcon(128), "PNG");
    return ok ? 0 : 1;
}
