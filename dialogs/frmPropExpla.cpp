#include "dialogs/frmPropExpla.h"

#include "labels/StyleChoices.h"
#include "labels/StyledLabel.h"
#include "dialogs/FormatDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

using namespace StyleChoices;

frmPropExpla::frmPropExpla(StyledLabel* target, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_label(target)
{
    setAttribute(Qt::WA_DeleteOnClose);
    formatparts::MakeFixedWindow(this, Caption, QSize(352, 288));
    createControls();
    connect(cmdSet, &QPushButton::clicked, this, &frmPropExpla::cmdSet_Click);
    Form_Load();
    for (QButtonGroup* group : {m_colors, m_sizes, m_faces})
        formatparts::TabToSelectedOption(group);
}

void frmPropExpla::createControls()
{
    using formatparts::Frame;
    using formatparts::Option;

    fraColor = Frame(this, "fraColor", QStringLiteral("色"), {8, 8, 153, 113});
    m_colors = new QButtonGroup(fraColor);
    optBlack = Option(fraColor, m_colors, 0, "optBlack", QStringLiteral("黒"), {32, 24, 97, 17});
    optGreen = Option(fraColor, m_colors, 1, "optGreen", QStringLiteral("緑"), {32, 52, 97, 17});
    optBlue = Option(fraColor, m_colors, 2, "optBlue", QStringLiteral("青"), {32, 80, 97, 17});
    // Black keeps the default text colour of the window.
    formatparts::PaintCaption(optGreen, ExplaColors[1]);
    formatparts::PaintCaption(optBlue, ExplaColors[2]);

    fraSize = Frame(this, "fraSize", QStringLiteral("サイズ"), {192, 16, 145, 105});
    m_sizes = new QButtonGroup(fraSize);
    opt8 = Option(fraSize, m_sizes, 0, "opt8", QStringLiteral("８"), {24, 24, 65, 17});
    opt9 = Option(fraSize, m_sizes, 1, "opt9", QStringLiteral("９"), {24, 48, 65, 17});
    opt10 = Option(fraSize, m_sizes, 2, "opt10", QStringLiteral("１０"), {24, 72, 65, 17});

    fraFont = Frame(this, "fraFont", QStringLiteral("フォント"), {8, 144, 161, 121});
    m_faces = new QButtonGroup(fraFont);
    const auto faces = formatparts::FaceOptions(fraFont, m_faces);
    optPG = faces[0];
    optPM = faces[1];
    optG = faces[2];
    optM = faces[3];

    const auto boxes = formatparts::MakeStyleBoxes(this, 200, {152, 176, 200});
    chkBold = boxes.chkBold;
    chkItalic = boxes.chkItalic;
    chkUnder = boxes.chkUnder;

    cmdSet = new QPushButton(QStringLiteral("実行"), this);
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    cmdSet->setGeometry(232, 240, 81, 25);

    for (QGroupBox* frame : {fraColor, fraSize, fraFont})
        frame->setFocusPolicy(Qt::NoFocus);
    QWidget* const order[] = {optBlack, optGreen, optBlue, chkBold, chkItalic, chkUnder, opt8,  opt9,
                              opt10,    optPG,    optPM,   optG,    optM,      cmdSet};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmPropExpla::Form_Load()
{
    if (const int i = MatchColor(m_label->ForeColor(), ExplaColors); i != NoOption)
        m_colors->button(i)->setChecked(true);
    if (const int i = MatchSize(m_label->style().SizeUnits, ExplaSizeWindows); i != NoOption)
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
