#include "multi_row_tab_bar.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

MultiRowTabBar::MultiRowTabBar(QWidget* parent) : QTabBar(parent)
{
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
