// The menu that opens the two format dialogs.
#include "app/frmMain.h"

#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "platform/WindowFinder.h"

void frmMain::mnuNameItem_Click(int Index)
{
    // Each dialog is a window of its own, not owned by this one, so that it
    // stays usable beside it; it exists at most once and loads when created.
    QWidget* dialog = nullptr;
    switch (Index) {
    case 0:
        if (!propTitle)
            propTitle = new frmPropTitle(lblTitle);
        dialog = propTitle;
        break;
    case 1:
        if (!propExpla)
            propExpla = new frmPropExpla(lblExpla);
        dialog = propExpla;
        break;
    default:
        return;
    }
    // An open dialog is only brought forward, with its controls as they are.
    platform::BringForward(dialog);
}
