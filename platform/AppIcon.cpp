#include "platform/AppIcon.h"

#include "data/artwork.h"

#include <QPixmap>

namespace platform {

QIcon aelorinIcon()
{
    // The 32 x 32 map is what title bars and the version box show; the
    // enlargements let task switchers and high-density screens show the same
    // pixels crisp instead of blurring the small one.
    QIcon icon;
    for (int size : {32, 64, 128, 256})
        icon.addPixmap(aelorinIconPixmap(size));
    return icon;
}

QPixmap aelorinIconPixmap(int size)
{
    return QPixmap::fromImage(Artwork::makeAppIcon(size));
}

}  // namespace platform
