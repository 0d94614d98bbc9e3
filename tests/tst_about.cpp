// The version box: its texts and caption, its looks, and how the menu opens it
// once and how it closes.
#include "LoadedWindow.h"
#include "Probe.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "data/artwork.h"
#include "dialogs/frmAbout.h"
#include "labels/StyledLabel.h"
#include "platform/Fonts.h"
#include "platform/WindowFinder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

// The notice line is this program's own; the version box shows it below the version.
const QString Notice = QStringLiteral("どなたでも自由にお使いください");
const QString VersionLines = QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.0\r\n") + Notice;
const QString DescriptionLines =
    QStringLiteral("練習用に作ったプログラムです\r\n基本的な機能は使っています\r\n具体的には全く役に立ちません\r\n"
                   "バージョンも何もないと思うんですがね・・・");

QList<frmAbout*> OpenBoxes()
{
    QList<frmAbout*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<frmAbout*>(w); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

QImage Normalised(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Lets the deferred deletion of closed windows happen.
void Settle()
{
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestAbout : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void versionLineHasThreePlainNumbersAndTheNotice_data();
    void versionLineHasThreePlainNumbersAndTheNotice();
    void descriptionIsFourLinesJoinedByThreeLineBreaks();
    void captionIsTheTitleFollowedDirectlyByVersionInfo_data();
    void captionIsTheTitleFollowedDirectlyByVersionInfo();
    void formLoadFillsCaptionAndLabels();
    void windowSearchFindsTheBoxOnlyByItsExactCaption();
    void boxIsAFixedDialogPlacedWhereDesigned();
    void labelsCarryTheirFontsColourAndPlaces();
    void iconIsTheApplicationIconInItsPictureBox();
    void focusStartsOnOk();
    void okEnterEscAndCloseButtonCloseTheBox_data();
    void okEnterEscAndCloseButtonCloseTheBox();
    void secondChoiceShowsTheSameBoxWithoutLoadingAgain();
    void secondChoiceBringsAMinimisedBoxBack();
    void closedBoxIsBuiltAfreshOnTheNextChoice();
    void ctrlVOpensOneBoxWhicheverControlHasTheFocus();
    void boxIsModelessAndTheKiteKeepsFlying();
};

void TestAbout::initTestCase()
{
    platform::InstallFonts();
}

void TestAbout::cleanup()
{
    m_loaded.reset();
    for (frmAbout* box : OpenBoxes())
        delete box;
    Settle();
}

void TestAbout::versionLineHasThreePlainNumbersAndTheNotice_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("this program's 1.0.0") << 1 << 0 << 0 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.0");
    QTest::newRow("no leading zeros in two digits") << 1 << 5 << 12 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.5.12");
    QTest::newRow("a two-digit major") << 10 << 0 << 3 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 10.0.3");
    QTest::newRow("large revision") << 2 << 1 << 9999 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.1.9999");
}

void TestAbout::versionLineHasThreePlainNumbersAndTheNotice()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, firstLine);
    QCOMPARE(frmAbout::VersionText(major, minor, revision), firstLine + QStringLiteral("\r\n") + Notice);
}

// Four lines joined by three CR LF pairs, with nothing after the last.
void TestAbout::descriptionIsFourLinesJoinedByThreeLineBreaks()
{
    QCOMPARE(frmAbout::DescriptionText(), DescriptionLines);
}

// clang-format off
void TestAbout::captionIsTheTitleFollowedDirectlyByVersionInfo_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("this program") << QStringLiteral("Aelorin") << QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報");
    QTest::newRow("a title ending in a blank keeps it") << QStringLiteral("Kite ")
                                                        << QStringLiteral("Kite のﾊﾞｰｼﾞｮﾝ情報");
    QTest::newRow("an empty title") << QString() << QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報");
}
// clang-format on

void TestAbout::captionIsTheTitleFollowedDirectlyByVersionInfo()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QCOMPARE(frmAbout::CaptionFor(title), caption);
}

