#pragma once
#include <QString>

class QWidget;

namespace platform {

// The program's own top-level window whose caption is exactly this text, or null.
QWidget* FindWindow(const QString& caption);

// Shows a window that may be hidden, minimised or behind others in front, with
// the focus, leaving its controls as they are.
void BringForward(QWidget* window);

}  // namespace platform
