#pragma once

#include "param_set_file.h"

#include <vector>

class QTabBar;
class QWidget;
class WindowFields;

// The controls whose values a loaded parameter set changed, marked by a
// coloured background (and, for assistive technology, a description) until
// the regulator is written or read over. The day edits show the marks of the
// day they hold; a page's or a day's tab with marked fields reads in colour.
class LoadedMarks {
public:
    // What a marked control tells assistive technology.
    static QString description();

    LoadedMarks(const WindowFields& fields, QTabBar* pages, QTabBar* days);

    void mark(const std::vector<param_set::FieldKey>& changed, int shownDay);
    void showDay(int day);
    void clearParameters();
    void clearWeek(int shownDay);

    // Loaded values that have not gone to the regulator yet.
    bool parametersPending() const;
    bool weekPending() const;

private:
    void setMarked(QWidget* control, bool marked) const;
    void colourTabs() const;
    void removeIf(bool days);

    const WindowFields& m_fields;
    QTabBar* m_pages;
    QTabBar* m_days;
    std::vector<param_set::FieldKey> m_marked;
};
