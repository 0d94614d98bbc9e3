#include "dialogs/frmPropExpla.h"

#include "platform/AppIcon.h"

frmPropExpla::frmPropExpla(StyledLabel* target, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_label(target)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(platform::aelorinIcon());
    Form_Load();
}

void frmPropExpla::Form_Load()
{
    setWindowTitle(Caption);
}
