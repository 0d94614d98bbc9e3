#pragma once
#include "platform/Loaded.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

enum class PictureStatus { Missing, Ok, TooLarge, NotAPicture, Corrupt, CutShort, TooManyPixels, NoMemory };

// A picture surface, or why there is none. `declared` is the size the file
// gives its picture, which the reason TooManyPixels names.
struct PictureLoad : Loaded<PictureStatus, QImage> {
    QSize declared;
};

// Loads a bitmap file into a fresh picture surface: the bitmap lies whole at
// (0, 0), and a surface smaller than `atLeast` is grown to it with white.
// Nothing is ever half loaded: on failure the surface is null.
PictureLoad LoadPicture(const QString& file, QSize atLeast);

// The same from bytes already in memory (what a file would hold).
PictureLoad LoadPictureData(const QByteArray& bytes, QSize atLeast);

// Why a picture did not load, as the user reads it; empty when it did.
QString PictureReason(const PictureLoad& loaded);

}  // namespace platform
