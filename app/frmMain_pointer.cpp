// Dragging the kite and nudging it with the arrow keys.
#include "app/frmMain.h"
#include "rules/Steering.h"

// The button and the modifiers do not matter: any button takes hold of the kite.
void frmMain::picMain_MouseDown(int, int, float X, float Y)
{
    auto& st = m_flight->change();
    if (!Steering::HitsKite(st, X, Y))
        return;
    // No tick may move the kite away from under the pointer during the drag.
    if (st.Running)
        m_flight->setTimerEnabled(false);
    Steering::TakeHold(st, X, Y);
}

void frmMain::picMain_MouseMove(int, int, float X, float Y)
{
    if (Steering::FollowPointer(m_flight->change(), X, Y))
        m_flight->ComposeFrame();
}

// Every release ends a drag, whichever button it was and whether or not one was
// under way.
void frmMain::picMain_MouseUp(int, int, float, float)
{
    auto& st = m_flight->change();
    if (st.Running)
        m_flight->setTimerEnabled(true);
    Steering::LetGo(st);
}

void frmMain::picMain_KeyDown(int KeyCode, int Shift)
{
    auto& st = m_flight->change();
    // Decided before the key is handled, as the timer is switched off for it.
    const bool resume = Steering::TimerResumesAfterKey(st);
    if (st.Running)
        m_flight->setTimerEnabled(false);
    st.KeyStep = Steering::KeyStepFor(Shift);
    Steering::Nudge(st, KeyCode);
    // Every key redraws, an arrow at the limit or any other key included.
    m_flight->ComposeFrame();
    if (resume)
        m_flight->setTimerEnabled(true);
    st.KeyStep = Steering::NormalKeyStep;
}
