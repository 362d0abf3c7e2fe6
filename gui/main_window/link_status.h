#pragma once

#include <QDateTime>
#include <QLabel>
#include <QList>

#include <functional>

class QTimer;

// The main window's status bar text: the port and rate in use and, from the
// automatic readings, whether the regulator answers, since when it does not,
// or that the port's device is not present. The tooltip keeps the last ten
// outages, independent of the measurement log.
class LinkStatus : public QLabel {
    Q_OBJECT
public:
    static constexpr int kHistorySize = 10;
    static constexpr int kRefreshMs = 500;

    struct Port {
        QString name; // empty: no port open
        int baudRate = 0;
        bool deviceLost = false;
        bool network = false; // a serial server: its connection is what gets lost
    };
    struct Outage {
        QDateTime began;
        QDateTime ended; // invalid while it lasts
    };

    explicit LinkStatus(QWidget* parent = nullptr);

    // Where the port's state is read from; it is looked at regularly, so that
    // a change made in another window shows without a reading.
    void setPortSource(std::function<Port()> source);
    void readingDone(bool answered, const QDateTime& at);
    const QList<Outage>& outages() const { return m_outages; }

protected:
    void changeEvent(QEvent* event) override;

private:
    enum class Answer { Unknown, Good, Failing };

    void refresh();
    QString stateText(const Port& port) const;
    QString historyText() const;

    std::function<Port()> m_source;
    QTimer* m_refresh;
    QString m_portName;
    Answer m_answer = Answer::Unknown;
    QList<Outage> m_outages; // oldest first
};
