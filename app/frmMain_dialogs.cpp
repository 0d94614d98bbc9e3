// The menu that opens the two format dialogs.
#include "app/frmMain.h"

void frmMain::mnuNameItem_Click(int)
{
}
