#include "network_address.h"

#include <QCoreApplication>
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

QString addressDefect(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype schemeEnd = trimmed.indexOf(u"://");
    if (schemeEnd < 0 || !kindOf(trimmed.left(schemeEnd).toLower()) || parseNetworkAddress(trimmed))
        return {};
    const auto defect = [](const char* what) { return QCoreApplication::translate("NetworkAddress", what); };
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid())
        return defect(QT_TRANSLATE_NOOP(
            "NetworkAddress", "adresa serveru má tvar tcp://POČÍTAČ:PORT nebo rfc2217://POČÍTAČ:PORT"));
    if (url.host().isEmpty())
        return defect(QT_TRANSLATE_NOOP("NetworkAddress", "chybí název nebo IP adresa serveru"));
    if (url.port(kNoPort) == kNoPort)
        return defect(QT_TRANSLATE_NOOP("NetworkAddress", "chybí číslo portu TCP"));
    if (url.port(kNoPort) <= 0)
        return defect(QT_TRANSLATE_NOOP("NetworkAddress", "port TCP musí být 1 až 65535"));
    return defect(QT_TRANSLATE_NOOP("NetworkAddress", "za portem TCP nesmí nic být"));
}
