#pragma once
// How tests reach inside the program's windows. Controls are found the way Qt
// finds them, by their object names; what no control shows (the flight state,
// the surfaces the frames are composed on, the music flag, the animation timer
// and which secondary windows are open) goes through Probe, the one door the
// main window opens to tests. The door only shows: a test changes the program
// through the handlers a person uses. Its one set-up is the flight's clock and
// screen, which a test may drive itself.
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "labels/StyledLabel.h"
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

#include <chrono>
#include <cstdint>
#include <optional>

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

// A steady clock and a screen a test drives: the moment it reads, and the
// screen's refresh period.
struct TestClock {
    std::chrono::nanoseconds now = std::chrono::hours(1);
    std::chrono::nanoseconds period = std::chrono::nanoseconds(16'666'667);
};

class Probe {
public:
    static const Flight& flight(const frmMain& w) { return *w.m_flight; }
    static const mdlAelor::FlightState& st(const frmMain& w) { return w.m_flight->st(); }
    static const mdlAelor::Surfaces& surfaces(const frmMain& w) { return w.m_flight->surfaces(); }
    static std::int16_t BgmOn(const frmMain& w) { return w.BgmOn; }
    static QString AppDir(const frmMain& w) { return w.AppDir; }
    // The secondary windows the main window has open.
    static frmPropTitle* propTitle(const frmMain& w) { return w.propTitle.data(); }
    static frmPropExpla* propExpla(const frmMain& w) { return w.propExpla.data(); }
    static frmAbout* about(const frmMain& w) { return w.about.data(); }

    // From now on the flight reads `clock`, as if its timer had been switched on
    // at its moment, and its timer wakes only when the test says so.
    static void driveClock(frmMain& w, const TestClock& clock)
    {
        w.m_flight->driveBy([&clock] { return clock.now; }, [&clock] { return clock.period; });
    }
    // When the timer would wake next; none while it would not.
    static std::optional<std::chrono::nanoseconds> nextWake(const frmMain& w) { return w.m_flight->nextWake(); }
    // The wake the event loop delivers at that moment, or later when the thread
    // was held.
    static void wake(frmMain& w) { w.m_flight->timAnime_Timer(); }
};

// Moves a driven clock on to `until`, waking the timer at every moment it asked
// for on the way, as a quiet event loop would.
inline void RunClock(frmMain& w, TestClock& clock, std::chrono::nanoseconds until)
{
    while (Probe::nextWake(w) && *Probe::nextWake(w) <= until) {
        clock.now = *Probe::nextWake(w);
        Probe::wake(w);
    }
    clock.now = until;
}

// Moves a driven clock on to the timer's next wake and delivers it: at the
// start-up interval of 100 ms, one tick.
inline void WakeNext(frmMain& w, TestClock& clock)
{
    if (const auto at = Probe::nextWake(w)) {
        clock.now = *at;
        Probe::wake(w);
    }
}
