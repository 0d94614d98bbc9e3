#include "dialogs/frmPropTitle.h"

#include "labels/StyleChoices.h"
#include "labels/StyledLabel.h"
#include "dialogs/FormatDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

using namespace StyleChoices;

frmPropTitle::frmPropTitle(StyledLabel* target, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_label(target)
{
    setAttribute(Qt::WA_DeleteOnClose);
    formatparts::MakeFixedWindow(this, Caption, QSize(402, 322));
    createControls();
    connectHandlers();
    Form_Load();
    for (QButtonGroup* group : {m_colors, m_sizes, m_faces})
        formatparts::TabToSelectedOption(group);
}

void frmPropTitle::createControls()
{
    using formatparts::Frame;
    using formatparts::Option;

    fraColor = Frame(this, "fraColor", QStringLiteral("色"), {16, 16, 153, 113});
    m_colors = new QButtonGroup(fraColor);
    optRed = Option(fraColor, m_colors, 0, "optRed", QStringLiteral("赤"), {32, 24, 89, 17});
    optGreen = Option(fraColor, m_colors, 1, "optGreen", QStringLiteral("緑"), {32, 48, 81, 25});
    optBlue = Option(fraColor, m_colors, 2, "optBlue", QStringLiteral("青"), {32, 80, 97, 17});
    formatparts::PaintCaption(optRed, TitleColors[0]);
    formatparts::PaintCaption(optGreen, TitleColors[1]);
    formatparts::PaintCaption(optBlue, TitleColors[2]);

    fraSize = Frame(this, "fraSize", QStringLiteral("サイズ"), {208, 24, 145, 105});
    m_sizes = new QButtonGroup(fraSize);
    opt24 = Option(fraSize, m_sizes, 0, "opt24", QStringLiteral("２４"), {24, 24, 65, 17});
    opt26 = Option(fraSize, m_sizes, 1, "opt26", QStringLiteral("２６"), {24, 48, 65, 17});
    opt28 = Option(fraSize, m_sizes, 2, "opt28", QStringLiteral("２８"), {24, 72, 65, 17});

    fraFont = Frame(this, "fraFont", QStringLiteral("フォント"), {16, 176, 161, 121});
    m_faces = new QButtonGroup(fraFont);
    const auto faces = formatparts::FaceOptions(fraFont, m_faces);
    optPG = faces[0];
    optPM = faces[1];
    optG = faces[2];
    optM = faces[3];

    const auto boxes = formatparts::MakeStyleBoxes(this, 216, {192, 224, 256});
    chkBold = boxes.chkBold;
    chkItalic = boxes.chkItalic;
    chkUnder = boxes.chkUnder;

    for (QGroupBox* frame : {fraColor, fraSize, fraFont})
        frame->setFocusPolicy(Qt::NoFocus);
    QWidget* const order[] = {optRed, optGreen, optBlue, chkBold, chkItalic, chkUnder, opt24,
                              opt26,  opt28,    optPG,   optPM,   optG,      optM};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
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
    if (const int i = MatchColor(m_label->ForeColor(), TitleColors); i != NoOption)
        m_colors->button(i)->setChecked(true);
    if (const int i = MatchSize(m_label->style().SizeUnits, TitleSizeWindows); i != NoOption)
        m_sizes->button(i)->setChecked(true);
    if (const int i = MatchFace(m_label->FontName(), Faces()); i != NoOption)
        m_faces->button(i)->setChecked(true);

    // Checking a box inverts its attribute on the label, so each attribute found
    // on is off after this...
    if (m_label->FontBold())
        chkBold->setChecked(true);
    if (m_label->FontItalic())
        chkItalic->setChecked(true);
    if (m_label->FontUnderline())
        chkUnder->setChecked(true);
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
