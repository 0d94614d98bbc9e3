#include "dialogs/FormatDialog.h"

#include "labels/LabelStyle.h"
#include "labels/StyledLabel.h"
#include "platform/AppIcon.h"
#include "platform/Fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include <vector>

using namespace StyleChoices;

namespace {

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

// Lets Tab stop in a group only at its selected option, whichever that is now,
// as it does once the focus has been in the group; a group with none selected
// keeps every stop.
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

// Draws a button's caption in a 0x00BBGGRR colour.
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

QCheckBox* StyleBox(QWidget* window, const char* name, const QString& caption, QRect geometry)
{
    auto* box = new QCheckBox(caption, window);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setFont(QFont(platform::FacePGothic, 9));
    return box;
}

}  // namespace

FormatDialog::FormatDialog(StyledLabel* target, const Layout& layout, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_label(target)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Fixed and not resizable: a minimize and a close box, no maximize box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(layout.caption);
    setWindowIcon(platform::aelorinIcon());
    setFixedSize(layout.client);

    auto options = [](QGroupBox* frame, QButtonGroup* group, const std::array<OptionPlace, 3>& places) {
        std::array<QRadioButton*, 3> made{};
        for (std::size_t i = 0; i < places.size(); ++i) {
            const OptionPlace& place = places[i];
            made[i] = Option(frame, group, static_cast<int>(i), place.name, place.caption, place.geometry);
            if (place.captionColor)
                PaintCaption(made[i], *place.captionColor);
        }
        return made;
    };
    fraColor = Frame(this, "fraColor", QStringLiteral("色"), layout.colorFrame);
    m_colors = new QButtonGroup(fraColor);
    m_colorOptions = options(fraColor, m_colors, layout.colors);

    fraSize = Frame(this, "fraSize", QStringLiteral("サイズ"), layout.sizeFrame);
    m_sizes = new QButtonGroup(fraSize);
    m_sizeOptions = options(fraSize, m_sizes, layout.sizes);

    // The faces stand at the same places in both dialogs. The Mincho caption is
    // written with half-width "MS" and an ideographic space; the face it applies
    // is the full-width name. Each but the first shows its caption in its face.
    fraFont = Frame(this, "fraFont", QStringLiteral("フォント"), layout.fontFrame);
    m_faces = new QButtonGroup(fraFont);
    optPG = Option(fraFont, m_faces, 0, "optPG", QStringLiteral("ＭＳ Ｐゴシック"), {24, 16, 113, 17});
    optPM = Option(fraFont, m_faces, 1, "optPM", QStringLiteral("MS　Ｐ明朝"), {24, 40, 113, 17});
    optG = Option(fraFont, m_faces, 2, "optG", QStringLiteral("ＭＳ ゴシック"), {24, 64, 113, 17});
    optM = Option(fraFont, m_faces, 3, "optM", QStringLiteral("ＭＳ 明朝"), {24, 88, 113, 17});
    optPM->setFont(QFont(platform::FacePMincho, 9));
    optG->setFont(QFont(platform::FaceGothic, 9));
    optM->setFont(QFont(platform::FaceMincho, 9));

    // "太字", "斜体", "下線", one below the other, each captioned in the
    // proportional Gothic at 9 points in the style it names.
    const int left = layout.boxesLeft;
    chkBold = StyleBox(this, "chkBold", QStringLiteral("太字"), {left, layout.boxTops[0], 89, 17});
    chkItalic = StyleBox(this, "chkItalic", QStringLiteral("斜体"), {left, layout.boxTops[1], 97, 17});
    chkUnder = StyleBox(this, "chkUnder", QStringLiteral("下線"), {left, layout.boxTops[2], 105, 17});
    QFont bold = chkBold->font();
    bold.setWeight(QFont::Bold);
    chkBold->setFont(bold);
    QFont italic = chkItalic->font();
    italic.setItalic(true);
    chkItalic->setFont(italic);
    QFont underline = chkUnder->font();
    underline.setUnderline(true);
    chkUnder->setFont(underline);
}

void FormatDialog::selectWhatTheLabelShows(std::span<const std::uint32_t> colors, std::span<const SizeWindow> sizes)
{
    if (const int i = MatchColor(m_label->ForeColor(), colors); i != NoOption)
        m_colors->button(i)->setChecked(true);
    if (const int i = MatchSize(m_label->style().SizeUnits, sizes); i != NoOption)
        m_sizes->button(i)->setChecked(true);
    if (const int i = MatchFace(m_label->FontName(), Faces()); i != NoOption)
        m_faces->button(i)->setChecked(true);
    if (m_label->FontBold())
        chkBold->setChecked(true);
    if (m_label->FontItalic())
        chkItalic->setChecked(true);
    if (m_label->FontUnderline())
        chkUnder->setChecked(true);
}

void FormatDialog::finishOpening(std::initializer_list<QWidget*> extra)
{
    for (QGroupBox* frame : {fraColor, fraSize, fraFont})
        frame->setFocusPolicy(Qt::NoFocus);
    std::vector<QWidget*> order(m_colorOptions.begin(), m_colorOptions.end());
    order.insert(order.end(), {chkBold, chkItalic, chkUnder});
    order.insert(order.end(), m_sizeOptions.begin(), m_sizeOptions.end());
    order.insert(order.end(), {optPG, optPM, optG, optM});
    order.insert(order.end(), extra.begin(), extra.end());
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QButtonGroup* group : {m_colors, m_sizes, m_faces})
        TabToSelectedOption(group);
}
