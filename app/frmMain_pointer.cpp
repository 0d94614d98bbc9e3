// Dragging the kite and nudging it with the arrow keys.
#include "app/frmMain.h"

void frmMain::picMain_MouseDown(int, int, float, float)
{
}

void frmMain::picMain_MouseMove(int, int, float, float)
{
}

void frmMain::picMain_MouseUp(int, int, float, float)
{
}

void frmMain::picMain_KeyDown(int, int)
{
}
