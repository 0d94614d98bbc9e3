#pragma once
#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

// Loads a bitmap file into a fresh picture surface: the bitmap lies whole at
// (0, 0), and a surface smaller than `atLeast` is grown to it with white. On
// failure returns false and says why in `reason`; nothing is ever half loaded.
bool LoadPicture(const QString& file, QSize atLeast, QImage& surface, QString& reason);

// The same from bytes already in memory (what a file would hold).
bool LoadPictureData(const QByteArray& bytes, QSize atLeast, QImage& surface, QString& reason);

}  // namespace platform
