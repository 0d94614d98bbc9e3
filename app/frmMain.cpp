#include "app/frmMain.h"

#include "data/DataFiles.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/FrameExtents.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/PictureFile.h"
#include "platform/Sound.h"
#include "platform/WindowFinder.h"
#include "widgets/NamedComboBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace {

const QString Explanation = QStringLiteral("１　凧が空を舞います\r\n"
                                           "２　マウスでも動かせます\r\n"
                                           "３　矢印キーでも動かせます\r\n"
                                           "４　シフトキーを押しながらだと\r\n"
                                           "　　もっと速く動かせます");

using platform::PlayAndWait;
using platform::PlayLoop;

// Font size in points for a control designed at `designPoints` on a 96-dpi screen:
// the 16-bit product, divided in double precision and rounded down.
int RescaledPoints(int tx, int designPoints)
{
    const auto product = static_cast<std::int16_t>(tx * designPoints);
    return static_cast<int>(std::floor(static_cast<double>(product) / 15.0));
}

void SetPointSize(QWidget* w, int points)
{
    QFont f = w->font();
    f.setPointSize(points > 0 ? points : 1);
    w->setFont(f);
}

}  // namespace

QString SignedText(long long value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

frmMain::frmMain(const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setWindowTitle(platform::AppTitle);
    setWindowIcon(platform::aelorinIcon());
    // A fixed single border: a close box and a minimize box, no maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    createMenus();
    // timAnime is enabled from the moment the window is made.
    m_flight = new Flight(picMain, this);
}

frmMain::~frmMain()
{
    delete propTitle.data();
    delete propExpla.data();
    delete about.data();
}

void frmMain::createControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    createDisplayAndLabels(client);
    createMotionPanel(client);
    setFocusOrder();
    nameForScreenReaders();
    connectControls();
}

void frmMain::createDisplayAndLabels(QWidget* client)
{
    picMain = new widgets::PictureBox(client);
    picMain->setObjectName(QStringLiteral("picMain"));
    lblTitle = new StyledLabel(client);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    LabelStyle title = lblTitle->style();
    title.Name = platform::FacePGothic;
    title.Italic = true;
    title.Bold = false;
    title.ForeColor = LabelStyle::RGB(0, 0, 255);
    lblTitle->setStyle(title);
    lblExpla = new StyledLabel(client);
    lblExpla->setObjectName(QStringLiteral("lblExpla"));

    lblChange = new QLabel(client);
    lblChange->setObjectName(QStringLiteral("lblChange"));
    lblChange->setAlignment(Qt::AlignCenter);
    lblChange->setAutoFillBackground(true);
    QPalette pal = lblChange->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    lblChange->setPalette(pal);

    cmdChange = new QPushButton(QStringLiteral("開始/停止"), client);
    cmdChange->setObjectName(QStringLiteral("cmdChange"));
    cmdChange->setAutoDefault(false);
}

void frmMain::createMotionPanel(QWidget* client)
{
    fraParam = new QGroupBox(QStringLiteral("動きの調節"), client);
    fraParam->setObjectName(QStringLiteral("fraParam"));
    lblHoriz = new QLabel(QStringLiteral("左右方向"), fraParam);
    lblVert = new QLabel(QStringLiteral("上下方向"), fraParam);
    lblInter = new QLabel(QStringLiteral("間隔"), fraParam);
    const QStringList steps = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5"),
                               QStringLiteral("10")};
    widgets::AnnounceComboBoxesByName();
    cmbHoriz = new QComboBox(fraParam);
    cmbHoriz->setObjectName(QStringLiteral("cmbHoriz"));
    cmbVert = new QComboBox(fraParam);
    cmbVert->setObjectName(QStringLiteral("cmbVert"));
    for (QComboBox* cmb : {cmbHoriz, cmbVert}) {
        cmb->setEditable(true);
        cmb->setInsertPolicy(QComboBox::NoInsert);
        cmb->addItems(steps);
        cmb->setCurrentIndex(-1);
    }
    txtInter = new QLineEdit(fraParam);
    txtInter->setObjectName(QStringLiteral("txtInter"));
    // The interval box keeps the default face and size: pinned here, it does not
    // follow the frame's font when start-up rescales that.
    QFont defaultFont = QApplication::font(txtInter);
    defaultFont.setResolveMask(QFont::AllPropertiesResolved);
    txtInter->setFont(defaultFont);
    cmdSet = new QPushButton(QStringLiteral("OK"), fraParam);
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    cmdSet->setAutoDefault(false);
}

