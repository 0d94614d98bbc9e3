#pragma once
#include <QMarginsF>

#include <functional>

class QWidget;

namespace platform {

// Calls `known` once, from the event loop, with the border and title the window
// manager has put around `window`, as soon as the manager publishes them, in
// the window's own units (the manager gives screen pixels, of which a window
// on a 192-dpi desktop has two to its unit). They
// arrive some time after the window is mapped, later than its first show event,
// so a window placed by its outer size has to wait for them. Call it before the
// window is mapped. Nothing happens where no manager publishes its frames.
void WhenFrameKnown(QWidget* window, std::function<void(QMarginsF)> known);

}  // namespace platform
