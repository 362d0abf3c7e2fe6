#include "log_history.h"

#include "log_days.h"
#include "log_fields.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

constexpr QByteArrayView kProductPrefix("KV-36      Datum: ");
constexpr int kHeaderLines = 5;
constexpr int kProductLine = 2;
constexpr int kGapIntervals = 3;
// Enough for the header, whatever the length of the file name on its first line.
constexpr qint64 kHeaderPeek = 64 * 1024;
const char* const kCodePage = "windows-1250";

// A mark's words, as the log writes them and as an editor that re-saved the
// file in UTF-8 left them.
struct MarkPrefix {
    QByteArray codePage;
    QByteArray utf8;

    explicit MarkPrefix(const QString& text)
        : codePage(QStringEncoder(kCodePage).encode(text)), utf8(text.toUtf8())
    {
    }

    // The rest of the line after the words, or nothing.
    std::optional<QByteArrayView> rest(QByteArrayView line) const
    {
        for (const QByteArray& prefix : {codePage, utf8})
            if (line.startsWith(prefix))
                return line.sliced(prefix.size());
        return std::nullopt;
    }
};

class LogReader {
public:
    explicit LogReader(QByteArrayView bytes) : m_bytes(bytes) {}
    LogReadResult run();
    bool readHeader();

private:
    std::optional<QByteArrayView> nextLine();
    void readLine(QByteArrayView line);
    bool readData(QByteArrayView line);
    bool readMark(QByteArrayView line);
    void readDateMark(QByteArrayView rest);
    void followLaterHeader(QByteArrayView line);
    void addSample(const std::array<float, kLogValueCount>& values, LogDays::Moment moment);
    void findBreaks();

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    qsizetype m_lineNumber = 0;
    LogHistory m_history;
    std::optional<LogDays> m_days;
    std::vector<qsizetype> m_markBreaks;
    bool m_breakPending = false;
    const MarkPrefix m_outageBegins{QStringLiteral("# regulátor neodpovídá od ")};
    const MarkPrefix m_outageEnds{QStringLiteral("# regulátor odpovídá od ")};
    const MarkPrefix m_dateMark{QStringLiteral("# datum a čas ")};
};

// A last line without its line end is one the writer has not finished.
std::optional<QByteArrayView> LogReader::nextLine()
{
    if (m_at >= m_bytes.size())
        return std::nullopt;
    const QByteArrayView rest = m_bytes.sliced(m_at);
    const auto* end = static_cast<const char*>(std::memchr(rest.data(), '\n', size_t(rest.size())));
    if (!end) {
        m_at = m_bytes.size();
        ++m_history.skippedLines;
        return std::nullopt;
    }
    QByteArrayView line = rest.first(end - rest.data());
    m_at += line.size() + 1;
    ++m_lineNumber;
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

bool LogReader::readHeader()
{
    for (int number = 1; number <= kHeaderLines; ++number) {
        const auto line = nextLine();
        if (!line)
            return number > kProductLine;
        if (number != kProductLine)
            continue;
        if (!line->startsWith(kProductPrefix))
            return false;
        const auto date = log_fields::parseLogDate(QString::fromLatin1(line->sliced(kProductPrefix.size())));
        if (!date)
            return false;
        m_history.firstDay = date->day;
        m_days.emplace(date->day, date->certain);
    }
    return true;
}

LogReadResult LogReader::run()
{
    const auto lines = std::count(m_bytes.begin(), m_bytes.end(), '\n');
    if (!readHeader())
        return LogFault::NotALog;
    m_history.times.reserve(size_t(lines));
    for (auto& values : m_history.values)
        values.reserve(size_t(lines));
    while (const auto line = nextLine())
        readLine(*line);
    if (m_history.size() == 0 && m_history.skippedLines > 0)
        return LogFault::NoMeasurements;
    findBreaks();
    return std::move(m_history);
}

// A line that is neither data nor a mark is skipped and counted.
void LogReader::readLine(QByteArrayView line)
{
    if (readData(line) || readMark(line))
        return;
    followLaterHeader(line);
    ++m_history.skippedLines;
}

bool LogReader::readData(QByteArrayView line)
{
    std::array<float, kLogValueCount> values{};
    for (float& value : values) {
        const auto parsed = log_fields::takeValue(line);
        if (!parsed)
            return false;
        value = *parsed;
    }
    const auto second = log_fields::parseTimeOfDay(line);
    if (!second)
        return false;
    addSample(values, m_days->place(*second));
    return true;
}

void LogReader::addSample(const std::array<float, kLogValueCount>& values, LogDays::Moment moment)
{
    const qsizetype sample = m_history.size();
    if (!moment.certain && m_history.undatedSamples++ == 0)
        m_history.firstUndatedLine = m_lineNumber;
    if (m_history.offsets.empty() || m_history.offsets.back().offsetSeconds != moment.offsetSeconds)
        m_history.offsets.push_back({sample, moment.offsetSeconds});
    if (m_breakPending && sample > 0)
        m_markBreaks.push_back(sample);
    m_breakPending = false;
    m_history.times.push_back(moment.utcSeconds);
    for (size_t i = 0; i < values.size(); ++i)
        m_history.values[i].push_back(values[i]);
}

// Any line starting with "# " is a mark, never data nor garbage. The times of
// the outage marks count for the days like those of data lines.
bool LogReader::readMark(QByteArrayView line)
{
    if (!line.startsWith("# "))
        return false;
    if (const auto date = m_dateMark.rest(line)) {
        readDateMark(*date);
        return true;
    }
    const auto begins = m_outageBegins.rest(line);
    const auto rest = begins ? begins : m_outageEnds.rest(line);
    if (!rest)
        return true;
    if (const auto second = log_fields::parseTimeOfDay(*rest))
        m_days->place(*second);
    if (begins) {
        ++m_history.outages;
        m_breakPending = true;
        m_days->outage();
    }
    return true;
}

// A mark that cannot be read leaves the dates to the times, as without it.
void LogReader::readDateMark(QByteArrayView rest)
{
    const QDateTime moment = QDateTime::fromString(QString::fromLatin1(rest.trimmed()), Qt::ISODate);
    if (moment.isValid() && moment.timeSpec() != Qt::LocalTime)
        m_days->mark(moment);
}

// A second header, from a log that was joined to another, is skipped like
// garbage, but its day carries the times after it forward.
void LogReader::followLaterHeader(QByteArrayView line)
{
    if (!line.startsWith(kProductPrefix))
        return;
    if (const auto date = log_fields::parseLogDate(QString::fromLatin1(line.sliced(kProductPrefix.size()))))
        m_days->restartOn(date->day, date->certain);
}

// A step is a gap when it is more than three times the shorter of the steps
// beside it: the logging interval where the line runs, whatever interval the
// log was written with.
void LogReader::findBreaks()
{
    const std::vector<qint64>& t = m_history.times;
    const auto step = [&t](size_t i) -> qint64 { return i >= 1 && i < t.size() ? t[i] - t[i - 1] : 0; };
    std::vector<qsizetype> gaps;
    for (size_t i = 1; i < t.size(); ++i) {
        qint64 shorter = std::numeric_limits<qint64>::max();
        for (const qint64 beside : {step(i - 1), step(i + 1)})
            if (beside > 0)
                shorter = std::min(shorter, beside);
        if (shorter != std::numeric_limits<qint64>::max() && step(i) > kGapIntervals * shorter)
            gaps.push_back(qsizetype(i));
    }
    std::merge(gaps.begin(), gaps.end(), m_markBreaks.begin(), m_markBreaks.end(),
               std::back_inserter(m_history.breaks));
    m_history.breaks.erase(std::unique(m_history.breaks.begin(), m_history.breaks.end()),
                           m_history.breaks.end());
}

} // namespace

