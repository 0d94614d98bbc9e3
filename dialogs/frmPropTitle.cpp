#include "dialogs/frmPropTitle.h"

#include "labels/StyleChoices.h"
#include "labels/StyledLabel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

using namespace StyleChoices;

namespace {

const FormatDialog::Layout& TitleLayout()
{
    static const FormatDialog::Layout layout = {
        frmPropTitle::Caption,
        {402, 322},
        {16, 16, 153, 113},
        {{{"optRed", QStringLiteral("赤"), {32, 24, 89, 17}, TitleColors[0]},
          {"optGreen", QStringLiteral("緑"), {32, 48, 81, 25}, TitleColors[1]},
          {"optBlue", QStringLiteral("青"), {32, 80, 97, 17}, TitleColors[2]}}},
        {208, 24, 145, 105},
        {{{"opt24", QStringLiteral("２４"), {24, 24, 65, 17}, {}},
          {"opt26", QStringLiteral("２６"), {24, 48, 65, 17}, {}},
          {"opt28", QStringLiteral("２８"), {24, 72, 65, 17}, {}}}},
        {16, 176, 161, 121},
        216,
        {192, 224, 256},
    };
    return layout;
}

}  // namespace

frmPropTitle::frmPropTitle(StyledLabel* target, QWidget* parent)
    : FormatDialog(target, TitleLayout(), parent)
{
    optRed = m_colorOptions[0];
    optGreen = m_colorOptions[1];
    optBlue = m_colorOptions[2];
    opt24 = m_sizeOptions[0];
    opt26 = m_sizeOptions[1];
    opt28 = m_sizeOptions[2];
    connectHandlers();
    Form_Load();
    finishOpening();
}

void frmPropTitle::connectHandlers()
{
    // An option's handler runs when it becomes selected, by a click or from code;
    // a box's handler runs whenever its state changes, either way.
    auto onSelect = [this](QRadioButton* option, void (frmPropTitle::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    onSelect(optRed, &frmPropTitle::optRed_Click);
    onSelect(optGreen, &frmPropTitle::optGreen_Click);
    onSelect(optBlue, &frmPropTitle::optBlue_Click);
    onSelect(opt24, &frmPropTitle::opt24_Click);
    onSelect(opt26, &frmPropTitle::opt26_Click);
    onSelect(opt28, &frmPropTitle::opt28_Click);
    onSelect(optPG, &frmPropTitle::optPG_Click);
    onSelect(optPM, &frmPropTitle::optPM_Click);
    onSelect(optG, &frmPropTitle::optG_Click);
    onSelect(optM, &frmPropTitle::optM_Click);
    connect(chkBold, &QCheckBox::toggled, this, &frmPropTitle::chkBold_Click);
    connect(chkItalic, &QCheckBox::toggled, this, &frmPropTitle::chkItalic_Click);
    connect(chkUnder, &QCheckBox::toggled, this, &frmPropTitle::chkUnder_Click);
}

void frmPropTitle::Form_Load()
{
    // Selecting an option here runs its handler, which writes back the colour or
    // face just read and turns a size inside a window into the option's whole size.
    // Checking a box inverts its attribute on the label, so each attribute found
    // on is off after this...
    selectWhatTheLabelShows(TitleColors, TitleSizeWindows);
    // ...and is turned on again here, so the label keeps its attributes.
    if (chkBold->isChecked())
        m_label->setFontBold(true);
    if (chkItalic->isChecked())
        m_label->setFontItalic(true);
    if (chkUnder->isChecked())
        m_label->setFontUnderline(true);
}

void frmPropTitle::optRed_Click()
{
    m_label->setForeColor(TitleColors[0]);
}

void frmPropTitle::optGreen_Click()
{
    m_label->setForeColor(TitleColors[1]);
}

void frmPropTitle::optBlue_Click()
{
    m_label->setForeColor(TitleColors[2]);
}

void frmPropTitle::opt24_Click()
{
    m_label->setFontSize(TitleSizes[0]);
}

void frmPropTitle::opt26_Click()
{
    m_label->setFontSize(TitleSizes[1]);
}

void frmPropTitle::opt28_Click()
{
    m_label->setFontSize(TitleSizes[2]);
}

void frmPropTitle::optPG_Click()
{
    m_label->setFontName(Faces()[0]);
}

void frmPropTitle::optPM_Click()
{
    m_label->setFontName(Faces()[1]);
}

void frmPropTitle::optG_Click()
{
    m_label->setFontName(Faces()[2]);
}

void frmPropTitle::optM_Click()
{
    m_label->setFontName(Faces()[3]);
}

// The boxes invert the label's own attribute rather than copy the box: a click
// flips both, so they stay in step.
void frmPropTitle::chkBold_Click()
{
    m_label->setFontBold(!m_label->FontBold());
}

void frmPropTitle::chkItalic_Click()
{
    m_label->setFontItalic(!m_label->FontItalic());
}

void frmPropTitle::chkUnder_Click()
{
    m_label->setFontUnderline(!m_label->FontUnderline());
}
