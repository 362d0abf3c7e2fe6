#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The per-user settings store "Talvex_R16": sections of integer values kept as
// decimal text. On Windows the registry key HKEY_CURRENT_USER\Talvex_R16,
// elsewhere the INI file Talvex_R16.ini in the user's configuration directory.
class SettingsStore {
public:
    SettingsStore();

    // The stored value, or def when it is missing or not a decimal integer.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    // Writes out what the group of writes before it changed.
    void Sync();
    QString location() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};
