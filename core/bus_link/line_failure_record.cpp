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

// "until onlyProbes probedInVain holdBack readFailedAt writeFailedAt\tdevice"
QByteArray entry(const QString& device, const bus_protocol::LineFailure& failure)
{
    return QByteArray::number(wallMs(failure.answerUntil)) + ' ' + (failure.onlyProbes ? "1 " : "0 ") +
           QByteArray::fromStdString(failure.probedInVain.to_string()) + ' ' + QByteArray::number(failure.holdBack) +
           ' ' + QByteArray::number(wallOrZero(failure.readFailedAt)) + ' ' +
           QByteArray::number(wallOrZero(failure.writeFailedAt)) + '\t' + device.toUtf8() + '\n';
}

std::optional<bus_protocol::LineFailure> parse(const QByteArray& line)
{
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 6)
        return std::nullopt;
    bus_protocol::LineFailure failure;
    const auto longest = bus_protocol::kLongestHoldBack * PortIo::lateAnswerWindow(kLongestRead);
    const auto until = std::min(steadyAt(fields[0].toLongLong()), Clock::now() + longest);
    failure.answerUntil = until;
    failure.onlyProbes = fields[1] == "1";
    failure.probedInVain = std::bitset<256>(fields[2].toStdString(), 0, std::string::npos, '0', '1');
    failure.holdBack = fields[3].toInt();
    failure.readFailedAt = failedAt(fields[4].toLongLong());
    failure.writeFailedAt = failedAt(fields[5].toLongLong());
    return failure;
}

bool matters(const bus_protocol::LineFailure& failure)
{
    return failure.answerUntil > Clock::now() || failure.readFailedAt || failure.writeFailedAt;
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
        const auto failure = parse(fields);
        return failure && matters(*failure) ? failure : std::nullopt;
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
        if (kept != device && other && matters(*other))
            content += entry(kept, *other);
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
        file.commit();
}

} // namespace line_failure_record
