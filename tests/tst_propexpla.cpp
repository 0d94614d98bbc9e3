// The explanation format dialog: its window, what it selects on opening
// without touching the label, and "実行", which alone applies the choices.
#include "Probe.h"
#include "dialogsupport.h"

#include "dialogs/frmPropExpla.h"
#include "labels/StyledLabel.h"
#include "platform/AppIcon.h"
#include "platform/Fonts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

Q_DECLARE_METATYPE(LabelStyle)

namespace {

const QString PG = QStringLiteral("ＭＳ Ｐゴシック");
const QString PM = QStringLiteral("ＭＳ Ｐ明朝");
const QString G = QStringLiteral("ＭＳ ゴシック");
const QString M = QStringLiteral("ＭＳ 明朝");
constexpr std::uint32_t Black = 0x00000000;
constexpr std::uint32_t Green = 0x0000FF00;
constexpr std::uint32_t Blue = 0x00FF0000;
constexpr std::uint32_t System = LabelStyle::SystemButtonText;

// How the main window starts the explanation label on a 96-dpi screen.
LabelStyle StartStyle()
{
    return MakeStyle(System, 9.0, PG);
}

}  // namespace

class TestPropExpla : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowIsFixedWithCaptionAndIcon();
    void controlsArePlacedToThePixel_data();
    void controlsArePlacedToThePixel();
    void tabVisitsTheControlsInTableOrder();
    void captionsShowTheirColourFaceAndStyle();
    void openingSelectsWithoutWritingTheLabel_data();
    void openingSelectsWithoutWritingTheLabel();
    void choicesWaitForApply();
    void applyWritesTheChoices_data();
    void applyWritesTheChoices();
    void applyingTwiceChangesNothingFurther();
    void blackOnceAppliedIsSelectedNextTime();
    void closingWithoutApplyDropsTheChoices();
};

void TestPropExpla::initTestCase()
{
    platform::InstallFonts();
}

void TestPropExpla::windowIsFixedWithCaptionAndIcon()
{
    StyledLabel label;
    frmPropExpla dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("説明文の書式"));
    QVERIFY(dialog.isWindow());
    QCOMPARE(dialog.size(), QSize(352, 288));
    QCOMPARE(dialog.minimumSize(), QSize(352, 288));
    QCOMPARE(dialog.maximumSize(), QSize(352, 288));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog.windowIcon().pixmap(32).toImage(), platform::aelorinIcon().pixmap(32).toImage());
    QVERIFY(dialog.testAttribute(Qt::WA_DeleteOnClose));
}

// clang-format off
void TestPropExpla::controlsArePlacedToThePixel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inside");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    const QString window;
    QTest::newRow("fraColor") << "fraColor" << window << QRect(8, 8, 153, 113) << "色";
    QTest::newRow("optBlack") << "optBlack" << "fraColor" << QRect(32, 24, 97, 17) << "黒";
    QTest::newRow("optGreen") << "optGreen" << "fraColor" << QRect(32, 52, 97, 17) << "緑";
    QTest::newRow("optBlue") << "optBlue" << "fraColor" << QRect(32, 80, 97, 17) << "青";
    QTest::newRow("fraSize") << "fraSize" << window << QRect(192, 16, 145, 105) << "サイズ";
    QTest::newRow("opt8") << "opt8" << "fraSize" << QRect(24, 24, 65, 17) << "８";
    QTest::newRow("opt9") << "opt9" << "fraSize" << QRect(24, 48, 65, 17) << "９";
    QTest::newRow("opt10") << "opt10" << "fraSize" << QRect(24, 72, 65, 17) << "１０";
    QTest::newRow("fraFont") << "fraFont" << window << QRect(8, 144, 161, 121) << "フォント";
    QTest::newRow("optPG") << "optPG" << "fraFont" << QRect(24, 16, 113, 17) << "ＭＳ Ｐゴシック";
    QTest::newRow("optPM") << "optPM" << "fraFont" << QRect(24, 40, 113, 17) << "MS　Ｐ明朝";
    QTest::newRow("optG") << "optG" << "fraFont" << QRect(24, 64, 113, 17) << "ＭＳ ゴシック";
    QTest::newRow("optM") << "optM" << "fraFont" << QRect(24, 88, 113, 17) << "ＭＳ 明朝";
    QTest::newRow("chkBold") << "chkBold" << window << QRect(200, 152, 89, 17) << "太字";
    QTest::newRow("chkItalic") << "chkItalic" << window << QRect(200, 176, 97, 17) << "斜体";
    QTest::newRow("chkUnder") << "chkUnder" << window << QRect(200, 200, 105, 17) << "下線";
    QTest::newRow("cmdSet") << "cmdSet" << window << QRect(232, 240, 81, 25) << "実行";
}
// clang-format on