void frmMain::setFocusOrder()
{
    // Only the display, the buttons and the entries take the focus.
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblTitle, lblExpla, lblChange, fraParam, lblHoriz, lblVert, lblInter})
        w->setFocusPolicy(Qt::NoFocus);
    setTabOrder(picMain, cmdChange);
    setTabOrder(cmdChange, cmbHoriz);
    setTabOrder(cmbHoriz, cmbVert);
    setTabOrder(cmbVert, cmdSet);
    setTabOrder(cmdSet, txtInter);
}

void frmMain::nameForScreenReaders()
{
    // Screen readers name each control by the caption a sighted user reads
    // beside it; buttons and labels already speak their own captions.
    picMain->setAccessibleName(QStringLiteral("凧の表示"));
    picMain->setAccessibleDescription(
        QStringLiteral("矢印キーで凧を動かせます。シフトキーを押しながらだと速く動きます"));
    cmbHoriz->setAccessibleName(lblHoriz->text());
    cmbVert->setAccessibleName(lblVert->text());
    // A reader that enters the combo box's editor hears the same name.
    cmbHoriz->lineEdit()->setAccessibleName(lblHoriz->text());
    cmbVert->lineEdit()->setAccessibleName(lblVert->text());
    txtInter->setAccessibleName(lblInter->text());
    lblHoriz->setBuddy(cmbHoriz);
    lblVert->setBuddy(cmbVert);
    lblInter->setBuddy(txtInter);
}

void frmMain::connectControls()
{
    // The menu's shortcuts act whichever entry has the focus.
    for (QWidget* editor :
         std::initializer_list<QWidget*>{cmbHoriz, cmbHoriz->lineEdit(), cmbVert, cmbVert->lineEdit(), txtInter})
        editor->installEventFilter(this);

    connect(cmdSet, &QPushButton::clicked, this, &frmMain::cmdSet_Click);
    connect(cmdChange, &QPushButton::clicked, this, &frmMain::cmdChange_Click);
    connect(picMain, &widgets::PictureBox::MouseDown, this, &frmMain::picMain_MouseDown);
    connect(picMain, &widgets::PictureBox::MouseMove, this, &frmMain::picMain_MouseMove);
    connect(picMain, &widgets::PictureBox::MouseUp, this, &frmMain::picMain_MouseUp);
    connect(picMain, &widgets::PictureBox::KeyDown, this, &frmMain::picMain_KeyDown);
}

void frmMain::createMenus()
{
    auto item = [](QMenu* menu, const QString& caption, Qt::Key key, const char* name) {
        QAction* a = menu->addAction(caption);
        a->setShortcut(QKeyCombination(Qt::ControlModifier, key));
        a->setShortcutContext(Qt::WindowShortcut);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };

    mnuName = menuBar()->addMenu(QStringLiteral("文字(&N)"));
    mnuName->setObjectName(QStringLiteral("mnuName"));
    mnuNameItem[0] = item(mnuName, QStringLiteral("タイトル(&T)..."), Qt::Key_T, "mnuNameItem0");
    mnuNameItem[1] = item(mnuName, QStringLiteral("説明文(&S)..."), Qt::Key_S, "mnuNameItem1");

    mnuBgm = menuBar()->addMenu(QStringLiteral("ＢＧＭ(&B)"));
    mnuBgm->setObjectName(QStringLiteral("mnuBgm"));
    mnuBgmItem[0] = item(mnuBgm, QStringLiteral("演奏中(&P)"), Qt::Key_P, "mnuBgmItem0");
    mnuBgmItem[1] = item(mnuBgm, QStringLiteral("停止中(&N)"), Qt::Key_N, "mnuBgmItem1");
    for (QAction* a : mnuBgmItem)
        a->setCheckable(true);
    mnuBgmItem[0]->setChecked(true);

    mnuInf = menuBar()->addMenu(QStringLiteral("情報(&I)"));
    mnuInf->setObjectName(QStringLiteral("mnuInf"));
    mnuHelp = item(mnuInf, QStringLiteral("ヘルプ(&H)..."), Qt::Key_H, "mnuHelp");
    mnuVer = item(mnuInf, QStringLiteral("バージョン(&V)..."), Qt::Key_V, "mnuVer");

    for (int i = 0; i < 2; ++i) {
        connect(mnuNameItem[i], &QAction::triggered, this, [this, i] { mnuNameItem_Click(i); });
        connect(mnuBgmItem[i], &QAction::triggered, this, [this, i] { mnuBgmItem_Click(i); });
    }
    connect(mnuHelp, &QAction::triggered, this, &frmMain::mnuHelp_Click);
    connect(mnuVer, &QAction::triggered, this, &frmMain::mnuVer_Click);
}