int LogHistory::utcOffset(qsizetype sample) const
{
    const auto after = std::upper_bound(offsets.begin(), offsets.end(), sample,
                                        [](qsizetype s, const OffsetChange& c) { return s < c.firstSample; });
    return after == offsets.begin() ? 0 : std::prev(after)->offsetSeconds;
}

QDateTime LogHistory::localTime(qsizetype sample) const
{
    return QDateTime::fromSecsSinceEpoch(times[size_t(sample)], Qt::OffsetFromUTC, utcOffset(sample));
}

QDateTime LogHistory::localTimeAt(double seconds) const
{
    const qsizetype sample = std::max<qsizetype>(upperBound(seconds) - 1, 0);
    return QDateTime::fromSecsSinceEpoch(qint64(std::floor(seconds)), Qt::OffsetFromUTC, utcOffset(sample));
}

qsizetype LogHistory::lowerBound(double seconds) const
{
    return std::lower_bound(times.begin(), times.end(), seconds,
                            [](qint64 t, double s) { return double(t) < s; }) -
           times.begin();
}

qsizetype LogHistory::upperBound(double seconds) const
{
    return std::upper_bound(times.begin(), times.end(), seconds,
                            [](double s, qint64 t) { return s < double(t); }) -
           times.begin();
}

LogReadResult readLogHistory(QByteArrayView bytes)
{
    return LogReader(bytes).run();
}

// Read whole rather than mapped: a file that another program cuts short
// while it is read must not bring this one down. A file that does not start
// as a log is not read further, however large.
LogReadResult readLogFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LogFault::Unreadable;
    if (!LogReader(file.peek(kHeaderPeek)).readHeader())
        return file.error() == QFileDevice::NoError ? LogFault::NotALog : LogFault::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LogFault::Unreadable;
    return readLogHistory(bytes);
}

QString logFaultMessage(LogFault fault, const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    if (fault == LogFault::Unreadable)
        return QCoreApplication::translate("LogHistory", "Soubor %1 nelze přečíst.").arg(name);
    if (fault == LogFault::NoMeasurements)
        return QCoreApplication::translate("LogHistory", "V záznamu %1 není žádný čitelný řádek s měřením.")
            .arg(name);
    return QCoreApplication::translate("LogHistory", "Soubor %1 není záznam měření.").arg(name);
}

QString logSummary(const LogHistory& history)
{
    QString text = QCoreApplication::translate("LogHistory", "Řádků s měřením: %L1, vynechaných řádků: %L2")
                       .arg(history.size())
                       .arg(history.skippedLines);
    if (history.outages > 0)
        text += QCoreApplication::translate("LogHistory", ", výpadků regulátoru: %L1").arg(history.outages);
    if (history.undatedSamples > 0)
        text += QCoreApplication::translate("LogHistory", ", datum odhadnuto u %L1 měření od řádku %L2")
                    .arg(history.undatedSamples)
                    .arg(history.firstUndatedLine);
    return text;
}
