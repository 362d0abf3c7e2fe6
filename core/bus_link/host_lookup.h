#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <future>
#include <optional>

// Resolves a server's name on a thread of its own, so that a caller on the
// GUI thread waits only as long as it chooses and can come back for the
// answer later. A numeric address needs no lookup.
class HostLookup {
public:
    void start(const QString& host);
    // Every address of the name, IPv4 first (a server that listens on IPv4
    // alone is the common case), waiting at most msecs; an empty list when
    // the name did not resolve, nothing while the answer is out still. An
    // answer is handed out once.
    std::optional<QList<QHostAddress>> take(int msecs);
    bool pending() const { return m_numeric.has_value() || m_answer.valid(); }

private:
    std::optional<QList<QHostAddress>> m_numeric;
    std::future<QList<QHostAddress>> m_answer;
};
