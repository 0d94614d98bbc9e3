// The menu "文字(&N)": it opens each format dialog once, on its own label, as
// a window of its own beside the main window.
#include "LoadedWindow.h"
#include "Probe.h"
#include "dialogsupport.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "platform/AppIcon.h"
#include "platform/Fonts.h"
#include "platform/WindowFinder.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

QWidget* OpenDialog(frmMain& w, int index)
{
    return index == 0 ? static_cast<QWidget*>(Probe::propTitle(w)) : static_cast<QWidget*>(Probe::propExpla(w));
}

void DestroyClosed()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestFormatMenu : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void itemOpensItsDialogAsItsOwnWindow_data();
    void itemOpensItsDialogAsItsOwnWindow();
    void openingTheTitleDialogOnTheStartStyleChangesNothing();
    void choosingAgainOnlyBringsTheDialogForward_data();
    void choosingAgainOnlyBringsTheDialogForward();
    void closingDestroysAndTheNextOpeningReadsAfresh_data();
    void closingDestroysAndTheNextOpeningReadsAfresh();
    void bothDialogsOpenTogetherWithoutCrosstalk();
    void closingTheMainWindowClosesBothDialogs();
};

void TestFormatMenu::initTestCase()
{
    platform::InstallFonts();
}

void TestFormatMenu::itemOpensItsDialogAsItsOwnWindow_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::newRow("タイトル(&T)...") << 0 << QStringLiteral("タイトルの書式");
    QTest::newRow("説明文(&S)...") << 1 << QStringLiteral("説明文の書式");
}

void TestFormatMenu::itemOpensItsDialogAsItsOwnWindow()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    Child<QAction>(w, "mnuNameItem", index)->trigger();
    QWidget* dialog = OpenDialog(w, index);
    QVERIFY(dialog);
    QVERIFY(!OpenDialog(w, 1 - index));
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(platform::FindWindow(caption), dialog);
    QVERIFY(dialog->isWindow());
    QCOMPARE(dialog->parentWidget(), nullptr);
    QCOMPARE(dialog->windowModality(), Qt::NonModal);
    QCOMPARE(dialog->windowIcon().pixmap(32).toImage(), platform::aelorinIcon().pixmap(32).toImage());
    // The main window goes on: no modal window, the flight still runs.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(Probe::flight(w).timerEnabled());
    QVERIFY(w.isEnabled());
}

void TestFormatMenu::openingTheTitleDialogOnTheStartStyleChangesNothing()
{
    frmMain& w = m_loaded->w;
    const LabelStyle title = Child<StyledLabel>(w, "lblTitle")->style();
    const LabelStyle expla = Child<StyledLabel>(w, "lblExpla")->style();
    Child<QAction>(w, "mnuNameItem", 0)->trigger();
    Child<QAction>(w, "mnuNameItem", 1)->trigger();
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->style(), title);
    QCOMPARE(Child<StyledLabel>(w, "lblExpla")->style(), expla);
    QCOMPARE(CheckedControls(Probe::propTitle(w)), (QStringList{"optBlue", "opt26", "optPG", "chkItalic"}));
}

void TestFormatMenu::choosingAgainOnlyBringsTheDialogForward_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("title") << 0;
    QTest::newRow("explanation") << 1;
}

// No second dialog and no fresh load: a label changed behind the dialog's back
// stays as it is (a load would snap 26.25 or select the new colour), and the
// choices made in the dialog stay shown.
void TestFormatMenu::choosingAgainOnlyBringsTheDialogForward()
{
    QFETCH(int, index);
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    StyledLabel* label = index == 0 ? Child<StyledLabel>(w, "lblTitle") : Child<StyledLabel>(w, "lblExpla");

    Child<QAction>(w, "mnuNameItem", index)->trigger();
    QWidget* dialog = OpenDialog(w, index);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const char* picked = index == 0 ? "optRed" : "optGreen";
    ClickOn(Control<QAbstractButton>(dialog, QString::fromLatin1(picked)));
    ClickOn(Control<QAbstractButton>(dialog, QStringLiteral("chkUnder")));
    const QStringList shown = CheckedControls(dialog);

    label->setForeColor(0x00FF0000);
    label->setFontSize(index == 0 ? 26.25 : 9.75);
    const LabelStyle behindItsBack = label->style();
    // Another window in front, and this one minimized.
    Child<QAction>(w, "mnuNameItem", 1 - index)->trigger();
    QWidget* other = OpenDialog(w, 1 - index);
    QVERIFY(QTest::qWaitForWindowActive(other));
    dialog->showMinimized();

    QSignalSpy titleChanges(Child<StyledLabel>(w, "lblTitle"), &StyledLabel::styleChanged);
    QSignalSpy explaChanges(Child<StyledLabel>(w, "lblExpla"), &StyledLabel::styleChanged);
    const auto windows = QApplication::topLevelWidgets().size();
    Child<QAction>(w, "mnuNameItem", index)->trigger();

    QCOMPARE(OpenDialog(w, index), dialog);
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    QCOMPARE(titleChanges.count(), 0);
    QCOMPARE(explaChanges.count(), 0);
    QCOMPARE(label->style(), behindItsBack);
    QCOMPARE(CheckedControls(dialog), shown);
    QVERIFY(!dialog->isMinimized());
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

void TestFormatMenu::closingDestroysAndTheNextOpeningReadsAfresh_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("size");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<double>("sizeAfterOpening");
    QTest::newRow("title") << 0 << 27.75 << QStringList{"optGreen", "opt28", "optG"} << 28.0;
    QTest::newRow("explanation") << 1 << 8.25 << QStringList{"optGreen", "opt8", "optG"} << 8.25;
}

