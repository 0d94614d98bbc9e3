#pragma once
// What the two format dialogs share: a fixed window over one label, three frames
// of options (colour, size, typeface), the three style boxes, the opening step
// that selects what the label shows, and the Tab loop. Each dialog brings its own
// options in a layout table, and decides when a choice reaches the label.
#include "labels/StyleChoices.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class StyledLabel;

class FormatDialog : public QWidget {
    Q_OBJECT
public:
    // One option of the colour or size frame.
    struct OptionPlace {
        const char* name;
        QString caption;
        QRect geometry;                             // relative to its frame
        std::optional<std::uint32_t> captionColor;  // drawn in the colour it applies, when set
    };
    // Where a dialog's parts stand.
    struct Layout {
        QString caption;
        QSize client;
        QRect colorFrame;
        std::array<OptionPlace, 3> colors;
        QRect sizeFrame;
        std::array<OptionPlace, 3> sizes;
        QRect fontFrame;
        int boxesLeft;
        std::array<int, 3> boxTops;
    };

protected:
    // Builds the window and every shared part; nothing is selected yet.
    FormatDialog(StyledLabel* target, const Layout& layout, QWidget* parent);

    // Selects the first option of each group that shows the label's colour, size
    // and face, and checks the box of each attribute the label has. Whatever the
    // dialog has connected to the options and boxes runs as they change.
    void selectWhatTheLabelShows(std::span<const std::uint32_t> colors,
                                 std::span<const StyleChoices::SizeWindow> sizes);
    // Run last by each constructor: the Tab loop through colours, boxes, sizes,
    // faces and then `extra`, with Tab stopping only at each group's selected option.
    void finishOpening(std::initializer_list<QWidget*> extra = {});

    StyledLabel* m_label;
    QGroupBox* fraColor = nullptr;
    QGroupBox* fraSize = nullptr;
    QGroupBox* fraFont = nullptr;
    QButtonGroup* m_colors = nullptr;
    QButtonGroup* m_sizes = nullptr;
    QButtonGroup* m_faces = nullptr;
    std::array<QRadioButton*, 3> m_colorOptions{};
    std::array<QRadioButton*, 3> m_sizeOptions{};
    QRadioButton* optPG = nullptr;
    QRadioButton* optPM = nullptr;
    QRadioButton* optG = nullptr;
    QRadioButton* optM = nullptr;
    QCheckBox* chkBold = nullptr;
    QCheckBox* chkItalic = nullptr;
    QCheckBox* chkUnder = nullptr;
};
