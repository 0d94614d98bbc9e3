#pragma once
#include <QImage>
#include <QWidget>

namespace widgets {

// A visible picture box: a persistent image that keeps whatever is copied into it,
// shown inside a 2-pixel sunken border. The drawing area is the inside of that
// border, so pointer positions are reported relative to its inner top-left corner.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int Border = 2;

    explicit PictureBox(QWidget* parent = nullptr);

    // The persistent image, as large as the box's outer size.
    QImage& image();

    // Repaints at once from the persistent image: all of it, or only the part that
    // changed (in the image's coordinates; whatever lies outside the drawing area
    // is ignored).
    void Refresh();
    void Refresh(const QRegion& changed);

signals:
    // Button, modifier mask (Shift 1, Ctrl 2, Alt 4) and the drawing-area pixel,
    // always a whole one. Presses on the border are not reported; moves and
    // releases are, wherever they happen, so that a drag can always end.
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    // Key code (37 to 40 the arrow keys) and modifier mask.
    void KeyDown(int keyCode, int shift);

protected:
    // The picture box draws pictures and plain rectangles, never text: the
    // painter needs neither the widget's font, resolved anew for every paint,
    // nor its palette.
    void initPainter(QPainter*) const override { }
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static QPoint DrawingAreaPixel(QPointF widgetPos);
    QRect drawingArea() const;

    QImage m_image;
};

// Modifier mask of a pointer or key event: Shift 1, Ctrl 2, Alt 4.
int ShiftMask(Qt::KeyboardModifiers modifiers);
// Button code of a pointer event: left 1, right 2, middle 4.
int ButtonCode(Qt::MouseButtons buttons);
// Key code of a key: the arrows 37 (left), 38 (up), 39 (right), 40 (down); letters
// and digits their upper-case character; other keys a code that moves nothing.
int KeyCode(int qtKey);

}  // namespace widgets
