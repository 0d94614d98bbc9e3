#pragma once
#include <QString>

class QWidget;

namespace platform {

// The program's own top-level window whose caption is exactly this text, or null.
QWidget* FindWindow(const QString& caption);

}  // namespace platform
