// The menus: the two format dialogs, the music, help and the version box.
#include "app/frmMain.h"

void frmMain::mnuNameItem_Click(int)
{
}

void frmMain::mnuBgmItem_Click(int)
{
}

void frmMain::mnuHelp_Click()
{
}

void frmMain::mnuVer_Click()
{
}
