#pragma once
#include "app/Flight.h"
#include "app/Services.h"
#include "labels/StyledLabel.h"
#include "rules/mdlAelor.h"
#include "widgets/PictureBox.h"

#include <QMainWindow>
#include <QMarginsF>
#include <QPointer>

#include <optional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class frmAbout;
class frmPropExpla;
class frmPropTitle;

// The main window: the display with the flying kite, the two labels, the motion
// settings panel and the menus, with the handlers a person drives the flight
// through. Every handler first runs the ticks that fell due before it.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    enum class LoadResult { Loaded, Refused, PictureFailed };

    explicit frmMain(const Services& services, QWidget* parent = nullptr);
    ~frmMain() override;

    // The whole start-up, run once before the window is first shown.
    LoadResult Form_Load();
    // The closing sequence, run when the user closes the window.
    void Form_Unload(int& Cancel);

    // The text of the failure that ended start-up, naming the file.
    QString loadError() const { return m_loadError; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tests reach the window's insides through this one door.
    friend class Probe;

    // Motion settings panel and start/stop.
    void cmdSet_Click();
    void cmdChange_Click();
    // Dragging and arrow keys.
    void picMain_MouseDown(int Button, int Shift, float X, float Y);
    void picMain_MouseMove(int Button, int Shift, float X, float Y);
    void picMain_MouseUp(int Button, int Shift, float X, float Y);
    void picMain_KeyDown(int KeyCode, int Shift);
    // Menus.
    void mnuNameItem_Click(int Index);
    void mnuBgmItem_Click(int Index);
    void mnuHelp_Click();
    void mnuVer_Click();

    // The program's directory, where the data files lie, and whether the music
    // is chosen: the window's own settings, not part of the flight.
    QString AppDir;
    std::int16_t BgmOn = mdlAelor::True;

    widgets::PictureBox* picMain = nullptr;
    StyledLabel* lblTitle = nullptr;
    StyledLabel* lblExpla = nullptr;
    QLabel* lblChange = nullptr;
    QPushButton* cmdChange = nullptr;
    QGroupBox* fraParam = nullptr;
    QLabel* lblHoriz = nullptr;
    QComboBox* cmbHoriz = nullptr;
    QLabel* lblVert = nullptr;
    QComboBox* cmbVert = nullptr;
    QLabel* lblInter = nullptr;
    QLineEdit* txtInter = nullptr;
    QPushButton* cmdSet = nullptr;
    // The flight and its timer timAnime, drawn on picMain.
    Flight* m_flight = nullptr;

    QMenu* mnuName = nullptr;
    QAction* mnuNameItem[2] = {};
    QMenu* mnuBgm = nullptr;
    QAction* mnuBgmItem[2] = {};
    QMenu* mnuInf = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuVer = nullptr;

    // The secondary windows, each at most once.
    QPointer<frmPropTitle> propTitle;
    QPointer<frmPropExpla> propExpla;
    QPointer<frmAbout> about;

    // Building the window, called once from the constructor.
    void createControls();
    void createDisplayAndLabels(QWidget* client);
    void createMotionPanel(QWidget* client);
    void setFocusOrder();
    void nameForScreenReaders();
    void connectControls();
    void createMenus();
    // The steps of Form_Load.
    void sizeAndCentre();
    void layoutControls();
    bool loadPictures();
    void rescaleFonts();
    void fillTexts();
    void centreOnScreen(QMarginsF frame);
    QMarginsF knownFrame() const;
    std::optional<QImage> loadPicture(const QString& file, QSize atLeast);
    // Closes the three secondary windows that are open, found by their captions.
    void closeSecondaryWindows();
    // The forced exit after the interval error was answered No.
    void forcedExit();
    void syncBgmMarks();
    // Tells the flight whether a person can see the window: not while it is
    // minimized or the platform reports it unexposed. Before it was first seen
    // it counts as seen, so that start-up holding the thread is a stall.
    void watchExposure();

    // What lblChange says while the kite flies and while it stands still.
    static inline const QString RunningCaption = QStringLiteral("作動中");
    static inline const QString StoppedCaption = QStringLiteral("停止中");

    Services m_services;
    QString m_loadError;
    bool m_shownOnce = false;
    bool m_seenOnce = false;
};

// A number as the settings fields show it: a space in the place of the sign of a
// non-negative number, a minus sign otherwise.
QString SignedText(long long value);