void TestPropExpla::controlsArePlacedToThePixel()
{
    QFETCH(QString, name);
    QFETCH(QString, inside);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    StyledLabel label;
    frmPropExpla dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QWidget* control = Control<QWidget>(&dialog, name);
    QWidget* expectedParent = inside.isEmpty() ? static_cast<QWidget*>(&dialog) : Control<QWidget>(&dialog, inside);
    QCOMPARE(control->parentWidget(), expectedParent);
    QCOMPARE(control->geometry(), geometry);
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        QCOMPARE(frame->title(), caption);
    else
        QCOMPARE(qobject_cast<QAbstractButton*>(control)->text(), caption);
}

void TestPropExpla::tabVisitsTheControlsInTableOrder()
{
    StyledLabel label;
    frmPropExpla dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList expected = {"optBlack", "optGreen", "optBlue", "chkBold", "chkItalic",
                                  "chkUnder", "opt8",     "opt9",    "opt10",   "optPG",
                                  "optPM",    "optG",     "optM",    "cmdSet",  "optBlack"};
    QCOMPARE(FocusChainFrom(Child<QRadioButton>(dialog, "optBlack"), 15), expected);
    for (QGroupBox* frame : {Child<QGroupBox>(dialog, "fraColor"), Child<QGroupBox>(dialog, "fraSize"),
                             Child<QGroupBox>(dialog, "fraFont")})
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
}