void TestFormatMenu::closingDestroysAndTheNextOpeningReadsAfresh()
{
    QFETCH(int, index);
    QFETCH(double, size);
    QFETCH(QStringList, selected);
    QFETCH(double, sizeAfterOpening);
    frmMain& w = m_loaded->w;
    StyledLabel* label = index == 0 ? Child<StyledLabel>(w, "lblTitle") : Child<StyledLabel>(w, "lblExpla");

    Child<QAction>(w, "mnuNameItem", index)->trigger();
    QPointer<QWidget> first = OpenDialog(w, index);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QVERIFY(first->close());
    DestroyClosed();
    QVERIFY(first.isNull());
    QVERIFY(!OpenDialog(w, index));

    label->setStyle(MakeStyle(0x0000FF00, size, QStringLiteral("ＭＳ ゴシック")));
    Child<QAction>(w, "mnuNameItem", index)->trigger();
    QWidget* second = OpenDialog(w, index);
    QVERIFY(second);
    QCOMPARE(CheckedControls(second), selected);
    QCOMPARE(label->FontSize(), sizeAfterOpening);
}

void TestFormatMenu::bothDialogsOpenTogetherWithoutCrosstalk()
{
    frmMain& w = m_loaded->w;
    w.show();
    Child<QAction>(w, "mnuNameItem", 0)->trigger();
    Child<QAction>(w, "mnuNameItem", 1)->trigger();
    frmPropTitle* title = Probe::propTitle(w);
    frmPropExpla* expla = Probe::propExpla(w);
    QVERIFY(title && expla);
    QVERIFY(QTest::qWaitForWindowExposed(title));
    QVERIFY(QTest::qWaitForWindowExposed(expla));
    QVERIFY(title->isVisible() && expla->isVisible());

    const LabelStyle explaBefore = Child<StyledLabel>(w, "lblExpla")->style();
    QSignalSpy explaChanges(Child<StyledLabel>(w, "lblExpla"), &StyledLabel::styleChanged);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             Child<QRadioButton>(*title, "optGreen"), Child<QRadioButton>(*title, "opt28"),
             Child<QRadioButton>(*title, "optM"), Child<QCheckBox>(*title, "chkBold"),
             Child<QCheckBox>(*title, "chkUnder")})
        ClickOn(b);
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->style(),
             MakeStyle(0x0000FF00, 28.0, QStringLiteral("ＭＳ 明朝"), true, true, true));
    QCOMPARE(explaChanges.count(), 0);
    QCOMPARE(Child<StyledLabel>(w, "lblExpla")->style(), explaBefore);
    // The explanation dialog's controls did not follow the title's.
    QCOMPARE(CheckedControls(expla), (QStringList{"opt9", "optPG"}));

    const LabelStyle titleBefore = Child<StyledLabel>(w, "lblTitle")->style();
    QSignalSpy titleChanges(Child<StyledLabel>(w, "lblTitle"), &StyledLabel::styleChanged);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             Child<QRadioButton>(*expla, "optBlue"), Child<QRadioButton>(*expla, "opt10"),
             Child<QRadioButton>(*expla, "optPM"), Child<QCheckBox>(*expla, "chkItalic"),
             Child<QPushButton>(*expla, "cmdSet")})
        ClickOn(b);
    QCOMPARE(Child<StyledLabel>(w, "lblExpla")->style(),
             MakeStyle(0x00FF0000, 10.0, QStringLiteral("ＭＳ Ｐ明朝"), false, true, false));
    QCOMPARE(titleChanges.count(), 0);
    QCOMPARE(Child<StyledLabel>(w, "lblTitle")->style(), titleBefore);
    QCOMPARE(CheckedControls(title), (QStringList{"optGreen", "opt28", "optM", "chkBold", "chkItalic", "chkUnder"}));
}

void TestFormatMenu::closingTheMainWindowClosesBothDialogs()
{
    frmMain& w = m_loaded->w;
    w.show();
    Child<QAction>(w, "mnuNameItem", 0)->trigger();
    Child<QAction>(w, "mnuNameItem", 1)->trigger();
    QVERIFY(platform::FindWindow(QStringLiteral("タイトルの書式")));
    QVERIFY(platform::FindWindow(QStringLiteral("説明文の書式")));
    QVERIFY(w.close());
    DestroyClosed();
    QVERIFY(!Probe::propTitle(w));
    QVERIFY(!Probe::propExpla(w));
    QVERIFY(!platform::FindWindow(QStringLiteral("タイトルの書式")));
    QVERIFY(!platform::FindWindow(QStringLiteral("説明文の書式")));
}

QTEST_MAIN(TestFormatMenu)
#include "tst_formatmenu.moc"
