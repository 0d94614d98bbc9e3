#pragma once
// A main window after start-up among recording fakes: the tests' fixture.
#include "Probe.h"
#include "fakes.h"

#include "app/frmMain.h"

#include <QObject>
#include <QTest>

#include <optional>

struct LoadedWindow {
    FakeWorld world;
    // For a test that drives the flight's clock (Probe::driveClock): it outlives
    // the window that reads it.
    TestClock clock;
    frmMain w{world.services()};
    frmMain::LoadResult result = w.Form_Load();
};

// A test class whose every test starts with a freshly loaded main window.
class LoadedWindowTest : public QObject {
    Q_OBJECT
protected:
    std::optional<LoadedWindow> m_loaded;

private slots:
    void init()
    {
        m_loaded.emplace();
        QCOMPARE(m_loaded->result, frmMain::LoadResult::Loaded);
    }
    void cleanup() { m_loaded.reset(); }
};
