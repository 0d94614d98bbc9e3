#include "dialogs/frmAbout.h"

#include "labels/StyledLabel.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Client area size and its place on the screen: the box opens where it was
// designed, not centred.
constexpr int ClientLeft = 156;
constexpr int ClientTop = 129;
constexpr int ClientWidth = 356;
constexpr int ClientHeight = 250;

LabelStyle LabelFont(double points, bool bold, bool italic)
{
    LabelStyle style;
    style.Name = platform::FacePGothic;
    style.setSize(points);
    style.Bold = bold;
    style.Italic = italic;
    return style;
}

}  // namespace

const QString frmAbout::NoticeLine = QStringLiteral("どなたでも自由にお使いください");

QString frmAbout::VersionText(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QString::number(major) + QLatin1Char('.') + QString::number(minor)
           + QLatin1Char('.') + QString::number(revision) + CrLf + NoticeLine;
}

QString frmAbout::DescriptionText()
{
    return QStringList{
        QStringLiteral("練習用に作ったプログラムです"),
        QStringLiteral("基本的な機能は使っています"),
        QStringLiteral("具体的には全く役に立ちません"),
        QStringLiteral("バージョンも何もないと思うんですがね・・・"),
    }
        .join(CrLf);
}

frmAbout::frmAbout(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    // A fixed dialog frame: a close button, neither minimise nor maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(platform::aelorinIcon());
    createControls();
    setFixedSize(ClientWidth, ClientHeight);
    // The geometry of a window excludes its frame: this places the client area.
    setGeometry(ClientLeft, ClientTop, ClientWidth, ClientHeight);
    Form_Load();
}

void frmAbout::createControls()
{
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(132, 208, 92, 23);
    cmdOK->setDefault(true);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setPixmap(platform::aelorinIconPixmap(32));
    picIcon->setGeometry(16, 24, 36, 36);

    lblDescription = new StyledLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setStyle(LabelFont(12, false, false));
    lblDescription->setGeometry(24, 128, 307, 70);

    lblTitle = new StyledLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    LabelStyle title = LabelFont(36, true, true);
    title.ForeColor = LabelStyle::RGB(192, 0, 192);
    lblTitle->setStyle(title);
    lblTitle->setGeometry(70, 16, 243, 55);

    lblVersion = new StyledLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setStyle(LabelFont(11.25, false, false));
    lblVersion->setGeometry(48, 80, 283, 33);

    // Only the button takes the focus, so Enter and Esc always reach it.
    for (QWidget* w : std::initializer_list<QWidget*>{picIcon, lblDescription, lblTitle, lblVersion})
        w->setFocusPolicy(Qt::NoFocus);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

// Runs once per box, when it is built; showing the box again does not repeat it.
void frmAbout::Form_Load()
{
    setWindowTitle(CaptionFor(platform::AppTitle));
    lblVersion->setCaption(VersionText(platform::AppMajor, platform::AppMinor, platform::AppRevision));
    lblTitle->setCaption(platform::AppTitle);
    lblDescription->setCaption(DescriptionText());
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // The button is both the default and the cancel button: Enter and Esc press
    // it wherever they arrive in the box.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        cmdOK->click();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void frmAbout::closeEvent(QCloseEvent* event)
{
    m_unloaded = true;
    QWidget::closeEvent(event);
}
