#pragma once

#include <QIcon>
#include <QPixmap>

// The one icon every window of the program carries. Call it only once the
// QApplication exists: the icon is made of pixmaps.
namespace platform {

QIcon aelorinIcon();

// The icon at one size, as the version box shows it.
QPixmap aelorinIconPixmap(int size);

}  // namespace platform
