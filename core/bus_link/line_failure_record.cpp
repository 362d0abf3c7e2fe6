#include "line_failure_record.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace line_failure_record {
namespace {

using Clock = PortIo::Clock;
using Ms = std::chrono::milliseconds;

constexpr int kLockWaitMs = 500;
constexpr int kLongestRead = 255;
const QLatin1String kFileName("kv36-line-failures");

// Per user and gone at the next boot where the system has such a place.
QString directory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) : runtime;
}

qint64 wallMs(Clock::time_point at)
{
    return QDateTime::currentMSecsSinceEpoch() + std::chrono::duration_cast<Ms>(at - Clock::now()).count();
}

Clock::time_point steadyAt(qint64 ms) { return Clock::now() + Ms(ms - QDateTime::currentMSecsSinceEpoch()); }

qint64 wallOrZero(const std::optional<Clock::time_point>& at) { return at ? wallMs(*at) : 0; }

// A failure from the future (a clock set back) counts as just now; one older
// than the doubt lasts counts no more.
std::optional<Clock::time_point> failedAt(qint64 ms)
{
    if (ms == 0)
        return std::nullopt;
    const auto at = std::min(steadyAt(ms), Clock::now());
    if (Clock::now() - at >= bus_protocol::kDoubtAfterFailure)
        return std::nullopt;
    return at;
}

// "A:owedUntil,holdBack,readFailedAt,writeFailedAt ...\tdevice", a station a
// field, only the stations whose failures matter.
QByteArray entry(const QString& device, const bus_protocol::LineFailure& failure)
{
    QList<QByteArray> stations;
    for (const auto& [address, kept] : failure) {
        stations.append(QByteArray::number(address) + ':' + QByteArray::number(wallOrZero(kept.owedUntil)) + ',' +
                        QByteArray::number(kept.holdBack) + ',' + QByteArray::number(wallOrZero(kept.readFailedAt)) +
                        ',' + QByteArray::number(wallOrZero(kept.writeFailedAt)));
    }
    return stations.join(' ') + '\t' + device.toUtf8() + '\n';
}

std::optional<bus_protocol::StationFailure> parseStation(const QList<QByteArray>& fields)
{
    if (fields.size() != 4)
        return std::nullopt;
    bus_protocol::StationFailure failure;
    const auto longest = bus_protocol::kLongestHoldBack * PortIo::lateAnswerWindow(kLongestRead);
    const qint64 owedMs = fields[0].toLongLong();
    const auto owedUntil = std::min(steadyAt(owedMs), Clock::now() + longest);
    if (owedMs != 0 && owedUntil > Clock::now())
        failure.owedUntil = owedUntil;
    failure.holdBack = fields[1].toInt();
    failure.readFailedAt = failedAt(fields[2].toLongLong());
    failure.writeFailedAt = failedAt(fields[3].toLongLong());
    if (!failure.owedUntil && !failure.readFailedAt && !failure.writeFailedAt)
        return std::nullopt;
    return failure;
}

// The stations whose failures still matter; nothing when none does or the
// line is not understood.
std::optional<bus_protocol::LineFailure> parse(const QByteArray& line)
{
    bus_protocol::LineFailure failure;
    for (const QByteArray& field : line.split(' ')) {
        const qsizetype colon = field.indexOf(':');
        bool ok = false;
        const int address = field.left(colon).toInt(&ok);
        if (colon < 1 || !ok || address < 0 || address > 255)
            return std::nullopt;
        if (const auto station = parseStation(field.mid(colon + 1).split(',')))
            failure.emplace(static_cast<uint8_t>(address), *station);
    }
    return failure.empty() ? std::nullopt : std::optional(failure);
}

// Each kept line with its device.
QList<std::pair<QString, QByteArray>> entries()
{
    QFile file(QDir(directory()).filePath(kFileName));
    QList<std::pair<QString, QByteArray>> kept;
    if (!file.open(QIODevice::ReadOnly))
        return kept;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab > 0)
            kept.append({QString::fromUtf8(line.mid(tab + 1)), line.left(tab)});
    }
    return kept;
}

} // namespace

std::optional<bus_protocol::LineFailure> read(const QString& device)
{
    for (const auto& [kept, fields] : entries()) {
        if (kept != device)
            continue;
        return parse(fields);
    }
    return std::nullopt;
}

void write(const QString& device, const bus_protocol::LineFailure& failure)
{
    if (!QDir().mkpath(directory()))
        return;
    const QString path = QDir(directory()).filePath(kFileName);
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return;
    QByteArray content = entry(device, failure);
    for (const auto& [kept, fields] : entries()) {
        const auto other = parse(fields);
        if (kept != device && other)
            content += entry(kept, *other);
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
        file.commit();
}

} // namespace line_failure_record
