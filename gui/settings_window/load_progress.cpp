#include "load_progress.h"

#include <QProgressBar>

#include <algorithm>

LoadProgress::LoadProgress(QProgressBar* bar) : m_bar(bar) {}

void LoadProgress::start()
{
    m_bar->show();
    setValue(0);
}

void LoadProgress::showFull()
{
    m_bar->show();
    setValue(kFull);
}

void LoadProgress::StepProgress(int step) { setValue(std::min(m_bar->value() + step, kFull)); }

void LoadProgress::hide() { m_bar->hide(); }

// The exchanges block the GUI thread: the bar is painted at once, or the user
// would see it move only when the sequence is over.
void LoadProgress::setValue(int value)
{
    m_bar->setValue(value);
    m_bar->repaint();
}
