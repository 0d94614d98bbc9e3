#include "platform/Fonts.h"

#include <QApplication>
#include <QFont>

namespace platform {

void InstallFonts()
{
    QFont::insertSubstitution(FacePGothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(FacePMincho, QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(FaceGothic, QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(FaceMincho, QStringLiteral("IPAMincho"));
    QApplication::setFont(QFont(FacePGothic, 9));
}

}  // namespace platform
