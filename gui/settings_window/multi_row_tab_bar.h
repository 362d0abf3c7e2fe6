#pragma once

#include <QTabBar>
#include <QTabWidget>

#include <vector>

// A tab bar that wraps its tabs into as many rows as its width needs: the
// eleven pages and the seven days have more tabs than one row of the window
// holds. As in multi-line tab controls, the row of the selected tab lies
// next to the pages. Assistive technology finds each tab where it is drawn.
class MultiRowTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit MultiRowTabBar(QWidget* parent = nullptr);

    int rowCount() const;
    // Where tab `index` is drawn.
    QRect tabArea(int index) const;
    // The tab drawn at `pos`, or -1.
    int tabAreaAt(const QPoint& pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void tabLayoutChange() override;

private:
    struct Rows {
        std::vector<QRect> areas; // by tab index
        int count = 0;
    };
    Rows arrange(int width) const;
    // A page control sizes its tab bar from the hint: the bar takes its width.
    int layoutWidth() const;
    int rowHeight() const;
};

// The page control: a tab widget whose tabs wrap into rows.
class PageControl : public QTabWidget {
    Q_OBJECT

public:
    explicit PageControl(QWidget* parent = nullptr);
};
