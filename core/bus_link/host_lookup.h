#pragma once

#include <QHostAddress>
#include <QString>

#include <future>
#include <optional>

// Resolves a server's name on a thread of its own, so that a caller on the
// GUI thread waits only as long as it chooses and can come back for the
// answer later. A numeric address needs no lookup.
class HostLookup {
public:
    void start(const QString& host);
    // The address to connect to, waiting at most msecs for it; nothing while
    // the answer is out still, or when the name did not resolve. An answer is
    // handed out once.
    std::optional<QHostAddress> take(int msecs);
    bool pending() const { return m_numeric.has_value() || m_answer.valid(); }

private:
    std::optional<QHostAddress> m_numeric;
    std::future<std::optional<QHostAddress>> m_answer;
};
