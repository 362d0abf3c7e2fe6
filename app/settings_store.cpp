#include "settings_store.h"

namespace {

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
    return ok ? value : def;
}

void SettingsStore::WriteInteger(const QString& section, const QString& key, int value)
{
    m_settings->setValue(keyPath(section, key), QString::number(value));
}

void SettingsStore::Sync() { m_settings->sync(); }
