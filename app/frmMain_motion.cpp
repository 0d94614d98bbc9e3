// The motion settings panel and the start/stop button.
#include "app/frmMain.h"
#include "platform/MessageBox.h"
#include "rules/NumberReader.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString HorizTitle = QStringLiteral("「左右方向」入力エラー");
const QString HorizText = QStringLiteral("「左右方向」には１から３０までの数字を入力して下さい");
const QString VertTitle = QStringLiteral("「上下方向」入力エラー");
const QString VertText = QStringLiteral("「上下方向」には１から６０までの数字を入力して下さい");
const QString InterTitle = QStringLiteral("「間隔」入力エラー");
const QString InterText = QStringLiteral("「間隔」には１から３０００までの数字を入力して下さい");

constexpr int StepErrorStyle = platform::vbExclamation + platform::vbOKOnly;     // 48
constexpr int IntervalErrorStyle = platform::vbExclamation + platform::vbYesNo;  // 52

}  // namespace

// Reads all three entries on every click; a rejected one keeps its value in effect
// and its text as typed, and does not stop the entries after it.
void frmMain::cmdSet_Click()
{
    auto& st = m_flight->change();
    // No tick may run while the entries are read or a message box is open.
    if (st.Running)
        m_flight->setTimerEnabled(false);

    if (const auto step = AcceptStep(ReadNumber(cmbHoriz->currentText()), MaxStepX))
        st.StepX = *step;
    else
        m_services.msgbox->MsgBox(HorizText, StepErrorStyle, HorizTitle);

    if (const auto step = AcceptStep(ReadNumber(cmbVert->currentText()), MaxStepY))
        st.StepY = *step;
    else
        m_services.msgbox->MsgBox(VertText, StepErrorStyle, VertTitle);

    if (const auto interval = AcceptInterval(ReadNumber(txtInter->text()))) {
        m_flight->setTimerInterval(*interval);
    } else if (m_services.msgbox->MsgBox(InterText, IntervalErrorStyle, InterTitle) == platform::vbNo) {
        forcedExit();
        return;
    }

    // The new interval counts from here.
    if (st.Running)
        m_flight->setTimerEnabled(true);
}

void frmMain::cmdChange_Click()
{
    auto& st = m_flight->change();
    if (st.Running) {
        st.Running = mdlAelor::False;
        m_flight->setTimerEnabled(false);
        lblChange->setText(StoppedCaption);
    } else {
        st.Running = mdlAelor::True;
        m_flight->setTimerEnabled(true);
        lblChange->setText(RunningCaption);
    }
}
