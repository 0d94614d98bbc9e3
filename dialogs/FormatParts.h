#pragma once
// Building blocks the two format dialogs share: the window frame, frames with
// their option groups, the four typeface options and the three style boxes,
// each with the caption font and colour it is shown in.
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace formatparts {

// A fixed, non-resizable top-level window with a minimize and a close box, no
// maximize box, the program's icon and a client area of exactly `client`.
void MakeFixedWindow(QWidget* window, const QString& caption, QSize client);

// A frame placed on the window; its children are placed relative to the frame's
// top-left outer corner.
QGroupBox* Frame(QWidget* window, const char* name, const QString& caption, QRect geometry);

// An option in a frame; the group keeps the options of one frame exclusive of
// each other and independent of other frames, with `id` its place in the group.
QRadioButton* Option(QGroupBox* frame, QButtonGroup* group, int id, const char* name, const QString& caption,
                     QRect geometry);

// Lets Tab stop in a group only at its selected option, whichever that is now,
// as it does once the focus has been in the group; a group with none selected
// keeps every stop.
void TabToSelectedOption(QButtonGroup* group);

// Draws a button's caption in a 0x00BBGGRR colour.
void PaintCaption(QAbstractButton* button, std::uint32_t color);

// The options optPG, optPM, optG, optM at their places in a font frame, in
// the order of the face table; each but the first shows its caption in its face.
std::array<QRadioButton*, 4> FaceOptions(QGroupBox* fraFont, QButtonGroup* group);

struct StyleBoxes {
    QCheckBox* chkBold;
    QCheckBox* chkItalic;
    QCheckBox* chkUnder;
};

// "太字", "斜体", "下線", one below the other at the given left edge and tops, each
// captioned in the proportional Gothic at 9 points in the style it names.
StyleBoxes MakeStyleBoxes(QWidget* window, int left, std::array<int, 3> tops);

}  // namespace formatparts
