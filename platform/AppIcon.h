#pragma once

#include <QIcon>

// The one icon every window of the program carries. Call it only once the
// QApplication exists: the icon is made of pixmaps.
namespace platform {

QIcon aelorinIcon();

}  // namespace platform
