#include "widgets/PictureBox.h"

#include "rules/Raster.h"
#include "rules/Steering.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace widgets {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::Refresh()
{
    repaint();
}

void PictureBox::Refresh(const QRegion& changed)
{
    // A frame usually moves one small sprite: painting and sending the whole
    // picture to the X server for it would cost far more than the change.
    const QRegion onScreen = changed.translated(Border, Border) & drawingArea();
    if (!onScreen.isEmpty())
        repaint(onScreen);
}

QRect PictureBox::drawingArea() const
{
    return rect().adjusted(Border, Border, -Border, -Border);
}

QImage& PictureBox::image()
{
    if (m_image.size() == size())
        return m_image;
    QImage grown(size(), raster::SurfaceFormat);
    grown.fill(Qt::white);
    if (!m_image.isNull())
        raster::BitBlt(grown, 0, 0, m_image.width(), m_image.height(), m_image, 0, 0, raster::SRCCOPY);
    m_image = grown;
    return m_image;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect inner = drawingArea();
    const QImage& picture = image();
    for (const QRect& r : event->region()) {
        const QRect part = r & inner;
        if (!part.isEmpty())
            p.drawImage(part.topLeft(), picture, part.translated(-Border, -Border));
    }
    if (inner.contains(event->rect()))
        return;

    // The classic sunken edge: dark above and to the left, light below and to
    // the right. Filled rectangles, not lines, so that on a scaled screen the
    // edge covers whole pixels and never bleeds into the picture.
    const int w = width(), h = height();
    p.fillRect(0, 0, w - 1, 1, QColor(128, 128, 128));
    p.fillRect(0, 0, 1, h - 1, QColor(128, 128, 128));
    p.fillRect(1, 1, w - 3, 1, QColor(64, 64, 64));
    p.fillRect(1, 1, 1, h - 3, QColor(64, 64, 64));
    p.fillRect(0, h - 1, w, 1, QColor(255, 255, 255));
    p.fillRect(w - 1, 0, 1, h, QColor(255, 255, 255));
    p.fillRect(1, h - 2, w - 2, 1, QColor(212, 208, 200));
    p.fillRect(w - 2, 1, 1, h - 2, QColor(212, 208, 200));
}

// The drawing area's pixel under the pointer. On a scaled screen the pointer
// can rest between two of the display's pixels; the rules only ever see whole
// ones, as on an unscaled screen.
QPoint PictureBox::DrawingAreaPixel(QPointF widgetPos)
{
    return {static_cast<int>(std::floor(widgetPos.x())) - Border, static_cast<int>(std::floor(widgetPos.y())) - Border};
}

void PictureBox::mousePressEvent(QMouseEvent* e)
{
    const QPoint at = DrawingAreaPixel(e->position());
    // A press on the border is not a press on the picture: it takes hold of
    // nothing, even where a kite pushed past the edge lies under it.
    if (!QRect(QPoint(0, 0), size() - QSize(2 * Border, 2 * Border)).contains(at))
        return;
    emit MouseDown(ButtonCode(e->button()), ShiftMask(e->modifiers()), static_cast<float>(at.x()),
                   static_cast<float>(at.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint at = DrawingAreaPixel(e->position());
    emit MouseMove(ButtonCode(e->buttons()), ShiftMask(e->modifiers()), static_cast<float>(at.x()),
                   static_cast<float>(at.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint at = DrawingAreaPixel(e->position());
    emit MouseUp(ButtonCode(e->button()), ShiftMask(e->modifiers()), static_cast<float>(at.x()),
                 static_cast<float>(at.y()));
}

void PictureBox::keyPressEvent(QKeyEvent* e)
{
    emit KeyDown(KeyCode(e->key()), ShiftMask(e->modifiers()));
}

int ShiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

int ButtonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int KeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return Steering::KeyLeft;
    case Qt::Key_Up:
        return Steering::KeyUp;
    case Qt::Key_Right:
        return Steering::KeyRight;
    case Qt::Key_Down:
        return Steering::KeyDown;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    return 0;
}

}  // namespace widgets
