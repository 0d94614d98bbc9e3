#pragma once
// Helpers for driving the format dialogs the way a person does and reading
// what they show.
#include "labels/LabelStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

// A style written out in failure messages.
inline char* toString(const LabelStyle& s)
{
    const QString text = QStringLiteral("{color 0x%1, \"%2\", %3 units%4%5%6}")
                             .arg(s.ForeColor, 8, 16, QLatin1Char('0'))
                             .arg(s.Name)
                             .arg(s.SizeUnits)
                             .arg(s.Bold ? QStringLiteral(", bold") : QString())
                             .arg(s.Italic ? QStringLiteral(", italic") : QString())
                             .arg(s.Underline ? QStringLiteral(", underline") : QString());
    return qstrdup(text.toUtf8().constData());
}

inline LabelStyle MakeStyle(std::uint32_t color, double points, const QString& face, bool bold = false,
                            bool italic = false, bool underline = false)
{
    LabelStyle s;
    s.ForeColor = color;
    s.setSize(points);
    s.Name = face;
    s.Bold = bold;
    s.Italic = italic;
    s.Underline = underline;
    return s;
}

// A click on the button's indicator, where a person aims.
inline void ClickOn(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

// The named option buttons and check boxes of a dialog that are on, in
// creation order.
inline QStringList CheckedControls(const QWidget* dialog)
{
    QStringList on;
    for (const QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->isCheckable() && b->isChecked())
            on.append(b->objectName());
    }
    return on;
}

template <typename T>
T* Control(const QWidget* dialog, const QString& name)
{
    T* control = dialog->findChild<T*>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

// The controls that can take the focus, in the order of the focus chain,
// starting at `first`. (Of an exclusive group of options, Tab itself stops only
// at the one selected.)
inline QStringList FocusChainFrom(QWidget* first, int count)
{
    QStringList names;
    QWidget* at = first;
    for (int i = 0; i < count; ++i) {
        names.append(at->objectName());
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || !at->isVisible())
            at = at->nextInFocusChain();
    }
    return names;
}

// The names of the controls that take the focus on `count` presses of Tab.
inline QStringList TabStops(QWidget* window, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Tab);
        names.append(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
    }
    return names;
}
