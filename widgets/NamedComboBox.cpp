#include "widgets/NamedComboBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace widgets {

namespace {

// On this desktop the toolkit's own combo box interface answers its name with
// its text, so a reader hears " 1" where a sighted user reads the label beside
// it. Everything but the name and the value is left to the widget interface:
// the children (the editor among them), the states and the focus action.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = combo()->currentText();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name != showMenuAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* ComboBoxFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QComboBox"))
        return nullptr;
    auto* combo = qobject_cast<QComboBox*>(object);
    return combo ? new NamedComboBox(combo) : nullptr;
}

}  // namespace

void AnnounceComboBoxesByName()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(ComboBoxFactory);
}

}  // namespace widgets