// The marks follow the music alone: a choice that changes nothing puts back the
// mark its action has already toggled on itself.
void frmMain::syncBgmMarks()
{
    mnuBgmItem[0]->setChecked(BgmOn != 0);
    mnuBgmItem[1]->setChecked(BgmOn == 0);
}

// Start-up, in the order it must happen: nothing shows before the opening sound
// has been heard, and the window appears only once this returns Loaded.
frmMain::LoadResult frmMain::Form_Load()
{
    if (m_services.prevInstance && m_services.prevInstance()) {
        m_services.msgbox->MsgBox(QStringLiteral("二重起動はできません"), platform::vbCritical, QStringLiteral("警告"));
        return LoadResult::Refused;
    }
    AppDir = platform::AppDirFrom(m_services.programDir);
    sizeAndCentre();
    layoutControls();
    if (!loadPictures())
        return LoadResult::PictureFailed;
    rescaleFonts();
    m_flight->change() = mdlAelor::FlightState{};
    BgmOn = mdlAelor::True;
    fillTexts();
    // The opening sound is heard to its end before the music starts.
    m_services.sound->sndPlaySound(AppDir + QLatin1String(datafiles::Chime), PlayAndWait);
    m_services.sound->sndPlaySound(AppDir + QLatin1String(datafiles::Music), PlayLoop);
    picMain->setFocus();
    return LoadResult::Loaded;
}

// A 630 x 370 client area below the menu bar, whatever the border, caption and
// menu bar take, centred on the whole screen, not just its work area.
void frmMain::sizeAndCentre()
{
    centralWidget()->setFixedSize(630, 370);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    centreOnScreen(knownFrame());
}

bool frmMain::loadPictures()
{
    std::optional<QImage> kite =
        loadPicture(AppDir + QLatin1String(datafiles::Kite), {mdlAelor::SheetWidth, mdlAelor::SheetHeight});
    if (!kite)
        return false;
    std::optional<QImage> back =
        loadPicture(AppDir + QLatin1String(datafiles::Back), {mdlAelor::DisplayWidth, mdlAelor::DisplayHeight});
    if (!back)
        return false;
    m_flight->setPictures(std::move(*kite), std::move(*back));
    return true;
}

// Font sizes rescaled from the screen's pixel size in twips.
void frmMain::rescaleFonts()
{
    const int tx = platform::TwipsPerPixel(screen()->logicalDotsPerInchX());
    lblTitle->setFontSize(RescaledPoints(tx, 26));
    lblExpla->setFontSize(RescaledPoints(tx, 9));
    for (QWidget* w : std::initializer_list<QWidget*>{lblHoriz, lblVert, lblInter, lblChange, fraParam, cmdChange,
                                                      cmdSet, cmbHoriz, cmbVert})
        SetPointSize(w, RescaledPoints(tx, 9));
    // A combo box takes the height its font needs.
    for (QComboBox* cmb : {cmbHoriz, cmbVert})
        cmb->resize(cmb->width(), cmb->sizeHint().height());
}

// The labels' texts and the settings fields as the flight state has them.
void frmMain::fillTexts()
{
    lblTitle->setCaption(platform::AppTitle);
    lblExpla->setCaption(Explanation);
    lblChange->setText(RunningCaption);
    cmbHoriz->setEditText(SignedText(m_flight->st().StepX));
    cmbVert->setEditText(SignedText(m_flight->st().StepY));
    txtInter->setText(SignedText(m_flight->timerInterval()));
}

// Places the client area so that the outer frame, the client area grown by
// `frame`, is centred on the screen. The frame is given in the window's units,
// fractions included: on a 192-dpi desktop each of them is two screen pixels,
// and the window manager's one-pixel border half of one.
void frmMain::centreOnScreen(QMarginsF frame)
{
    const QRect screenRect = screen()->geometry();
    const QSizeF outer = QSizeF(size()).grownBy(frame);
    const QPoint client(screenRect.x() + qRound((screenRect.width() - outer.width()) / 2 + frame.left()),
                        screenRect.y() + qRound((screenRect.height() - outer.height()) / 2 + frame.top()));
    setGeometry(QRect(client, size()));
}

