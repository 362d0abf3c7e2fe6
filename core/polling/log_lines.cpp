#include "log_lines.h"

#include "measured_text.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>

namespace log_lines {

namespace {

constexpr int kRuleLength = 61;
constexpr int kDecimals = 1;
constexpr int kExponentDecimals = 4;
constexpr double kExponentFrom = 100000.0;
const QString kFieldSeparator = QStringLiteral(";  ");

bool fitsCodePage(const QString& text)
{
    // Numbers and times are nearly always plain ASCII, which every code page holds.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return true;
    QStringEncoder encoder(kCodePage);
    [[maybe_unused]] const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

// A value as the panels show it under the C locale.
QString cValueText(const QString& shown)
{
    const auto value = measuredValue(shown);
    if (!value)
        return QStringLiteral("nan");
    const QLocale c = QLocale::c();
    return std::abs(*value) < kExponentFrom ? c.toString(*value, 'f', kDecimals)
                                            : c.toString(*value, 'E', kExponentDecimals);
}

QString dateText(const QDate& day)
{
    const QString text = QLocale().toString(day, QLocale::ShortFormat);
    return fitsCodePage(text) ? text : day.toString(Qt::ISODate);
}

} // namespace

QStringList header(const QString& fileName, const QDate& day)
{
    const QString rule(kRuleLength, u'-');
    return {QDir::toNativeSeparators(fileName), QStringLiteral("KV-36      Datum: ") + dateText(day), rule,
            QStringLiteral("Teplota vody; venkovní teplota; žádaná; útlum; odchylka; čas"), rule};
}

QString data(const QStringList& values, const QTime& time)
{
    QStringList fields;
    for (const QString& value : values)
        fields.append(fitsCodePage(value) ? value : cValueText(value));
    fields.append(timeText(time));
    return fields.join(kFieldSeparator);
}

QString outageBegan(const QTime& time)
{
    return QStringLiteral("# regulátor neodpovídá od ") + timeText(time);
}

QString outageEnded(const QTime& time)
{
    return QStringLiteral("# regulátor odpovídá od ") + timeText(time);
}

// The offset always as "+HH:mm", also for UTC, which ISO 8601 lets write "Z".
QString dateMark(const QDateTime& at)
{
    const int minutes = std::abs(at.offsetFromUtc()) / 60;
    const QString sign = at.offsetFromUtc() < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return QStringLiteral("# datum a čas %1%2%3:%4")
        .arg(at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")), sign)
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// The zone, with the brackets or the comma around it: "H:mm:ss (t)" is
// "H:mm:ss", not "H:mm:ss ( )".
QString longTimeFormat()
{
    static const QRegularExpression zone(QStringLiteral("[\\s,]*[(\\[]?\\s*\\bt+\\b\\s*[)\\]]?,?"));
    return QLocale().timeFormat(QLocale::LongFormat).replace(zone, QStringLiteral(" ")).trimmed();
}

QString timeText(const QTime& time)
{
    const QString text = QLocale().toString(time, longTimeFormat());
    return fitsCodePage(text) ? text : QLocale::c().toString(time, QStringLiteral("HH:mm:ss"));
}

} // namespace log_lines
