#include "link_status.h"

#include <QEvent>
#include <QTimer>

namespace {

QString timeText(const QDateTime& at) { return at.toString(QStringLiteral("d.M. H:mm:ss")); }

} // namespace

LinkStatus::LinkStatus(QWidget* parent) : QLabel(parent), m_refresh(new QTimer(this))
{
    setObjectName(QStringLiteral("lb_spojeni"));
    m_refresh->setInterval(kRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, &LinkStatus::refresh);
    m_refresh->start();
    refresh();
}

void LinkStatus::setPortSource(std::function<Port()> source)
{
    m_source = std::move(source);
    refresh();
}

void LinkStatus::readingDone(bool answered, const QDateTime& at)
{
    const bool outageOpen = !m_outages.isEmpty() && !m_outages.last().ended.isValid();
    if (answered && outageOpen)
        m_outages.last().ended = at;
    if (!answered && !outageOpen) {
        m_outages.append({at, {}});
        if (m_outages.size() > kHistorySize)
            m_outages.removeFirst();
    }
    m_answer = answered ? Answer::Good : Answer::Failing;
    refresh();
}

void LinkStatus::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        refresh();
}

void LinkStatus::refresh()
{
    const Port port = m_source ? m_source() : Port{};
    // What was read on another port says nothing about this one.
    if (port.name != m_portName) {
        m_portName = port.name;
        m_answer = Answer::Unknown;
    }
    const QString text = stateText(port);
    if (text != this->text())
        setText(text);
    const QString history = historyText();
    if (history != toolTip()) {
        setToolTip(history);
        setAccessibleDescription(history);
    }
}

QString LinkStatus::stateText(const Port& port) const
{
    if (port.name.isEmpty())
        return tr("Port není otevřen");
    const QString head = QStringLiteral("%1, %2 Bd").arg(port.name).arg(port.baudRate);
    if (port.deviceLost && port.network)
        return tr("%1 – spojení se serverem je přerušeno").arg(head);
    if (port.deviceLost)
        return tr("%1 – zařízení portu není připojeno").arg(head);
    if (m_answer == Answer::Good)
        return tr("%1 – spojení v pořádku").arg(head);
    // A failing reading always leaves the outage it belongs to open, last.
    if (m_answer == Answer::Failing)
        return tr("%1 – regulátor neodpovídá od %2").arg(head, timeText(m_outages.last().began));
    return head;
}

QString LinkStatus::historyText() const
{
    if (m_outages.isEmpty())
        return tr("Bez výpadků spojení");
    QStringList lines{tr("Poslední výpadky spojení:")};
    for (auto outage = m_outages.crbegin(); outage != m_outages.crend(); ++outage) {
        const QString end = outage->ended.isValid() ? timeText(outage->ended) : tr("trvá");
        lines.append(tr("%1 – %2").arg(timeText(outage->began), end));
    }
    return lines.join(u'\n');
}
