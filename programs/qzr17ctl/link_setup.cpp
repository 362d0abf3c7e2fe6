#include "link_setup.h"

#include "bus_protocol.h"
#include "line_failure_record.h"
#include "settings_store.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

constexpr int kDefaultPort = 1;
constexpr int kDefaultBaudRate = 9600;
constexpr int kDefaultAddress = 0;

void choosePort(LinkSettings& settings, const QString& port)
{
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"));
    const QRegularExpressionMatch match = comName.match(port);
    if (!match.hasMatch()) {
        settings.devicePath = port;
        return;
    }
    bool fits = false;
    settings.portNumber = match.captured(1).toInt(&fits);
    if (!fits)
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Číslo portu v \"%1\" je příliš velké").arg(port));
}

} // namespace

LinkSettings resolveLinkSettings(const CtlOptions& options, const SettingsStore& store)
{
    const auto stored = [&store](const char* section, const char* key, int def) {
        return store.ReadInteger(QLatin1String(section), QLatin1String(key), def);
    };
    LinkSettings settings;
    if (options.port)
        choosePort(settings, *options.port);
    else
        settings.portNumber = stored("PORT", "COM", kDefaultPort);
    settings.baudRate = options.baudRate.value_or(stored("PORT", "BAUDRATE", kDefaultBaudRate));
    // 0..127 from the options, 0..126 from the store.
    settings.destinationAddress =
        static_cast<uint8_t>(options.destinationAddress.value_or(stored("ADRESA", "DA", kDefaultAddress)));
    settings.sourceAddress =
        static_cast<uint8_t>(options.sourceAddress.value_or(stored("ADRESA", "SA", kDefaultAddress)));
    return settings;
}

void openLine(SerialLine& line, const LinkSettings& settings)
{
    line.setBaudRate(settings.baudRate);
    if (settings.devicePath.isEmpty()) {
        line.setPortNumber(settings.portNumber);
        line.OpenPort(settings.portNumber);
    } else {
        line.OpenDevice(settings.devicePath);
    }
}

AttachedLink::AttachedLink(PortIo& port, const LinkSettings& settings, const QString& device)
    : m_recorded(!device.isEmpty())
{
    bus_protocol::AttachPort(&port);
    bus_protocol::SetDestinationAddress(settings.destinationAddress);
    bus_protocol::SetSourceAddress(settings.sourceAddress);
    if (device.isEmpty())
        return;
    if (const auto failure = line_failure_record::read(device))
        bus_protocol::TakeOverFailure(*failure);
    bus_protocol::SetFailureListener(
        [device](const bus_protocol::LineFailure& failure) { line_failure_record::write(device, failure); });
}

// A run that failed leaves without waiting when the next run is told; a good
// run costs nothing either way.
AttachedLink::~AttachedLink()
{
    if (!m_recorded)
        bus_protocol::AwaitLateAnswers();
    bus_protocol::SetFailureListener({});
    bus_protocol::AttachPort(nullptr);
}
