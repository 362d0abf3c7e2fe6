#include "watch_options.h"

#include "numbers.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

#ifdef Q_OS_WIN
// Windows tells what others may do with a file only when asked to look it up.
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#endif

namespace {

constexpr int kLongestInterval = 24 * 60 * 60;

QFileDevice::Permissions permissionsOf(const QFile& file)
{
#ifdef Q_OS_WIN
    ++qt_ntfs_permission_lookup;
    const QFileDevice::Permissions permissions = file.permissions();
    --qt_ntfs_permission_lookup;
    return permissions;
#else
    return file.permissions();
#endif
}

int parseInterval(const QString& text)
{
    const std::optional<int> seconds = parseInteger(text);
    if (!seconds || *seconds < 1 || *seconds > kLongestInterval)
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Volba --interval čeká počet sekund 1 až %1, ne \"%2\"")
                .arg(kLongestInterval)
                .arg(text));
    return *seconds;
}

MqttSettings parseBroker(const QString& text)
{
    const QUrl url(QStringLiteral("mqtt://") + text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.path().isEmpty() || !url.userInfo().isEmpty() ||
        url.hasQuery() || url.hasFragment())
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Volba --mqtt čeká POČÍTAČ nebo POČÍTAČ:PORT, ne \"%1\"")
                .arg(text));
    return {url.host(), std::max(url.port(), 0), std::nullopt, QString()};
}

// For its owner alone, like a key: a password that a group or others may
// read, change or run is no secret.
MqttCredentials readCredentials(const QString& path)
{
    const QFileDevice::Permissions notOwner = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                              QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                              QFileDevice::WriteOther | QFileDevice::ExeOther;
    QFile file(path);
    if (file.exists() && (permissionsOf(file) & notOwner))
        throw ConfigurationError(
            QCoreApplication::translate("qzr17ctl",
                                        "Soubor %1 smí používat i jiný uživatel než vlastník (skupina "
                                        "nebo ostatní); přístupové údaje v něm nelze použít (chmod 600)")
                .arg(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw ConfigurationError(QCoreApplication::translate("qzr17ctl", "Soubor %1 nelze číst: %2")
                                     .arg(path, file.errorString()));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (lines.size() < 2 || lines[0].isEmpty())
        throw ConfigurationError(
            QCoreApplication::translate("qzr17ctl", "Soubor %1 čeká jméno na prvním řádku a heslo na druhém")
                .arg(path));
    return {lines[0], lines[1]};
}

} // namespace

WatchOptions parseWatchOptions(const QStringList& arguments)
{
    WatchOptions options;
    QString credentials;
    QString caFile;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        if (name == u"--daily") {
            options.daily = true;
            continue;
        }
        QString value;
        if (const qsizetype equals = name.indexOf(u'='); name.startsWith(u"--") && equals > 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            throw UsageError(QCoreApplication::translate("qzr17ctl", "Volbě %1 chybí hodnota").arg(name));
        }
        if (name == u"--interval")
            options.interval = parseInterval(value);
        else if (name == u"--log")
            options.logFile = value;
        else if (name == u"--mqtt")
            options.mqtt = parseBroker(value);
        else if (name == u"--mqtt-credentials")
            credentials = value;
        else if (name == u"--mqtt-cafile")
            caFile = value;
        else if (name == u"--name")
            options.name = value;
        else
            throw UsageError(QCoreApplication::translate("qzr17ctl", "Neznámá volba %1").arg(name));
    }
    if (options.logFile.isEmpty() && !options.mqtt)
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz watch čeká --log nebo --mqtt"));
    if (!options.mqtt && (!credentials.isEmpty() || !caFile.isEmpty()))
        throw UsageError(QCoreApplication::translate(
            "qzr17ctl", "Volby --mqtt-credentials a --mqtt-cafile platí jen s --mqtt"));
    if (!options.name.isNull() && mqttDeviceId(options.name).isEmpty())
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Volba --name čeká písmena nebo číslice, ne \"%1\"")
                .arg(options.name));
    if (options.daily && options.logFile.isEmpty())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Volba --daily platí jen s --log"));
    if (options.mqtt && !credentials.isEmpty())
        options.mqtt->credentials = readCredentials(credentials);
    if (QFile ca(caFile); !caFile.isEmpty() && !ca.open(QIODevice::ReadOnly))
        throw ConfigurationError(QCoreApplication::translate("qzr17ctl", "Soubor %1 nelze číst: %2")
                                     .arg(caFile, ca.errorString()));
    if (options.mqtt)
        options.mqtt->caFile = caFile;
    return options;
}

QString watchUsageText()
{
    return QCoreApplication::translate(
        "qzr17ctl",
        "  watch [--interval S] [--log SOUBOR [--daily]] [--mqtt POČÍTAČ[:PORT]\n"
        "        [--mqtt-credentials SOUBOR] [--mqtt-cafile SOUBOR] [--name JMÉNO]]\n"
        "                           čte naměřené hodnoty každých S sekund (10), dokud neskončí\n"
        "                           (SIGTERM, SIGINT, SIGHUP); zapisuje je do záznamu jako okno programu\n"
        "                           (--daily: soubor na každý den, SOUBOR-RRRR-MM-DD.txt) a posílá\n"
        "                           je na MQTT broker pro Home Assistant; do regulátoru nezapisuje.\n"
        "                           Přístupové údaje: jméno a heslo na dvou řádcích souboru, který\n"
        "                           smí používat jen vlastník. Chybné volby a odmítnuté soubory: kód 78.");
}
