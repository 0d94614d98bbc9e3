// The title format dialog: its window, what it selects on opening, and how
// each click restyles the title label at once.
#include "Probe.h"
#include "dialogsupport.h"

#include "dialogs/frmPropTitle.h"
#include "labels/StyledLabel.h"
#include "platform/AppIcon.h"
#include "platform/Fonts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalSpy>

Q_DECLARE_METATYPE(LabelStyle)

namespace {

const QString PG = QStringLiteral("ＭＳ Ｐゴシック");
const QString PM = QStringLiteral("ＭＳ Ｐ明朝");
const QString G = QStringLiteral("ＭＳ ゴシック");
const QString M = QStringLiteral("ＭＳ 明朝");
constexpr std::uint32_t Red = 0x000000FF;
constexpr std::uint32_t Green = 0x0000FF00;
constexpr std::uint32_t Blue = 0x00FF0000;
constexpr std::uint32_t System = LabelStyle::SystemButtonText;

// A label no option shows, so that any write by a click stands out.
LabelStyle Unmatched()
{
    return MakeStyle(0x00123456, 20.0, QStringLiteral("Arial"));
}

}  // namespace

class TestPropTitle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowIsFixedWithCaptionAndIcon();
    void controlsArePlacedToThePixel_data();
    void controlsArePlacedToThePixel();
    void tabVisitsTheControlsInTableOrder();
    void tabStopsAtTheSelectedOptionOfEachFrame_data();
    void tabStopsAtTheSelectedOptionOfEachFrame();
    void captionsShowTheirColourFaceAndStyle();
    void openingSelectsWhatTheLabelShows_data();
    void openingSelectsWhatTheLabelShows();
    void eachClickRestylesTheLabelAtOnce_data();
    void eachClickRestylesTheLabelAtOnce();
    void boxInvertsTheLabelNotItsOwnState();
    void clickingBoldTwiceRestoresLabelAndBox_data();
    void clickingBoldTwiceRestoresLabelAndBox();
    void optionsOfOneFrameExcludeOnlyEachOther();
    void closingKeepsEveryChange();
};

void TestPropTitle::initTestCase()
{
    platform::InstallFonts();
}

void TestPropTitle::windowIsFixedWithCaptionAndIcon()
{
    StyledLabel label;
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("タイトルの書式"));
    QVERIFY(dialog.isWindow());
    QCOMPARE(dialog.size(), QSize(402, 322));
    QCOMPARE(dialog.minimumSize(), QSize(402, 322));
    QCOMPARE(dialog.maximumSize(), QSize(402, 322));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog.windowIcon().pixmap(32).toImage(), platform::aelorinIcon().pixmap(32).toImage());
    QVERIFY(dialog.testAttribute(Qt::WA_DeleteOnClose));
}

// clang-format off
void TestPropTitle::controlsArePlacedToThePixel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inside");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    const QString window;
    QTest::newRow("fraColor") << "fraColor" << window << QRect(16, 16, 153, 113) << "色";
    QTest::newRow("optRed") << "optRed" << "fraColor" << QRect(32, 24, 89, 17) << "赤";
    QTest::newRow("optGreen") << "optGreen" << "fraColor" << QRect(32, 48, 81, 25) << "緑";
    QTest::newRow("optBlue") << "optBlue" << "fraColor" << QRect(32, 80, 97, 17) << "青";
    QTest::newRow("fraSize") << "fraSize" << window << QRect(208, 24, 145, 105) << "サイズ";
    QTest::newRow("opt24") << "opt24" << "fraSize" << QRect(24, 24, 65, 17) << "２４";
    QTest::newRow("opt26") << "opt26" << "fraSize" << QRect(24, 48, 65, 17) << "２６";
    QTest::newRow("opt28") << "opt28" << "fraSize" << QRect(24, 72, 65, 17) << "２８";
    QTest::newRow("fraFont") << "fraFont" << window << QRect(16, 176, 161, 121) << "フォント";
    QTest::newRow("optPG") << "optPG" << "fraFont" << QRect(24, 16, 113, 17) << "ＭＳ Ｐゴシック";
    QTest::newRow("optPM") << "optPM" << "fraFont" << QRect(24, 40, 113, 17) << "MS　Ｐ明朝";
    QTest::newRow("optG") << "optG" << "fraFont" << QRect(24, 64, 113, 17) << "ＭＳ ゴシック";
    QTest::newRow("optM") << "optM" << "fraFont" << QRect(24, 88, 113, 17) << "ＭＳ 明朝";
    QTest::newRow("chkBold") << "chkBold" << window << QRect(216, 192, 89, 17) << "太字";
    QTest::newRow("chkItalic") << "chkItalic" << window << QRect(216, 224, 97, 17) << "斜体";
    QTest::newRow("chkUnder") << "chkUnder" << window << QRect(216, 256, 105, 17) << "下線";
}
// clang-format on

