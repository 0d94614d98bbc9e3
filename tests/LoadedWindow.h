#pragma once
// A main window after a successful start-up, among recording fakes.
#include "fakes.h"

#include "app/frmMain.h"

#include <QTest>

struct LoadedWindow {
    FakeWorld world;
    frmMain w{world.services()};
    frmMain::LoadResult result = w.Form_Load();
};

// Declares `world` and `w` for a test, and fails the test when start-up did not
// succeed.
#define LOADED_MAIN_WINDOW(world, w)                                                                                   \
    LoadedWindow loaded_;                                                                                              \
    QCOMPARE(loaded_.result, frmMain::LoadResult::Loaded);                                                             \
    [[maybe_unused]] FakeWorld& world = loaded_.world;                                                                 \
    [[maybe_unused]] frmMain& w = loaded_.w
