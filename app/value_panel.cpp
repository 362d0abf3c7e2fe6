#include "value_panel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class ValuePanelAccessible : public QAccessibleWidget {
public:
    explicit ValuePanelAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* valuePanelFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ValuePanel") && object && object->isWidgetType())
        return new ValuePanelAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

ValuePanel::ValuePanel(const QString& caption, QWidget* parent) : QLabel(QStringLiteral("0"), parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(valuePanelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setAccessibleName(caption);
}

void ValuePanel::showValue(const QString& text)
{
    if (text == this->text())
        return;
    setText(text);
    QAccessibleValueChangeEvent event(this, text);
    QAccessible::updateAccessibility(&event);
}
