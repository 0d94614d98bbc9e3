#pragma once
#include <QProxyStyle>

namespace widgets {

// The application's style with one change: a frame (QGroupBox) draws its
// caption on its top line, the line broken behind the text, instead of above
// it. The windows place a frame's children from the frame's top edge on the
// understanding that only half the caption's height lies above the line.
class FrameStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

}  // namespace widgets
