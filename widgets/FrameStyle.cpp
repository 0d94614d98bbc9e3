#include "widgets/FrameStyle.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace widgets {

namespace {

// The caption starts this far in from the frame's left edge, with a little
// room either side of the text where the line is broken.
constexpr int CaptionIndent = 8;
constexpr int CaptionPadding = 2;

}  // namespace

QRect FrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                 const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox))
        return QProxyStyle::subControlRect(control, option, sub, widget);

    const QFontMetrics& fm = box->fontMetrics;
    const int captionHeight = box->text.isEmpty() ? 0 : fm.height();
    const QRect frame = box->rect.adjusted(0, captionHeight / 2, 0, 0);
    switch (sub) {
    case SC_GroupBoxFrame:
        return frame;
    case SC_GroupBoxLabel: {
        const int width = fm.size(Qt::TextShowMnemonic, box->text).width() + 2 * CaptionPadding;
        return QRect(box->rect.left() + CaptionIndent, box->rect.top(), width, captionHeight);
    }
    case SC_GroupBoxContents:
        return box->rect.adjusted(2, qMax(captionHeight, 2), -2, -2);
    default:
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

void FrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                    const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }

    painter->save();
    // An etched line: a light one a pixel in and down, the dark one over it.
    const QRect frame = subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, widget);
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, -1, -1));
    painter->setPen(box->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -2, -2));

    if (!box->text.isEmpty()) {
        const QRect label = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
        painter->fillRect(label, box->palette.brush(QPalette::Window));
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        if (!styleHint(SH_UnderlineShortcut, box, widget))
            flags |= Qt::TextHideMnemonic;
        drawItemText(painter, label, flags, box->palette, box->state & State_Enabled, box->text, QPalette::WindowText);
    }
    painter->restore();
}

}  // namespace widgets
