#include "platform/MessageBox.h"

#include "platform/AppIcon.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

int QtMessageBoxService::MsgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setWindowIcon(aelorinIcon());
    // Our texts break lines with CR LF; the box wants plain line feeds.
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);

    switch (style & 0xF0) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }

    if ((style & 0x0F) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::NoButton);
        // Without a cancel button the box cannot be dismissed other than by answering.
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }

    const int pressed = box.exec();
    if ((style & 0x0F) == vbYesNo)
        return pressed == QMessageBox::No ? vbNo : vbYes;
    return vbOK;
}

}  // namespace platform
