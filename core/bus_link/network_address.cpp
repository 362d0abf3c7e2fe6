#include "network_address.h"

#include <QUrl>

namespace {

constexpr int kNoPort = -1;

QString schemeOf(NetworkAddress::Kind kind)
{
    return kind == NetworkAddress::Kind::Rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp");
}

std::optional<NetworkAddress::Kind> kindOf(const QString& scheme)
{
    if (scheme == u"tcp")
        return NetworkAddress::Kind::RawTcp;
    if (scheme == u"rfc2217")
        return NetworkAddress::Kind::Rfc2217;
    return std::nullopt;
}

} // namespace

QString NetworkAddress::text() const
{
    QUrl url;
    url.setScheme(schemeOf(kind));
    url.setHost(host);
    url.setPort(port);
    return url.toString();
}

std::optional<NetworkAddress> parseNetworkAddress(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const std::optional<NetworkAddress::Kind> kind = kindOf(url.scheme().toLower());
    // Anything beyond host and port would be silently ignored: refuse it.
    if (!url.isValid() || !kind || url.host().isEmpty() || url.port(kNoPort) <= 0 || !url.path().isEmpty() ||
        !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    return NetworkAddress{*kind, url.host(), static_cast<quint16>(url.port())};
}
