#pragma once

#include <QSettings>
#include <QString>

#include <array>
#include <memory>

// The baud rates the link offers, in list order: "PORT"/"BAUDRATE" holds one of them.
inline constexpr std::array kListedBaudRates{110,   300,   600,   1200,  2400,   4800,   9600,
                                             19200, 38400, 56000, 57600, 115200, 128000, 256000};

// The per-user settings store "Talvex_R16": sections of integer values kept as
// decimal text. On Windows the registry key HKEY_CURRENT_USER\Talvex_R16,
// elsewhere the INI file Talvex_R16.ini in the user's configuration directory.
class SettingsStore {
public:
    SettingsStore();

    // The stored value, or def when it is missing, not a decimal integer, or
    // outside what the key can meaningfully hold.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    // Writes out what the group of writes before it changed.
    void Sync();
    QString location() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};
