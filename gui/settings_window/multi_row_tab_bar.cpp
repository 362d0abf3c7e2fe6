#include "multi_row_tab_bar.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>
#include <map>

namespace {

// One tab as assistive technology sees it: where the bar draws it, and a
// press that selects it as a click does.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(MultiRowTabBar* bar, int index) : m_bar(bar), m_index(index) {}

    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_bar->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_bar); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return QString(m_bar->tabText(m_index)).remove(u'&');
        return t == QAccessible::Description ? m_bar->tabToolTip(m_index) : QString();
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.selected = m_index == m_bar->currentIndex();
        s.disabled = !m_bar->isTabEnabled(m_index);
        s.invisible = !m_bar->isVisible();
        return s;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect area = m_bar->tabArea(m_index);
        return QRect(m_bar->mapToGlobal(area.topLeft()), area.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid() && m_bar->isTabEnabled(m_index)) {
            emit m_bar->tabBarClicked(m_index);
            m_bar->setCurrentIndex(m_index);
        }
    }

private:
    QPointer<MultiRowTabBar> m_bar;
    int m_index;
};

// The bar with its tabs as children, each where it is drawn: the base class
// would report them in the one row it lays them out in.
class MultiRowTabBarAccessible : public QAccessibleWidget {
public:
    explicit MultiRowTabBarAccessible(MultiRowTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}

    ~MultiRowTabBarAccessible() override
    {
        for (const auto& [index, id] : m_tabs)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        if (const auto known = m_tabs.find(index); known != m_tabs.end())
            return QAccessible::accessibleInterface(known->second);
        auto* tab = new TabAccessible(bar(), index);
        m_tabs[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (this->child(i) == child)
                return i;
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const int index = bar()->tabAreaAt(bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }

    // The bar's own name, or the selected tab's.
    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t != QAccessible::Name || !own.isEmpty() || bar()->currentIndex() < 0)
            return own;
        return QString(bar()->tabText(bar()->currentIndex())).remove(u'&');
    }

private:
    MultiRowTabBar* bar() const { return static_cast<MultiRowTabBar*>(widget()); }

    mutable std::map<int, QAccessible::Id> m_tabs;
};

QAccessibleInterface* tabBarFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("MultiRowTabBar") && object && object->isWidgetType())
        return new MultiRowTabBarAccessible(static_cast<MultiRowTabBar*>(object));
    return nullptr;
}

} // namespace

MultiRowTabBar::MultiRowTabBar(QWidget* parent) : QTabBar(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(tabBarFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setUsesScrollButtons(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setDrawBase(false);
}

int MultiRowTabBar::rowHeight() const
{
    int height = 0;
    for (int i = 0; i < count(); ++i)
        height = std::max(height, tabSizeHint(i).height());
    return height;
}

int MultiRowTabBar::layoutWidth() const
{
    if (auto* pages = qobject_cast<QTabWidget*>(parentWidget()))
        return pages->width();
    return width();
}

MultiRowTabBar::Rows MultiRowTabBar::arrange(int width) const
{
    std::vector<std::vector<int>> rows(1);
    int used = 0;
    for (int i = 0; i < count(); ++i) {
        const int tabWidth = tabSizeHint(i).width();
        if (used + tabWidth > width && !rows.back().empty()) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += tabWidth;
    }
    // The selected tab's row goes last, next to what the tabs select.
    const auto selected = std::find_if(rows.begin(), rows.end(), [this](const std::vector<int>& row) {
        return std::find(row.begin(), row.end(), currentIndex()) != row.end();
    });
    if (selected != rows.end())
        std::rotate(selected, selected + 1, rows.end());

    Rows result;
    result.areas.resize(count());
    result.count = static_cast<int>(rows.size());
    const int height = rowHeight();
    for (int r = 0; r < result.count; ++r) {
        const std::vector<int>& row = rows[r];
        int natural = 0;
        for (const int i : row)
            natural += tabSizeHint(i).width();
        // Full rows are stretched to the width, as one block of tabs.
        const int spare = result.count > 1 ? std::max(0, width - natural) : 0;
        int x = 0;
        for (size_t k = 0; k < row.size(); ++k) {
            const int share = spare * static_cast<int>(k + 1) / static_cast<int>(row.size())
                              - spare * static_cast<int>(k) / static_cast<int>(row.size());
            const int tabWidth = tabSizeHint(row[k]).width() + share;
            result.areas[row[k]] = QRect(x, r * height, tabWidth, height);
            x += tabWidth;
        }
    }
    return result;
}

int MultiRowTabBar::rowCount() const { return arrange(layoutWidth()).count; }

QRect MultiRowTabBar::tabArea(int index) const
{
    const Rows rows = arrange(layoutWidth());
    return index >= 0 && index < count() ? rows.areas[index] : QRect();
}

int MultiRowTabBar::tabAreaAt(const QPoint& pos) const
{
    const Rows rows = arrange(layoutWidth());
    for (int i = 0; i < count(); ++i)
        if (rows.areas[i].contains(pos))
            return i;
    return -1;
}

int MultiRowTabBar::heightForWidth(int width) const { return arrange(width).count * rowHeight(); }

QSize MultiRowTabBar::sizeHint() const
{
    const int width = layoutWidth();
    return {width, heightForWidth(width)};
}

QSize MultiRowTabBar::minimumSizeHint() const
{
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, tabSizeHint(i).width());
    return {widest, rowHeight()};
}

void MultiRowTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    const Rows rows = arrange(layoutWidth());
    const auto drawTab = [&](int i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.rect = rows.areas[i];
        option.position = QStyleOptionTab::Middle;
        option.selectedPosition = QStyleOptionTab::NotAdjacent;
        painter.drawControl(QStyle::CE_TabBarTab, option);
    };
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex())
            drawTab(i);
    // The selected tab overlaps its neighbours.
    if (currentIndex() >= 0)
        drawTab(currentIndex());
}

void MultiRowTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int index = tabAreaAt(event->position().toPoint());
    if (index >= 0 && isTabEnabled(index)) {
        emit tabBarClicked(index);
        setCurrentIndex(index);
    }
}

// The base class would act on the tab it laid out in one row.
void MultiRowTabBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void MultiRowTabBar::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void MultiRowTabBar::resizeEvent(QResizeEvent* event)
{
    QTabBar::resizeEvent(event);
    updateGeometry();
}

void MultiRowTabBar::tabLayoutChange()
{
    QTabBar::tabLayoutChange();
    updateGeometry();
}

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new MultiRowTabBar(this)); }
