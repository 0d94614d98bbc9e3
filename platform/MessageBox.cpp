#include "platform/MessageBox.h"

#include "platform/AppIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace platform {

namespace {

// A box that asks Yes or No has no cancel: only an answer ends it. Esc and the
// window manager's close request (close box, Alt+F4) are refused, where a plain
// box would take them as its escape button, which for Yes and No is No.
class AnswerBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool answerOnly = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (answerOnly && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (answerOnly) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

}  // namespace

int QtMessageBoxService::MsgBox(const QString& text, int style, const QString& title)
{
    AnswerBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setWindowIcon(aelorinIcon());
    // Our texts break lines with CR LF; the box wants plain line feeds.
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);

    switch (style & 0xF0) {
    case vbCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }

    if ((style & 0x0F) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        box.answerOnly = true;
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }

    box.exec();
    if ((style & 0x0F) == vbYesNo)
        return box.clickedButton() == box.button(QMessageBox::No) ? vbNo : vbYes;
    return vbOK;
}

}  // namespace platform
