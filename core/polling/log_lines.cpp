#include "log_lines.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace log_lines {

namespace {

constexpr int kRuleLength = 61;
const QString kFieldSeparator = QStringLiteral(";  ");

} // namespace

QStringList header(const QString& fileName, const QDate& day)
{
    const QString rule(kRuleLength, u'-');
    return {QDir::toNativeSeparators(fileName),
            QStringLiteral("KV-36      Datum: ") + QLocale().toString(day, QLocale::ShortFormat),
            rule,
            QStringLiteral("Teplota vody; venkovní teplota; žádaná; útlum; odchylka; čas"),
            rule};
}

QString data(const QStringList& values, const QTime& time)
{
    return (values + QStringList{QLocale().toString(time, longTimeFormat())}).join(kFieldSeparator);
}

QString outageBegan(const QTime& time)
{
    return QStringLiteral("# regulátor neodpovídá od ") + QLocale().toString(time, longTimeFormat());
}

QString outageEnded(const QTime& time)
{
    return QStringLiteral("# regulátor odpovídá od ") + QLocale().toString(time, longTimeFormat());
}

QString longTimeFormat()
{
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    return QLocale().timeFormat(QLocale::LongFormat).replace(zone, QStringLiteral(" ")).trimmed();
}

} // namespace log_lines
