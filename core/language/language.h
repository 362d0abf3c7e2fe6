#pragma once

#include <QLocale>
#include <QStringView>

#include <optional>

class SettingsStore;

// The language of every text the program shows. Czech is the language the
// texts are written in; English comes from the translation built into the
// programs. The measurement log, the parameter set file and the regulator's
// own texts stay as they are in either language.
enum class Language { Czech = 0, English = 1 };

// The stored choice; Czech when none, or none known, is stored.
Language storedLanguage(const SettingsStore& store);
void storeLanguage(SettingsStore& store, Language language);

// "cs" or "en", as given on a command line.
std::optional<Language> languageFromCode(QStringView code);

// Installs the program's and Qt's own translations for `language` in place of
// the previous ones. Every widget then receives QEvent::LanguageChange.
void applyLanguage(Language language);
Language currentLanguage();

// The chosen language in the user's territory: dates spelled out in it read
// in the language of the texts around them.
QLocale textLocale();
