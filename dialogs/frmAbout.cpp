#include "dialogs/frmAbout.h"

#include "platform/AppIcon.h"
#include "platform/AppInfo.h"

frmAbout::frmAbout(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(platform::aelorinIcon());
    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(CaptionFor(platform::AppTitle));
}
