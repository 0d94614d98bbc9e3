#include "dialogs/frmPropExpla.h"

#include "labels/StyleChoices.h"
#include "labels/StyledLabel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

using namespace StyleChoices;

namespace {

// Black keeps the default text colour of the window.
const FormatDialog::Layout& ExplaLayout()
{
    static const FormatDialog::Layout layout = {
        frmPropExpla::Caption,
        {352, 288},
        {8, 8, 153, 113},
        {{{"optBlack", QStringLiteral("黒"), {32, 24, 97, 17}, {}},
          {"optGreen", QStringLiteral("緑"), {32, 52, 97, 17}, ExplaColors[1]},
          {"optBlue", QStringLiteral("青"), {32, 80, 97, 17}, ExplaColors[2]}}},
        {192, 16, 145, 105},
        {{{"opt8", QStringLiteral("８"), {24, 24, 65, 17}, {}},
          {"opt9", QStringLiteral("９"), {24, 48, 65, 17}, {}},
          {"opt10", QStringLiteral("１０"), {24, 72, 65, 17}, {}}}},
        {8, 144, 161, 121},
        200,
        {152, 176, 200},
    };
    return layout;
}

}  // namespace

frmPropExpla::frmPropExpla(StyledLabel* target, QWidget* parent)
    : FormatDialog(target, ExplaLayout(), parent)
{
    optBlack = m_colorOptions[0];
    optGreen = m_colorOptions[1];
    optBlue = m_colorOptions[2];
    opt8 = m_sizeOptions[0];
    opt9 = m_sizeOptions[1];
    opt10 = m_sizeOptions[2];
    cmdSet = new QPushButton(QStringLiteral("実行"), this);
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    cmdSet->setGeometry(232, 240, 81, 25);
    connect(cmdSet, &QPushButton::clicked, this, &frmPropExpla::cmdSet_Click);
    Form_Load();
    finishOpening({cmdSet});
}

void frmPropExpla::Form_Load()
{
    selectWhatTheLabelShows(ExplaColors, ExplaSizeWindows);
}

void frmPropExpla::cmdSet_Click()
{
    // A group with nothing selected leaves its property as it is; the three
    // attributes are always written from the boxes.
    if (const int i = m_colors->checkedId(); i != NoOption)
        m_label->setForeColor(ExplaColors[static_cast<std::size_t>(i)]);
    if (const int i = m_sizes->checkedId(); i != NoOption)
        m_label->setFontSize(ExplaSizes[static_cast<std::size_t>(i)]);
    if (const int i = m_faces->checkedId(); i != NoOption)
        m_label->setFontName(Faces()[static_cast<std::size_t>(i)]);
    m_label->setFontBold(chkBold->isChecked());
    m_label->setFontItalic(chkItalic->isChecked());
    m_label->setFontUnderline(chkUnder->isChecked());
}
