#include "host_lookup.h"

#include <QHostInfo>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace {

// A server that listens on IPv4 alone is the common case: "localhost" and
// names with both kinds of address try IPv4 first.
std::optional<QHostAddress> preferredAddress(const QList<QHostAddress>& addresses)
{
    for (const QHostAddress& address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address;
    }
    if (addresses.isEmpty())
        return std::nullopt;
    return addresses.first();
}

} // namespace

void HostLookup::start(const QString& host)
{
    m_numeric.reset();
    m_answer = {};
    QHostAddress numeric;
    if (numeric.setAddress(host)) {
        m_numeric = numeric;
        return;
    }
    // The resolver may hang far longer than anyone waits; the thread then
    // finishes on its own and its answer is dropped.
    std::promise<std::optional<QHostAddress>> promise;
    m_answer = promise.get_future();
    std::thread([host, promise = std::move(promise)]() mutable {
        promise.set_value(preferredAddress(QHostInfo::fromName(host).addresses()));
    }).detach();
}

std::optional<QHostAddress> HostLookup::take(int msecs)
{
    if (m_numeric)
        return std::exchange(m_numeric, std::nullopt);
    if (!m_answer.valid() ||
        m_answer.wait_for(std::chrono::milliseconds(std::max(msecs, 0))) != std::future_status::ready)
        return std::nullopt;
    return m_answer.get();
}
