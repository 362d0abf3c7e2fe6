#include "host_lookup.h"

#include <QHostInfo>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace {

QList<QHostAddress> ipv4First(QList<QHostAddress> addresses)
{
    std::stable_partition(addresses.begin(), addresses.end(), [](const QHostAddress& address) {
        return address.protocol() == QAbstractSocket::IPv4Protocol;
    });
    return addresses;
}

} // namespace

void HostLookup::start(const QString& host)
{
    m_numeric.reset();
    m_answer = {};
    QHostAddress numeric;
    if (numeric.setAddress(host)) {
        m_numeric = QList<QHostAddress>{numeric};
        return;
    }
    // The resolver may hang far longer than anyone waits; the thread then
    // finishes on its own and its answer is dropped.
    std::promise<QList<QHostAddress>> promise;
    m_answer = promise.get_future();
    std::thread([host, promise = std::move(promise)]() mutable {
        promise.set_value(ipv4First(QHostInfo::fromName(host).addresses()));
    }).detach();
}

std::optional<QList<QHostAddress>> HostLookup::take(int msecs)
{
    if (m_numeric)
        return std::exchange(m_numeric, std::nullopt);
    if (!m_answer.valid() ||
        m_answer.wait_for(std::chrono::milliseconds(std::max(msecs, 0))) != std::future_status::ready)
        return std::nullopt;
    return m_answer.get();
}