void TestPropExpla::captionsShowTheirColourFaceAndStyle()
{
    StyledLabel label;
    frmPropExpla dialog(&label);
    QCOMPARE(Child<QRadioButton>(dialog, "optGreen")->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    QCOMPARE(Child<QRadioButton>(dialog, "optBlue")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(Child<QRadioButton>(dialog, "optBlack")->palette().color(QPalette::WindowText),
             dialog.palette().color(QPalette::WindowText));

    QCOMPARE(Child<QRadioButton>(dialog, "optPM")->font().family(), PM);
    QCOMPARE(Child<QRadioButton>(dialog, "optG")->font().family(), G);
    QCOMPARE(Child<QRadioButton>(dialog, "optM")->font().family(), M);
    for (QRadioButton* option : {Child<QRadioButton>(dialog, "optPM"), Child<QRadioButton>(dialog, "optG"),
                                 Child<QRadioButton>(dialog, "optM")})
        QCOMPARE(option->font().pointSizeF(), 9.0);

    QCOMPARE(Child<QCheckBox>(dialog, "chkBold")->font().family(), PG);
    QCOMPARE(Child<QCheckBox>(dialog, "chkBold")->font().weight(), QFont::Bold);
    QVERIFY(Child<QCheckBox>(dialog, "chkItalic")->font().italic());
    QVERIFY(Child<QCheckBox>(dialog, "chkUnder")->font().underline());
}

// clang-format off
void TestPropExpla::openingSelectsWithoutWritingTheLabel_data()
{
    QTest::addColumn<LabelStyle>("label");
    QTest::addColumn<QStringList>("selected");
    QTest::newRow("start style: the system colour is not black")
        << StartStyle() << QStringList{"opt9", "optPG"};
    QTest::newRow("black") << MakeStyle(Black, 9.0, PG) << QStringList{"optBlack", "opt9", "optPG"};
    QTest::newRow("0x000000FE") << MakeStyle(0x000000FE, 9.0, PG) << QStringList{"opt9", "optPG"};

    QTest::newRow("8.49 selects ８") << MakeStyle(Black, 8.49, M) << QStringList{"optBlack", "opt8", "optM"};
    QTest::newRow("8.495 selects no size") << MakeStyle(Black, 8.495, M) << QStringList{"optBlack", "optM"};
    QTest::newRow("9.75 selects １０") << MakeStyle(Black, 9.75, M) << QStringList{"optBlack", "opt10", "optM"};
    QTest::newRow("10.5 selects no size") << MakeStyle(Black, 10.5, M) << QStringList{"optBlack", "optM"};

    QTest::newRow("proportional Mincho") << MakeStyle(Green, 10.0, PM) << QStringList{"optGreen", "opt10", "optPM"};
    QTest::newRow("half-width letters select no face")
        << MakeStyle(Green, 10.0, QStringLiteral("MS Pゴシック")) << QStringList{"optGreen", "opt10"};

    QTest::newRow("bold, italic and underline") << MakeStyle(Blue, 8.0, G, true, true, true)
                                                << QStringList{"optBlue", "opt8", "optG", "chkBold", "chkItalic",
                                                               "chkUnder"};
    QTest::newRow("italic alone") << MakeStyle(Blue, 8.0, G, false, true, false)
                                  << QStringList{"optBlue", "opt8", "optG", "chkItalic"};
}
// clang-format on

void TestPropExpla::openingSelectsWithoutWritingTheLabel()
{
    QFETCH(LabelStyle, label);
    QFETCH(QStringList, selected);
    StyledLabel lbl;
    lbl.setStyle(label);
    QSignalSpy changes(&lbl, &StyledLabel::styleChanged);
    frmPropExpla dialog(&lbl);
    QCOMPARE(CheckedControls(&dialog), selected);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(lbl.style(), label);
}

// Every option and box only records the choice; the label waits for "実行".
void TestPropExpla::choicesWaitForApply()
{
    StyledLabel label;
    label.setStyle(StartStyle());
    frmPropExpla dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy changes(&label, &StyledLabel::styleChanged);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             Child<QRadioButton>(dialog, "optBlack"), Child<QRadioButton>(dialog, "optGreen"),
             Child<QRadioButton>(dialog, "optBlue"), Child<QRadioButton>(dialog, "opt8"),
             Child<QRadioButton>(dialog, "opt10"), Child<QRadioButton>(dialog, "optPM"),
             Child<QRadioButton>(dialog, "optM"), Child<QCheckBox>(dialog, "chkBold"),
             Child<QCheckBox>(dialog, "chkItalic"), Child<QCheckBox>(dialog, "chkUnder")}) {
        ClickOn(b);
        QVERIFY2(b->isChecked(), qPrintable(b->objectName()));
    }
    QCOMPARE(changes.count(), 0);
    QCOMPARE(label.style(), StartStyle());

    ClickOn(Child<QPushButton>(dialog, "cmdSet"));
    QCOMPARE(label.style(), MakeStyle(Blue, 10.0, M, true, true, true));
}

// clang-format off
void TestPropExpla::applyWritesTheChoices_data()
{
    QTest::addColumn<LabelStyle>("before");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<LabelStyle>("after");
    QTest::newRow("nothing chosen keeps the system colour") << StartStyle() << QStringList{} << StartStyle();
    QTest::newRow("黒 sets black") << StartStyle() << QStringList{"optBlack"} << MakeStyle(Black, 9.0, PG);
    QTest::newRow("緑 ８ ＭＳ 明朝") << StartStyle() << QStringList{"optGreen", "opt8", "optM"}
                                   << MakeStyle(Green, 8.0, M);
    QTest::newRow("MS　Ｐ明朝 sets the full-width name")
        << StartStyle() << QStringList{"optPM"} << MakeStyle(System, 9.0, PM);
    QTest::newRow("ＭＳ ゴシック") << StartStyle() << QStringList{"optG"} << MakeStyle(System, 9.0, G);
    QTest::newRow("１０ from 8.495, which no option showed")
        << MakeStyle(Black, 8.495, PG) << QStringList{"opt10"} << MakeStyle(Black, 10.0, PG);
    QTest::newRow("no selection leaves colour, size and face unchanged")
        << MakeStyle(0x00123456, 8.495, QStringLiteral("Arial"), false, true, false) << QStringList{}
        << MakeStyle(0x00123456, 8.495, QStringLiteral("Arial"), false, true, false);
    QTest::newRow("unchecking 太字 turns bold off")
        << MakeStyle(Black, 9.0, PG, true, true, false) << QStringList{"chkBold"}
        << MakeStyle(Black, 9.0, PG, false, true, false);
    QTest::newRow("all three unchecked turn all off") << MakeStyle(Black, 9.0, PG, true, true, true)
                                                      << QStringList{"chkBold", "chkItalic", "chkUnder"}
                                                      << MakeStyle(Black, 9.0, PG);
    QTest::newRow("checking 下線 turns underline on")
        << StartStyle() << QStringList{"chkUnder"} << MakeStyle(System, 9.0, PG, false, false, true);
    QTest::newRow("the last option of a frame wins") << StartStyle() << QStringList{"optBlue", "optBlack", "opt10", "opt8"}
                                                     << MakeStyle(Black, 8.0, PG);
}
// clang-format on

