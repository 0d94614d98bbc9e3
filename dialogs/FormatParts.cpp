#include "dialogs/FormatParts.h"

#include "app/LabelStyle.h"
#include "platform/AppIcon.h"
#include "platform/Fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

namespace formatparts {

void MakeFixedWindow(QWidget* window, const QString& caption, QSize client)
{
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowTitle(caption);
    window->setWindowIcon(platform::aelorinIcon());
    window->setFixedSize(client);
}

QGroupBox* Frame(QWidget* window, const char* name, const QString& caption, QRect geometry)
{
    auto* frame = new QGroupBox(caption, window);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(geometry);
    return frame;
}

QRadioButton* Option(QGroupBox* frame, QButtonGroup* group, int id, const char* name, const QString& caption,
                     QRect geometry)
{
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(QString::fromLatin1(name));
    option->setGeometry(geometry);
    // Exclusive from the start: nothing is selected until the dialog loads, and
    // a user's click can select but never clear an option.
    group->addButton(option, id);
    return option;
}

void TabToSelectedOption(QButtonGroup* group)
{
    // Kept up with every change of selection, by a click, an arrow key or from
    // code: a stop left on the option selected before would take Tab back to it.
    auto follow = [group] {
        const QAbstractButton* selected = group->checkedButton();
        for (QAbstractButton* option : group->buttons()) {
            const int policy = option->focusPolicy();
            const bool stop = !selected || option == selected;
            option->setFocusPolicy(static_cast<Qt::FocusPolicy>(stop ? policy | Qt::TabFocus : policy & ~Qt::TabFocus));
        }
    };
    follow();
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
}

void PaintCaption(QAbstractButton* button, std::uint32_t color)
{
    const QColor c = DrawingColor(color, button->palette());
    QPalette pal = button->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, c);
        pal.setColor(group, QPalette::ButtonText, c);
    }
    button->setPalette(pal);
}

std::array<QRadioButton*, 4> FaceOptions(QGroupBox* fraFont, QButtonGroup* group)
{
    // The Mincho caption is written with half-width "MS" and an ideographic
    // space; the face it applies is the full-width name.
    std::array<QRadioButton*, 4> options = {
        Option(fraFont, group, 0, "optPG", QStringLiteral("ＭＳ Ｐゴシック"), {24, 16, 113, 17}),
        Option(fraFont, group, 1, "optPM", QStringLiteral("MS　Ｐ明朝"), {24, 40, 113, 17}),
        Option(fraFont, group, 2, "optG", QStringLiteral("ＭＳ ゴシック"), {24, 64, 113, 17}),
        Option(fraFont, group, 3, "optM", QStringLiteral("ＭＳ 明朝"), {24, 88, 113, 17}),
    };
    options[1]->setFont(QFont(platform::FacePMincho, 9));
    options[2]->setFont(QFont(platform::FaceGothic, 9));
    options[3]->setFont(QFont(platform::FaceMincho, 9));
    return options;
}

StyleBoxes MakeStyleBoxes(QWidget* window, int left, std::array<int, 3> tops)
{
    auto box = [window](const char* name, const QString& caption, QRect geometry) {
        auto* chk = new QCheckBox(caption, window);
        chk->setObjectName(QString::fromLatin1(name));
        chk->setGeometry(geometry);
        chk->setFont(QFont(platform::FacePGothic, 9));
        return chk;
    };
    StyleBoxes boxes{
        box("chkBold", QStringLiteral("太字"), {left, tops[0], 89, 17}),
        box("chkItalic", QStringLiteral("斜体"), {left, tops[1], 97, 17}),
        box("chkUnder", QStringLiteral("下線"), {left, tops[2], 105, 17}),
    };
    QFont bold = boxes.chkBold->font();
    bold.setWeight(QFont::Bold);
    boxes.chkBold->setFont(bold);
    QFont italic = boxes.chkItalic->font();
    italic.setItalic(true);
    boxes.chkItalic->setFont(italic);
    QFont underline = boxes.chkUnder->font();
    underline.setUnderline(true);
    boxes.chkUnder->setFont(underline);
    return boxes;
}

}  // namespace formatparts
