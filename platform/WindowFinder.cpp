#include "platform/WindowFinder.h"

#include <QApplication>
#include <QWidget>

namespace platform {

QWidget* FindWindow(const QString& caption)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->isWindow() && w->windowTitle() == caption)
            return w;
    }
    return nullptr;
}

void BringForward(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace platform