void TestPropExpla::applyWritesTheChoices()
{
    QFETCH(LabelStyle, before);
    QFETCH(QStringList, clicks);
    QFETCH(LabelStyle, after);
    StyledLabel label;
    label.setStyle(before);
    frmPropExpla dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QString& name : clicks)
        ClickOn(Control<QAbstractButton>(&dialog, name));
    QCOMPARE(label.style(), before);

    const QStringList shown = CheckedControls(&dialog);
    ClickOn(Child<QPushButton>(dialog, "cmdSet"));
    QCOMPARE(label.style(), after);
    // The dialog stays open, its controls as they were.
    QVERIFY(dialog.isVisible());
    QCOMPARE(CheckedControls(&dialog), shown);
}

void TestPropExpla::applyingTwiceChangesNothingFurther()
{
    StyledLabel label;
    label.setStyle(StartStyle());
    frmPropExpla dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    ClickOn(Child<QRadioButton>(dialog, "optGreen"));
    ClickOn(Child<QRadioButton>(dialog, "opt10"));
    ClickOn(Child<QRadioButton>(dialog, "optG"));
    ClickOn(Child<QCheckBox>(dialog, "chkItalic"));
    ClickOn(Child<QPushButton>(dialog, "cmdSet"));
    const LabelStyle once = label.style();
    QCOMPARE(once, MakeStyle(Green, 10.0, G, false, true, false));
    ClickOn(Child<QPushButton>(dialog, "cmdSet"));
    QCOMPARE(label.style(), once);
}

// The start colour is a system colour: no option shows it and "実行" keeps it;
// once "黒" is applied the next opening shows "黒".
void TestPropExpla::blackOnceAppliedIsSelectedNextTime()
{
    StyledLabel label;
    label.setStyle(StartStyle());
    auto* first = new frmPropExpla(&label);
    first->show();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QVERIFY(!Child<QRadioButton>(*first, "optBlack")->isChecked());
    ClickOn(Child<QPushButton>(*first, "cmdSet"));
    QCOMPARE(label.ForeColor(), System);
    ClickOn(Child<QRadioButton>(*first, "optBlack"));
    ClickOn(Child<QPushButton>(*first, "cmdSet"));
    QCOMPARE(label.ForeColor(), Black);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    frmPropExpla second(&label);
    QCOMPARE(CheckedControls(&second), (QStringList{"optBlack", "opt9", "optPG"}));
}

void TestPropExpla::closingWithoutApplyDropsTheChoices()
{
    StyledLabel label;
    label.setStyle(StartStyle());
    auto* dialog = new frmPropExpla(&label);
    QPointer<frmPropExpla> alive(dialog);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    ClickOn(Child<QRadioButton>(*dialog, "optBlue"));
    ClickOn(Child<QCheckBox>(*dialog, "chkBold"));
    QVERIFY(dialog->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(alive.isNull());
    QCOMPARE(label.style(), StartStyle());

    // The next opening reads the label afresh.
    frmPropExpla again(&label);
    QCOMPARE(CheckedControls(&again), (QStringList{"opt9", "optPG"}));
}

QTEST_MAIN(TestPropExpla)
#include "tst_propexpla.moc"
