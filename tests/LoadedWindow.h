#pragma once
// A main window after start-up among recording fakes: the tests' fixture.
#include "fakes.h"

#include "app/frmMain.h"

struct LoadedWindow {
    FakeWorld world;
    frmMain w{world.services()};
    frmMain::LoadResult result = w.Form_Load();
};
