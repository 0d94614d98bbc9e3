#include "dialogs/frmPropTitle.h"

#include "platform/AppIcon.h"

frmPropTitle::frmPropTitle(StyledLabel* target, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_label(target)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(platform::aelorinIcon());
    Form_Load();
}

void frmPropTitle::Form_Load()
{
    setWindowTitle(Caption);
}
