#include "loaded_marks.h"

#include "window_fields.h"

#include "regulator_sequences.h"
#include <QColor>
#include <QCoreApplication>
#include <QPalette>
#include <QTabBar>
#include <QWidget>

#include <algorithm>

using param_set::FieldKey;
using regulator_sequences::kFirstDayTable;

namespace {

constexpr int kDayFields = 12;
const QColor kMarkedBackground(255, 232, 140); // amber, dark text stays readable
const QColor kMarkedTab(150, 70, 0);

} // namespace

QString LoadedMarks::description()
{
    return QCoreApplication::translate("LoadedMarks", "Změněno načtením ze souboru");
}

LoadedMarks::LoadedMarks(const WindowFields& fields, QTabBar* pages, QTabBar* days)
    : m_fields(fields), m_pages(pages), m_days(days)
{
}

void LoadedMarks::setMarked(QWidget* control, bool marked) const
{
    if (!control)
        return;
    if (!marked) {
        control->setPalette(QPalette());
        control->setAccessibleDescription(QString());
        return;
    }
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, kMarkedBackground);
    palette.setColor(QPalette::Button, kMarkedBackground);
    control->setPalette(palette);
    control->setAccessibleDescription(description());
}

void LoadedMarks::mark(const std::vector<FieldKey>& changed, int shownDay)
{
    for (const FieldKey& key : changed) {
        if (std::find(m_marked.begin(), m_marked.end(), key) == m_marked.end())
            m_marked.push_back(key);
        if (!WindowFields::isDay(key.table))
            setMarked(m_fields.control(key), true);
    }
    showDay(shownDay);
    colourTabs();
}

void LoadedMarks::showDay(int day)
{
    for (size_t i = 0; i < kDayFields; ++i) {
        const FieldKey key{kFirstDayTable + day, i};
        setMarked(m_fields.control(key), std::find(m_marked.begin(), m_marked.end(), key) != m_marked.end());
    }
}

void LoadedMarks::colourTabs() const
{
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->setTabTextColor(i, QColor());
    for (int i = 0; i < m_days->count(); ++i)
        m_days->setTabTextColor(i, QColor());
    for (const FieldKey& key : m_marked) {
        if (WindowFields::isDay(key.table)) {
            m_days->setTabTextColor(key.table - kFirstDayTable, kMarkedTab);
            continue;
        }
        const QString page = m_fields.page(key);
        for (int i = 0; i < m_pages->count(); ++i) {
            if (m_pages->tabText(i) == page)
                m_pages->setTabTextColor(i, kMarkedTab);
        }
    }
    // A tab bar repaints a tab where a single row would hold it, not where
    // the bars of this window draw it.
    m_pages->update();
    m_days->update();
}

void LoadedMarks::removeIf(bool days)
{
    std::erase_if(m_marked, [this, days](const FieldKey& key) {
        if (WindowFields::isDay(key.table) != days)
            return false;
        if (!days)
            setMarked(m_fields.control(key), false);
        return true;
    });
    colourTabs();
}

void LoadedMarks::clearParameters() { removeIf(false); }

void LoadedMarks::clearWeek(int shownDay)
{
    removeIf(true);
    showDay(shownDay);
}

bool LoadedMarks::parametersPending() const
{
    return std::any_of(m_marked.begin(), m_marked.end(), [](const FieldKey& k) { return !WindowFields::isDay(k.table); });
}

bool LoadedMarks::weekPending() const
{
    return std::any_of(m_marked.begin(), m_marked.end(), [](const FieldKey& k) { return WindowFields::isDay(k.table); });
}
