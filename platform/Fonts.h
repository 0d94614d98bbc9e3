#pragma once
#include <QString>

namespace platform {

// The four Japanese face names the labels are styled with.
inline const QString FacePGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString FacePMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString FaceGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString FaceMincho = QStringLiteral("ＭＳ 明朝");

// Lets each face name render through the installed font of its kind, while a
// QFont keeps the face name it was given, and makes the proportional Gothic at
// 9 points the default font of every window, as on a Japanese desktop.
void InstallFonts();

}  // namespace platform
