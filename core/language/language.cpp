#include "language.h"

#include "settings_store.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QString kSection = QStringLiteral("JAZYK");
const QString kKey = QStringLiteral("VOLBA");

struct Translators {
    QTranslator program;
    QTranslator qt;
    Language language = Language::Czech;
};

Translators& translators()
{
    // Lives as long as the program: an installed translator must outlive its use.
    static Translators* const installed = new Translators;
    return *installed;
}

} // namespace

// The translation lives in this static library: register it before the first use.
static void initTranslations()
{
    Q_INIT_RESOURCE(kv36_translations);
}

Language storedLanguage(const SettingsStore& store)
{
    // The store reads a value other than the two languages as the default.
    return static_cast<Language>(store.ReadInteger(kSection, kKey, static_cast<int>(Language::Czech)));
}

void storeLanguage(SettingsStore& store, Language language)
{
    store.WriteInteger(kSection, kKey, static_cast<int>(language));
    store.Sync();
}

std::optional<Language> languageFromCode(QStringView code)
{
    if (code == u"cs")
        return Language::Czech;
    if (code == u"en")
        return Language::English;
    return std::nullopt;
}

void applyLanguage(Language language)
{
    initTranslations();
    Translators& t = translators();
    QCoreApplication::removeTranslator(&t.program);
    QCoreApplication::removeTranslator(&t.qt);
    t.language = language;
    const bool english = language == Language::English;
    // The program's texts are Czech already; only English needs a translation.
    if (english && t.program.load(QStringLiteral(":/i18n/kv36_en.qm")))
        QCoreApplication::installTranslator(&t.program);
    const QString qtBase = english ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_cs");
    if (t.qt.load(qtBase, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&t.qt);
}

Language currentLanguage()
{
    return translators().language;
}

QLocale textLocale()
{
    const auto language = currentLanguage() == Language::English ? QLocale::English : QLocale::Czech;
    return QLocale(language, QLocale().territory());
}
