#include "value_panel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// A label reaches a screen reader through its name alone: the number the
// panel shows goes out as read-only text, and the caption stays the name.
class ValuePanelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ValuePanelAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? shown() : QAccessibleWidget::text(t);
    }

    QString text(int startOffset, int endOffset) const override
    {
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(shown().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString shown() const { return static_cast<const QLabel*>(widget())->text(); }
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
    const QString previous = this->text();
    if (text == previous)
        return;
    setText(text);
    QAccessibleTextUpdateEvent event(this, 0, previous, text);
    QAccessible::updateAccessibility(&event);
}
