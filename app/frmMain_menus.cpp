// The music menu, help and the version box.
#include "app/frmMain.h"

void frmMain::mnuBgmItem_Click(int)
{
}

void frmMain::mnuHelp_Click()
{
}

void frmMain::mnuVer_Click()
{
}
