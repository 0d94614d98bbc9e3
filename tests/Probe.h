#pragma once
// The one door through which tests reach the insides of the program's windows:
// each of these classes names Probe its friend, and nothing else sees past their
// public faces.
#include "app/frmMain.h"
#include "dialogs/FormatDialog.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "labels/StyledLabel.h"
#include "platform/AnimTimer.h"
#include "platform/PictureBox.h"
#include "rules/mdlAelor.h"

#include <QPointer>

#include <cstdint>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

class Probe {
public:
    // Main window: the flight state, the surfaces, the window's own settings and the timer.
    static mdlAelor::FlightState& st(frmMain& w) { return w.st; }
    static mdlAelor::Surfaces& surfaces(frmMain& w) { return w.surfaces; }
    static std::int16_t& BgmOn(frmMain& w) { return w.BgmOn; }
    static const QString& AppDir(frmMain& w) { return w.AppDir; }
    static platform::AnimTimer& timAnime(frmMain& w) { return w.timAnime; }
    static FramePresenter& presenter(frmMain& w) { return w.m_presenter; }

    // Main window: controls and menus.
    static platform::PictureBox* picMain(frmMain& w) { return w.picMain; }
    static StyledLabel* lblTitle(frmMain& w) { return w.lblTitle; }
    static StyledLabel* lblExpla(frmMain& w) { return w.lblExpla; }
    static QLabel* lblChange(frmMain& w) { return w.lblChange; }
    static QPushButton* cmdChange(frmMain& w) { return w.cmdChange; }
    static QGroupBox* fraParam(frmMain& w) { return w.fraParam; }
    static QLabel* lblHoriz(frmMain& w) { return w.lblHoriz; }
    static QComboBox* cmbHoriz(frmMain& w) { return w.cmbHoriz; }
    static QLabel* lblVert(frmMain& w) { return w.lblVert; }
    static QComboBox* cmbVert(frmMain& w) { return w.cmbVert; }
    static QLabel* lblInter(frmMain& w) { return w.lblInter; }
    static QLineEdit* txtInter(frmMain& w) { return w.txtInter; }
    static QPushButton* cmdSet(frmMain& w) { return w.cmdSet; }
    static QMenu* mnuName(frmMain& w) { return w.mnuName; }
    static QAction* (&mnuNameItem(frmMain& w))[2] { return w.mnuNameItem; }
    static QMenu* mnuBgm(frmMain& w) { return w.mnuBgm; }
    static QAction* (&mnuBgmItem(frmMain& w))[2] { return w.mnuBgmItem; }
    static QMenu* mnuInf(frmMain& w) { return w.mnuInf; }
    static QAction* mnuHelp(frmMain& w) { return w.mnuHelp; }
    static QAction* mnuVer(frmMain& w) { return w.mnuVer; }
    static QPointer<frmPropTitle>& propTitle(frmMain& w) { return w.propTitle; }
    static QPointer<frmPropExpla>& propExpla(frmMain& w) { return w.propExpla; }
    static QPointer<frmAbout>& about(frmMain& w) { return w.about; }

    // Main window: the handlers, called as the events call them.
    static void timAnime_Timer(frmMain& w) { w.timAnime_Timer(); }
    static void cmdSet_Click(frmMain& w) { w.cmdSet_Click(); }
    static void cmdChange_Click(frmMain& w) { w.cmdChange_Click(); }
    static void picMain_MouseDown(frmMain& w, int button, int shift, float x, float y)
    {
        w.picMain_MouseDown(button, shift, x, y);
    }
    static void picMain_MouseMove(frmMain& w, int button, int shift, float x, float y)
    {
        w.picMain_MouseMove(button, shift, x, y);
    }
    static void picMain_MouseUp(frmMain& w, int button, int shift, float x, float y)
    {
        w.picMain_MouseUp(button, shift, x, y);
    }
    static void picMain_KeyDown(frmMain& w, int keyCode, int shift) { w.picMain_KeyDown(keyCode, shift); }
    static void mnuNameItem_Click(frmMain& w, int index) { w.mnuNameItem_Click(index); }
    static void mnuBgmItem_Click(frmMain& w, int index) { w.mnuBgmItem_Click(index); }
    static void mnuHelp_Click(frmMain& w) { w.mnuHelp_Click(); }
    static void mnuVer_Click(frmMain& w) { w.mnuVer_Click(); }

    // Version box.
    static QPushButton* cmdOK(frmAbout& b) { return b.cmdOK; }
    static QLabel* picIcon(frmAbout& b) { return b.picIcon; }
    static StyledLabel* lblTitle(frmAbout& b) { return b.lblTitle; }
    static StyledLabel* lblVersion(frmAbout& b) { return b.lblVersion; }
    static StyledLabel* lblDescription(frmAbout& b) { return b.lblDescription; }

    // Format dialogs: the parts both have...
    static QGroupBox* fraColor(FormatDialog& d) { return d.fraColor; }
    static QGroupBox* fraSize(FormatDialog& d) { return d.fraSize; }
    static QGroupBox* fraFont(FormatDialog& d) { return d.fraFont; }
    static QRadioButton* optPG(FormatDialog& d) { return d.optPG; }
    static QRadioButton* optPM(FormatDialog& d) { return d.optPM; }
    static QRadioButton* optG(FormatDialog& d) { return d.optG; }
    static QRadioButton* optM(FormatDialog& d) { return d.optM; }
    static QCheckBox* chkBold(FormatDialog& d) { return d.chkBold; }
    static QCheckBox* chkItalic(FormatDialog& d) { return d.chkItalic; }
    static QCheckBox* chkUnder(FormatDialog& d) { return d.chkUnder; }
    // ...and each one's own.
    static QRadioButton* optGreen(frmPropTitle& d) { return d.optGreen; }
    static QRadioButton* optBlue(frmPropTitle& d) { return d.optBlue; }
    static QRadioButton* optRed(frmPropTitle& d) { return d.optRed; }
    static QRadioButton* opt24(frmPropTitle& d) { return d.opt24; }
    static QRadioButton* opt26(frmPropTitle& d) { return d.opt26; }
    static QRadioButton* opt28(frmPropTitle& d) { return d.opt28; }
    static QRadioButton* optBlack(frmPropExpla& d) { return d.optBlack; }
    static QRadioButton* optGreen(frmPropExpla& d) { return d.optGreen; }
    static QRadioButton* optBlue(frmPropExpla& d) { return d.optBlue; }
    static QRadioButton* opt8(frmPropExpla& d) { return d.opt8; }
    static QRadioButton* opt9(frmPropExpla& d) { return d.opt9; }
    static QRadioButton* opt10(frmPropExpla& d) { return d.opt10; }
    static QPushButton* cmdSet(frmPropExpla& d) { return d.cmdSet; }
};