// The frame around the client area as far as Qt knows it yet.
QMarginsF frmMain::knownFrame() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return {qreal(inner.left() - outer.left()), qreal(inner.top() - outer.top()), qreal(outer.right() - inner.right()),
            qreal(outer.bottom() - inner.bottom())};
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The window manager's border and caption are known only some time after the
    // window is mapped; centre again with the true outer size once they are.
    if (!m_shownOnce) {
        m_shownOnce = true;
        centreOnScreen(knownFrame());
        platform::WhenFrameKnown(this, [this](QMarginsF frame) { centreOnScreen(frame); });
        // Whether the window can be seen arrives as expose events of its native window.
        windowHandle()->installEventFilter(this);
    }
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        watchExposure();
}

void frmMain::watchExposure()
{
    const QWindow* window = windowHandle();
    const bool seen = window && window->isExposed() && !isMinimized();
    m_seenOnce = m_seenOnce || seen;
    m_flight->setWatched(seen || !m_seenOnce);
}

void frmMain::layoutControls()
{
    // Children of the frame are placed in whole screen pixels of the frame.
    static_assert(mdlAelor::DisplayWidth == 380 && mdlAelor::DisplayHeight == 350,
                  "the display below is as large as the background it shows");
    picMain->setGeometry(10, 10, 380, 350);
    fraParam->setGeometry(400, 170, 220, 190);
    lblTitle->setGeometry(400, 10, 220, 40);
    lblExpla->setGeometry(410, 60, 220, 70);
    lblHoriz->setGeometry(30, 30, 60, 20);
    lblVert->setGeometry(30, 70, 60, 20);
    lblInter->setGeometry(30, 110, 60, 20);
    lblChange->setGeometry(440, 140, 50, 20);
    cmdChange->setGeometry(530, 135, 70, 30);
    cmdSet->setGeometry(80, 150, 50, 30);
    cmbHoriz->setGeometry(110, 30, 60, cmbHoriz->sizeHint().height());
    cmbVert->setGeometry(110, 70, 60, cmbVert->sizeHint().height());
    txtInter->setGeometry(110, 110, 60, 20);
}

std::optional<QImage> frmMain::loadPicture(const QString& file, QSize atLeast)
{
    const platform::PictureLoad loaded = platform::LoadPicture(file, atLeast);
    if (!loaded.ok()) {
        const QString reason = platform::PictureReason(loaded);
        m_loadError = QStringLiteral("画像ファイルを読み込めません。\r\n%1\r\n(%2)").arg(file, reason);
        qCWarning(lcAelorin, "cannot load picture %s: %s", qUtf8Printable(file), qUtf8Printable(reason));
        m_services.msgbox->MsgBox(m_loadError, platform::vbCritical, platform::AppTitle);
        return std::nullopt;
    }
    return loaded.value;
}

void frmMain::closeSecondaryWindows()
{
    if (platform::FindWindow(frmPropTitle::Caption) && propTitle)
        propTitle->close();
    if (platform::FindWindow(frmPropExpla::Caption) && propExpla)
        propExpla->close();
    if (platform::FindWindow(frmAbout::CaptionFor(platform::AppTitle)) && about)
        about->close();
}

void frmMain::Form_Unload(int& Cancel)
{
    closeSecondaryWindows();
    if (BgmOn) {
        m_services.sound->sndPlaySound(std::nullopt, PlayLoop);
        m_services.sound->sndPlaySound(AppDir + QLatin1String(datafiles::Chime), PlayAndWait);
    }
    Cancel = 0;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void frmMain::forcedExit()
{
    m_services.msgbox->MsgBox(QStringLiteral("ふざけるな！\r\nお前みたいな奴にはいじらせない！！"), platform::vbOKOnly,
                              QStringLiteral("怒"));
    closeSecondaryWindows();
    if (BgmOn)
        m_services.sound->sndPlaySound(std::nullopt, PlayLoop);
    m_services.end(0);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    // By now the native window knows whether it is exposed.
    if (event->type() == QEvent::Expose && watched == windowHandle())
        watchExposure();
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* a : {mnuNameItem[0], mnuNameItem[1], mnuBgmItem[0], mnuBgmItem[1], mnuHelp, mnuVer}) {
            if (a->shortcut() == pressed) {
                // Refuse the editor's claim, so the menu's shortcut fires.
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
