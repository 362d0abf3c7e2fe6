#include "settings_store.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Window systems place every screen within 16-bit signed coordinates: a
// window's edge beyond them was never on any screen, and would overflow the
// geometry built from it.
constexpr int kLeastPlace = std::numeric_limits<int16_t>::min();
constexpr int kMostPlace = std::numeric_limits<int16_t>::max();
// Windows numbers serial ports up to COM256; 0 stands for no port.
constexpr int kLargestComNumber = 256;
constexpr int kLargestAddress = 126;     // 127 is the broadcast address
constexpr int kLargestColour = 0xFFFFFF; // 0x00BBGGRR

struct KeyBounds {
    QLatin1String section; // empty: the key in every section
    QLatin1String key;
    int least;
    int most;
};

// What each key can meaningfully hold. "Left" and "Top" are a window's place
// in whatever section the window keeps them. Sizes are bounded by the
// screens, and counts and intervals by the window that uses them; the baud
// rate must be one of the listed rates.
constexpr KeyBounds kBounds[]{
    {QLatin1String("PORT"), QLatin1String("COM"), 0, kLargestComNumber},
    {QLatin1String("ADRESA"), QLatin1String("DA"), 0, kLargestAddress},
    {QLatin1String("ADRESA"), QLatin1String("SA"), 0, kLargestAddress},
    {QLatin1String("GRAF"), QLatin1String("PERO"), 0, kLargestColour},
    {QLatin1String("JAZYK"), QLatin1String("VOLBA"), 0, 1},
    {QLatin1String(), QLatin1String("Left"), kLeastPlace, kMostPlace},
    {QLatin1String(), QLatin1String("Top"), kLeastPlace, kMostPlace},
};

bool meaningful(const QString& section, const QString& key, int value)
{
    if (section == QLatin1String("PORT") && key == QLatin1String("BAUDRATE"))
        return std::ranges::find(kListedBaudRates, value) != kListedBaudRates.end();
    const auto bounds = std::ranges::find_if(kBounds, [&](const KeyBounds& b) {
        return (b.section.isEmpty() || b.section == section) && b.key == key;
    });
    return bounds == std::ranges::end(kBounds) || (value >= bounds->least && value <= bounds->most);
}

QString keyPath(const QString& section, const QString& key) { return section + u'/' + key; }

} // namespace

SettingsStore::SettingsStore()
#ifdef Q_OS_WIN
    : m_settings(std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Talvex_R16"),
                                             QSettings::NativeFormat))
#else
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Talvex_R16")))
#endif
{
}

int SettingsStore::ReadInteger(const QString& section, const QString& key, int def) const
{
    bool ok = false;
    const int value = m_settings->value(keyPath(section, key)).toString().trimmed().toInt(&ok, 10);
    return ok && meaningful(section, key, value) ? value : def;
}

void SettingsStore::WriteInteger(const QString& section, const QString& key, int value)
{
    m_settings->setValue(keyPath(section, key), QString::number(value));
}

void SettingsStore::Sync() { m_settings->sync(); }