void TestAbout::formLoadFillsCaptionAndLabels()
{
    frmAbout box;
    QCOMPARE(box.windowTitle(), QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(Child<StyledLabel>(box, "lblTitle")->Caption(), QStringLiteral("Aelorin"));
    QCOMPARE(Child<StyledLabel>(box, "lblVersion")->Caption(), VersionLines);
    QCOMPARE(Child<StyledLabel>(box, "lblDescription")->Caption(), DescriptionLines);
    // The labels show the CR LF pairs as line breaks.
    QCOMPARE(Child<StyledLabel>(box, "lblVersion")->text().split(QLatin1Char('\n')).size(), 2);
    QCOMPARE(Child<StyledLabel>(box, "lblDescription")->text().split(QLatin1Char('\n')).size(), 4);
    QVERIFY(!Child<StyledLabel>(box, "lblDescription")->text().contains(QLatin1Char('\r')));
    QCOMPARE(Child<QPushButton>(box, "cmdOK")->text(), QStringLiteral("OK"));
}

void TestAbout::windowSearchFindsTheBoxOnlyByItsExactCaption()
{
    auto* box = new frmAbout();
    box->show();
    QCOMPARE(platform::FindWindow(QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報")), box);
    QCOMPARE(platform::FindWindow(QStringLiteral("Aelorin のﾊﾞｰｼﾞｮﾝ情報")), nullptr);
    QCOMPARE(platform::FindWindow(QStringLiteral("Aelorinのバージョン情報")), nullptr);
    box->close();
    Settle();
    QCOMPARE(platform::FindWindow(QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報")), nullptr);
}

void TestAbout::boxIsAFixedDialogPlacedWhereDesigned()
{
    frmAbout box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.geometry(), QRect(156, 129, 356, 250));
    QCOMPARE(box.minimumSize(), QSize(356, 250));
    QCOMPARE(box.maximumSize(), QSize(356, 250));
    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(box.windowType(), Qt::Dialog);
    QCOMPARE(box.parentWidget(), nullptr);
    QCOMPARE(box.windowModality(), Qt::NonModal);
    QCOMPARE(Child<QPushButton>(box, "cmdOK")->geometry(), QRect(132, 208, 92, 23));
    QVERIFY(Child<QPushButton>(box, "cmdOK")->isDefault());
}

void TestAbout::labelsCarryTheirFontsColourAndPlaces()
{
    frmAbout box;
    struct Expected {
        StyledLabel* label;
        QRect geometry;
        double size;
        bool bold;
        bool italic;
    };
    const Expected labels[] = {
        {Child<StyledLabel>(box, "lblDescription"), QRect(24, 128, 307, 70), 12.0, false, false},
        {Child<StyledLabel>(box, "lblTitle"), QRect(70, 16, 243, 55), 36.0, true, true},
        {Child<StyledLabel>(box, "lblVersion"), QRect(48, 80, 283, 33), 11.25, false, false},
    };
    for (const Expected& e : labels) {
        QCOMPARE(e.label->geometry(), e.geometry);
        QCOMPARE(e.label->FontName(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(e.label->FontSize(), e.size);
        QCOMPARE(e.label->font().pointSizeF(), e.size);
        QCOMPARE(e.label->FontBold(), e.bold);
        QCOMPARE(e.label->FontItalic(), e.italic);
        QVERIFY(!e.label->FontUnderline());
        QCOMPARE(e.label->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(Child<StyledLabel>(box, "lblTitle")->ForeColor(), 0x00C000C0u);
    QCOMPARE(Child<StyledLabel>(box, "lblTitle")->palette().color(QPalette::WindowText), QColor(192, 0, 192));
    // The others keep the system's text colour.
    QCOMPARE(Child<StyledLabel>(box, "lblVersion")->ForeColor(), LabelStyle::SystemButtonText);
    QCOMPARE(Child<StyledLabel>(box, "lblDescription")->ForeColor(), LabelStyle::SystemButtonText);
}

void TestAbout::iconIsTheApplicationIconInItsPictureBox()
{
    frmAbout box;
    QCOMPARE(Child<QLabel>(box, "picIcon")->geometry(), QRect(16, 24, 36, 36));
    QVERIFY(Child<QLabel>(box, "picIcon")->frameWidth() > 0);
    const QImage icon = Normalised(Artwork::makeAppIcon(32));
    QCOMPARE(Normalised(Child<QLabel>(box, "picIcon")->pixmap().toImage()), icon);
    QCOMPARE(Normalised(box.windowIcon().pixmap(32, 32).toImage()), icon);

    FakeWorld world;
    frmMain w(world.services());
    QCOMPARE(Normalised(w.windowIcon().pixmap(32, 32).toImage()), icon);
}

void TestAbout::focusStartsOnOk()
{
    auto* box = new frmAbout();
    box->show();
    QVERIFY(QTest::qWaitForWindowActive(box));
    QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(*box, "cmdOK"));
    // Tab goes nowhere else: the button is the only control that takes the focus.
    QTest::keyClick(box->windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(*box, "cmdOK"));
}

void TestAbout::okEnterEscAndCloseButtonCloseTheBox_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("clicking OK") << "click";
    QTest::newRow("Enter") << "return";
    QTest::newRow("Enter of the keypad") << "enter";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("the close button") << "close";
}

void TestAbout::okEnterEscAndCloseButtonCloseTheBox()
{
    QFETCH(QString, how);
    FakeWorld& world = m_loaded->world;
    frmMain& w = m_loaded->w;
    w.show();
    Child<QAction>(w, "mnuVer")->trigger();
    QVERIFY(Probe::about(w));
    frmAbout* box = Probe::about(w);
    QVERIFY(QTest::qWaitForWindowActive(box));

    if (how == QLatin1String("click"))
        QTest::mouseClick(Child<QPushButton>(*box, "cmdOK"), Qt::LeftButton);
    else if (how == QLatin1String("return"))
        QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    else if (how == QLatin1String("enter"))
        QTest::keyClick(box->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
    else
        box->windowHandle()->close();

    QTRY_VERIFY(!Probe::about(w));
    QVERIFY(OpenBoxes().isEmpty());
    QVERIFY(!platform::FindWindow(QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報")));
    // The main window is untouched.
    QVERIFY(w.isVisible());
    QVERIFY(world.msgbox.calls.isEmpty());
}

void TestAbout::secondChoiceShowsTheSameBoxWithoutLoadingAgain()
{
    frmMain& w = m_loaded->w;
    w.show();
    Child<QAction>(w, "mnuVer")->trigger();
    frmAbout* first = Probe::about(w);
    QVERIFY(first);
    // A loaded box would write its texts again.
    Child<StyledLabel>(*first, "lblVersion")->setCaption(QStringLiteral("changed"));
    first->setWindowTitle(QStringLiteral("changed caption"));

    Child<QAction>(w, "mnuVer")->trigger();
    QCOMPARE(Probe::about(w), first);
    QCOMPARE(OpenBoxes(), QList<frmAbout*>{first});
    QCOMPARE(Child<StyledLabel>(*first, "lblVersion")->Caption(), QStringLiteral("changed"));
    QCOMPARE(first->windowTitle(), QStringLiteral("changed caption"));
}

void TestAbout::secondChoiceBringsAMinimisedBoxBack()
{
    frmMain& w = m_loaded->w;
    Child<QAction>(w, "mnuVer")->trigger();
    frmAbout* box = Probe::about(w);
    box->showMinimized();
    QVERIFY(box->isMinimized());
    Child<QAction>(w, "mnuVer")->trigger();
    QCOMPARE(Probe::about(w), box);
    QVERIFY(!box->isMinimized());
    QVERIFY(box->isVisible());
}

void TestAbout::closedBoxIsBuiltAfreshOnTheNextChoice()
{
    frmMain& w = m_loaded->w;
    Child<QAction>(w, "mnuVer")->trigger();
    QPointer<frmAbout> first = Probe::about(w);
    Child<StyledLabel>(*first, "lblVersion")->setCaption(QStringLiteral("changed"));
    Child<QPushButton>(*first, "cmdOK")->click();

    // Chosen again before the closed box is gone: a new box all the same.
    Child<QAction>(w, "mnuVer")->trigger();
    QVERIFY(Probe::about(w));
    QVERIFY(Probe::about(w) != first.data());
    QCOMPARE(Child<StyledLabel>(*Probe::about(w), "lblVersion")->Caption(), VersionLines);
    QVERIFY(Probe::about(w)->isVisible());
    Settle();
    QVERIFY(first.isNull());
    QCOMPARE(OpenBoxes().size(), 1);

    Probe::about(w)->close();
    Settle();
    QVERIFY(!Probe::about(w));
    Child<QAction>(w, "mnuVer")->trigger();
    QVERIFY(Probe::about(w));
    QCOMPARE(Probe::about(w)->windowTitle(), QStringLiteral("Aelorinのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(Child<StyledLabel>(*Probe::about(w), "lblVersion")->Caption(), VersionLines);
}

void TestAbout::ctrlVOpensOneBoxWhicheverControlHasTheFocus()
{
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    frmAbout* box = nullptr;
    for (QWidget* control :
         std::initializer_list<QWidget*>{Child<widgets::PictureBox>(w, "picMain"), Child<QLineEdit>(w, "txtInter"),
                                         Child<QComboBox>(w, "cmbHoriz"), Child<QComboBox>(w, "cmbVert")}) {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        control->setFocus();
        QTest::keyClick(w.windowHandle(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(Probe::about(w), qPrintable(control->objectName()));
        if (!box)
            box = Probe::about(w);
        QCOMPARE(Probe::about(w), box);
        QCOMPARE(OpenBoxes().size(), 1);
    }
    // Nothing was pasted into the entries.
    QCOMPARE(Child<QLineEdit>(w, "txtInter")->text(), QStringLiteral(" 100"));
    QCOMPARE(Child<QComboBox>(w, "cmbHoriz")->currentText(), QStringLiteral(" 1"));
}

void TestAbout::boxIsModelessAndTheKiteKeepsFlying()
{
    frmMain& w = m_loaded->w;
    w.show();
    Child<QAction>(w, "mnuVer")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(Probe::about(w)));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(Probe::flight(w).timerEnabled());
    const std::int16_t frame = Probe::st(w).FrameNo;
    const std::int16_t x = Probe::st(w).KiteX;
    QTRY_VERIFY(Probe::st(w).FrameNo != frame && Probe::st(w).KiteX != x);
    // The main window's menus still answer while the box is open.
    Child<QAction>(w, "mnuBgmItem", 1)->trigger();
    QCOMPARE(Probe::BgmOn(w), mdlAelor::False);
    QVERIFY(Probe::about(w)->isVisible());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