void TestPropTitle::controlsArePlacedToThePixel()
{
    QFETCH(QString, name);
    QFETCH(QString, inside);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    StyledLabel label;
    frmPropTitle dialog(&label);
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

void TestPropTitle::tabVisitsTheControlsInTableOrder()
{
    StyledLabel label;
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList expected = {"optRed", "optGreen", "optBlue", "chkBold", "chkItalic", "chkUnder", "opt24",
                                  "opt26",  "opt28",    "optPG",   "optPM",   "optG",      "optM",     "optRed"};
    QCOMPARE(FocusChainFrom(Child<QRadioButton>(dialog, "optRed"), 14), expected);
    for (QGroupBox* frame : {Child<QGroupBox>(dialog, "fraColor"), Child<QGroupBox>(dialog, "fraSize"),
                             Child<QGroupBox>(dialog, "fraFont")})
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
}

void TestPropTitle::tabStopsAtTheSelectedOptionOfEachFrame_data()
{
    QTest::addColumn<LabelStyle>("style");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("stops");
    QTest::newRow("an option selected in each frame")
        << MakeStyle(Green, 26.0, G) << "optGreen"
        << QStringList{"chkBold", "chkItalic", "chkUnder", "opt26", "optG", "optGreen"};
    // A colour that none of the options shows: Tab still enters the frame, at its first option.
    QTest::newRow("no colour selected") << MakeStyle(0x00123456, 26.0, G) << "chkUnder"
                                        << QStringList{"opt26", "optG", "optRed", "chkBold", "chkItalic", "chkUnder"};
}

// Tab stops once in each group of options, at the option selected.
void TestPropTitle::tabStopsAtTheSelectedOptionOfEachFrame()
{
    QFETCH(LabelStyle, style);
    QFETCH(QString, from);
    QFETCH(QStringList, stops);
    StyledLabel label;
    label.setStyle(style);
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Child<QWidget>(dialog, from)->setFocus();
    QCOMPARE(TabStops(&dialog, int(stops.size())), stops);
}

void TestPropTitle::captionsShowTheirColourFaceAndStyle()
{
    StyledLabel label;
    frmPropTitle dialog(&label);

    QCOMPARE(Child<QRadioButton>(dialog, "optRed")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(Child<QRadioButton>(dialog, "optGreen")->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    QCOMPARE(Child<QRadioButton>(dialog, "optBlue")->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // The Mincho caption's text differs from the face it is drawn in.
    QCOMPARE(Child<QRadioButton>(dialog, "optPM")->font().family(), PM);
    QCOMPARE(Child<QRadioButton>(dialog, "optG")->font().family(), G);
    QCOMPARE(Child<QRadioButton>(dialog, "optM")->font().family(), M);
    for (QRadioButton* option : {Child<QRadioButton>(dialog, "optPM"), Child<QRadioButton>(dialog, "optG"),
                                 Child<QRadioButton>(dialog, "optM")})
        QCOMPARE(option->font().pointSizeF(), 9.0);
    QCOMPARE(Child<QRadioButton>(dialog, "optPG")->font(), dialog.font());

    for (QCheckBox* box : {Child<QCheckBox>(dialog, "chkBold"), Child<QCheckBox>(dialog, "chkItalic"),
                           Child<QCheckBox>(dialog, "chkUnder")}) {
        QCOMPARE(box->font().family(), PG);
        QCOMPARE(box->font().pointSizeF(), 9.0);
    }
    QCOMPARE(Child<QCheckBox>(dialog, "chkBold")->font().weight(), QFont::Bold);
    QVERIFY(!Child<QCheckBox>(dialog, "chkBold")->font().italic()
            && !Child<QCheckBox>(dialog, "chkBold")->font().underline());
    QVERIFY(Child<QCheckBox>(dialog, "chkItalic")->font().italic());
    QCOMPARE(Child<QCheckBox>(dialog, "chkItalic")->font().weight(), QFont::Normal);
    QVERIFY(!Child<QCheckBox>(dialog, "chkItalic")->font().underline());
    QVERIFY(Child<QCheckBox>(dialog, "chkUnder")->font().underline());
    QCOMPARE(Child<QCheckBox>(dialog, "chkUnder")->font().weight(), QFont::Normal);
    QVERIFY(!Child<QCheckBox>(dialog, "chkUnder")->font().italic());

    // The red caption is really drawn red.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = Child<QRadioButton>(dialog, "optRed")->grab().toImage();
    bool redInk = false;
    for (int y = 0; y < shot.height() && !redInk; ++y) {
        for (int x = 0; x < shot.width() && !redInk; ++x) {
            const QColor c = shot.pixelColor(x, y);
            redInk = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    }
    QVERIFY(redInk);
}

// clang-format off
void TestPropTitle::openingSelectsWhatTheLabelShows_data()
{
    QTest::addColumn<LabelStyle>("before");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<LabelStyle>("after");

    const LabelStyle blueItalic = MakeStyle(Blue, 26.0, PG, false, true, false);
    QTest::newRow("blue 26 proportional Gothic italic")
        << blueItalic << QStringList{"optBlue", "opt26", "optPG", "chkItalic"} << blueItalic;

    QTest::newRow("26.25 snaps to 26") << MakeStyle(Red, 26.25, M) << QStringList{"optRed", "opt26", "optM"}
                                       << MakeStyle(Red, 26.0, M);
    QTest::newRow("23.5 snaps to 24") << MakeStyle(Green, 23.5, G) << QStringList{"optGreen", "opt24", "optG"}
                                      << MakeStyle(Green, 24.0, G);
    QTest::newRow("27.75 snaps to 28") << MakeStyle(Red, 27.75, PG) << QStringList{"optRed", "opt28", "optPG"}
                                       << MakeStyle(Red, 28.0, PG);
    QTest::newRow("25.0 selects no size and stays") << MakeStyle(Red, 25.0, PG) << QStringList{"optRed", "optPG"}
                                                    << MakeStyle(Red, 25.0, PG);

    QTest::newRow("the system colour selects no colour")
        << MakeStyle(System, 24.0, PG) << QStringList{"opt24", "optPG"} << MakeStyle(System, 24.0, PG);

    const QString ideographicSpace = QStringLiteral("ＭＳ　Ｐゴシック");
    QTest::newRow("an ideographic space selects no face")
        << MakeStyle(Red, 24.0, ideographicSpace) << QStringList{"optRed", "opt24"}
        << MakeStyle(Red, 24.0, ideographicSpace);

    QTest::newRow("all three attributes on stay on")
        << MakeStyle(Green, 28.0, G, true, true, true)
        << QStringList{"optGreen", "opt28", "optG", "chkBold", "chkItalic", "chkUnder"}
        << MakeStyle(Green, 28.0, G, true, true, true);
    QTest::newRow("bold and underline on, italic off")
        << MakeStyle(Green, 28.0, G, true, false, true) << QStringList{"optGreen", "opt28", "optG", "chkBold", "chkUnder"}
        << MakeStyle(Green, 28.0, G, true, false, true);
    QTest::newRow("nothing any option shows") << Unmatched() << QStringList{} << Unmatched();
}
// clang-format on

// Opening leaves the label as it was, except a size inside a window, which
// becomes the option's whole size.
void TestPropTitle::openingSelectsWhatTheLabelShows()
{
    QFETCH(LabelStyle, before);
    QFETCH(QStringList, selected);
    QFETCH(LabelStyle, after);
    StyledLabel label;
    label.setStyle(before);
    frmPropTitle dialog(&label);
    QCOMPARE(CheckedControls(&dialog), selected);
    QCOMPARE(label.style(), after);
}

void TestPropTitle::eachClickRestylesTheLabelAtOnce_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<LabelStyle>("after");
    auto with = [](auto change) {
        LabelStyle s = Unmatched();
        change(s);
        return s;
    };
    QTest::newRow("赤") << "optRed" << with([](LabelStyle& s) { s.ForeColor = Red; });
    QTest::newRow("緑") << "optGreen" << with([](LabelStyle& s) { s.ForeColor = Green; });
    QTest::newRow("青") << "optBlue" << with([](LabelStyle& s) { s.ForeColor = Blue; });
    QTest::newRow("２４") << "opt24" << with([](LabelStyle& s) { s.SizeUnits = 240000; });
    QTest::newRow("２６") << "opt26" << with([](LabelStyle& s) { s.SizeUnits = 260000; });
    QTest::newRow("２８") << "opt28" << with([](LabelStyle& s) { s.SizeUnits = 280000; });
    QTest::newRow("ＭＳ Ｐゴシック") << "optPG" << with([](LabelStyle& s) { s.Name = PG; });
    QTest::newRow("MS　Ｐ明朝 sets the full-width name") << "optPM" << with([](LabelStyle& s) { s.Name = PM; });
    QTest::newRow("ＭＳ ゴシック") << "optG" << with([](LabelStyle& s) { s.Name = G; });
    QTest::newRow("ＭＳ 明朝") << "optM" << with([](LabelStyle& s) { s.Name = M; });
    QTest::newRow("太字") << "chkBold" << with([](LabelStyle& s) { s.Bold = true; });
    QTest::newRow("斜体") << "chkItalic" << with([](LabelStyle& s) { s.Italic = true; });
    QTest::newRow("下線") << "chkUnder" << with([](LabelStyle& s) { s.Underline = true; });
}

// One click writes its one property and nothing else, without any further step.
void TestPropTitle::eachClickRestylesTheLabelAtOnce()
{
    QFETCH(QString, control);
    QFETCH(LabelStyle, after);
    StyledLabel label;
    label.setStyle(Unmatched());
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(label.style(), Unmatched());

    QAbstractButton* button = Control<QAbstractButton>(&dialog, control);
    QSignalSpy changes(&label, &StyledLabel::styleChanged);
    ClickOn(button);
    QVERIFY(button->isChecked());
    QCOMPARE(label.style(), after);
    QCOMPARE(changes.count(), 1);
}

// The box reads the label: when the two disagree, a click flips the label's
// attribute, not the box's idea of it.
void TestPropTitle::boxInvertsTheLabelNotItsOwnState()
{
    StyledLabel label;
    label.setStyle(Unmatched());
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    label.setFontBold(true);
    QVERIFY(!Child<QCheckBox>(dialog, "chkBold")->isChecked());

    ClickOn(Child<QCheckBox>(dialog, "chkBold"));
    QVERIFY(Child<QCheckBox>(dialog, "chkBold")->isChecked());
    QVERIFY(!label.FontBold());
}

void TestPropTitle::clickingBoldTwiceRestoresLabelAndBox_data()
{
    QTest::addColumn<bool>("boldBefore");
    QTest::addColumn<bool>("asDoubleClick");
    QTest::newRow("regular, two clicks") << false << false;
    QTest::newRow("bold, two clicks") << true << false;
    QTest::newRow("regular, double-click") << false << true;
    QTest::newRow("bold, double-click") << true << true;
}

void TestPropTitle::clickingBoldTwiceRestoresLabelAndBox()
{
    QFETCH(bool, boldBefore);
    QFETCH(bool, asDoubleClick);
    StyledLabel label;
    label.setStyle(MakeStyle(Red, 26.0, PG, boldBefore, true, false));
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const LabelStyle before = label.style();
    QCOMPARE(Child<QCheckBox>(dialog, "chkBold")->isChecked(), boldBefore);

    QSignalSpy boxChanges(Child<QCheckBox>(dialog, "chkBold"), &QCheckBox::toggled);
    if (asDoubleClick) {
        // Through the window, as the window system delivers it: press, release,
        // press, double-click, release.
        const QPoint at = Child<QCheckBox>(dialog, "chkBold")
                              ->mapTo(&dialog, QPoint(6, Child<QCheckBox>(dialog, "chkBold")->height() / 2));
        QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    } else {
        ClickOn(Child<QCheckBox>(dialog, "chkBold"));
        QCOMPARE(label.FontBold(), !boldBefore);
        ClickOn(Child<QCheckBox>(dialog, "chkBold"));
    }
    QCOMPARE(boxChanges.count(), 2);
    QCOMPARE(Child<QCheckBox>(dialog, "chkBold")->isChecked(), boldBefore);
    QCOMPARE(label.style(), before);
}

// Selecting in one frame clears the others of that frame only.
void TestPropTitle::optionsOfOneFrameExcludeOnlyEachOther()
{
    StyledLabel label;
    label.setStyle(MakeStyle(Red, 24.0, PG));
    frmPropTitle dialog(&label);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    ClickOn(Child<QRadioButton>(dialog, "optBlue"));
    ClickOn(Child<QRadioButton>(dialog, "opt28"));
    ClickOn(Child<QRadioButton>(dialog, "optM"));
    QCOMPARE(CheckedControls(&dialog), (QStringList{"optBlue", "opt28", "optM"}));
    QCOMPARE(label.style(), MakeStyle(Blue, 28.0, M));
}

void TestPropTitle::closingKeepsEveryChange()
{
    StyledLabel label;
    label.setStyle(MakeStyle(Red, 24.0, PG));
    auto* dialog = new frmPropTitle(&label);
    QPointer<frmPropTitle> alive(dialog);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    ClickOn(Child<QRadioButton>(*dialog, "optGreen"));
    ClickOn(Child<QRadioButton>(*dialog, "opt26"));
    ClickOn(Child<QRadioButton>(*dialog, "optG"));
    ClickOn(Child<QCheckBox>(*dialog, "chkUnder"));
    QVERIFY(dialog->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(alive.isNull());
    QCOMPARE(label.style(), MakeStyle(Green, 26.0, G, false, false, true));
}

QTEST_MAIN(TestPropTitle)
#include "tst_proptitle.moc"
