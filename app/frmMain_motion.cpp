// The motion settings panel and the start/stop button.
#include "app/frmMain.h"

void frmMain::cmdSet_Click()
{
}

void frmMain::cmdChange_Click()
{
}
