#pragma once
// How tests reach inside the program's windows. Controls are found the way Qt
// finds them, by their object names; what no control shows (the flight state,
// the surfaces the frames are composed on, the music flag, the animation timer
// and which secondary windows are open) goes through Probe, the one door the
// main window opens to tests.
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "labels/StyledLabel.h"
#include "platform/AnimTimer.h"
#include "rules/mdlAelor.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <cstdint>

// The control of this type and object name under a window; a name the window
// does not have ends the test program at once, naming it.
template <class T>
T* Child(const QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

template <class T>
T* Child(const QObject& window, const char* name)
{
    return Child<T>(window, QString::fromLatin1(name));
}

// One item of a menu's control array: "mnuBgmItem", 1 is the item named mnuBgmItem1.
template <class T>
T* Child(const QObject& window, const char* name, int index)
{
    return Child<T>(window, QString::fromLatin1(name) + QString::number(index));
}

// The label that names an entry, found as the label whose buddy it is.
inline QLabel* LabelFor(const QObject& window, const char* entry)
{
    const QWidget* control = Child<QWidget>(window, entry);
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return label;
    }
    qFatal("no label for %s", entry);
}

class Probe {
public:
    static mdlAelor::FlightState& st(frmMain& w) { return w.st; }
    static mdlAelor::Surfaces& surfaces(frmMain& w) { return w.surfaces; }
    static std::int16_t& BgmOn(frmMain& w) { return w.BgmOn; }
    static const QString& AppDir(frmMain& w) { return w.AppDir; }
    static platform::AnimTimer& timAnime(frmMain& w) { return w.timAnime; }
    static FramePresenter& presenter(frmMain& w) { return w.m_presenter; }
    // The timer's handler, called as a tick calls it.
    static void timAnime_Timer(frmMain& w) { w.timAnime_Timer(); }
    // The menus' control-array handlers, for indices that no item has.
    static void mnuNameItem_Click(frmMain& w, int index) { w.mnuNameItem_Click(index); }
    static void mnuBgmItem_Click(frmMain& w, int index) { w.mnuBgmItem_Click(index); }
    // The secondary windows the main window has open.
    static QPointer<frmPropTitle>& propTitle(frmMain& w) { return w.propTitle; }
    static QPointer<frmPropExpla>& propExpla(frmMain& w) { return w.propExpla; }
    static QPointer<frmAbout>& about(frmMain& w) { return w.about; }
};
