#include "appended_log.h"

#include "encoded_lines.h"
#include "log_lines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

AppendedLog::AppendedLog(const QString& fileName, bool daily)
    : m_fileName(fileName), m_daily(daily), m_encoder(log_lines::kCodePage)
{
}

QString AppendedLog::fileNameFor(const QDate& day) const
{
    if (!m_daily)
        return m_fileName;
    const QFileInfo file(m_fileName);
    const QString dated = file.completeBaseName() + u'-' + day.toString(Qt::ISODate);
    return file.dir().filePath(file.suffix().isEmpty() ? dated : dated + u'.' + file.suffix());
}

bool AppendedLog::canWrite(const QDate& day)
{
    QFile file(fileNameFor(day));
    if (file.open(QIODevice::Append))
        return true;
    m_error = file.errorString();
    return false;
}

bool AppendedLog::append(const QString& line, const QDateTime& at)
{
    const QString target = fileNameFor(at.date());
    // Lines of a day gone by that still cannot be written have no file left.
    if (target != m_target) {
        m_waiting.clear();
        m_dating.reset();
        m_target = target;
    }
    m_waiting.append({at, encoded(line)});
    if (m_waiting.size() > kWaitingLimit)
        m_waiting.removeFirst();
    return writeWaiting(at.date());
}

// Unbuffered, so that bytes the disk refused stay in no buffer: the file is
// cut back to where it was and keeps only whole lines.
bool AppendedLog::writeWaiting(const QDate& day)
{
    QFile file(m_target);
    if (!file.open(QIODevice::Append | QIODevice::Unbuffered)) {
        m_error = file.errorString();
        return false;
    }
    const qint64 before = file.size();
    QByteArray bytes;
    LogDating dating = m_dating;
    if (before == 0) {
        const QString name = QDir::toNativeSeparators(QFileInfo(m_target).absoluteFilePath());
        for (const QString& line : log_lines::header(name, day))
            bytes += encoded(line);
        dating.reset();
    }
    for (const Waiting& waiting : std::as_const(m_waiting)) {
        if (const auto mark = dating.markBefore(waiting.at))
            bytes += encoded(*mark);
        bytes += waiting.line;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        m_error = file.errorString();
        file.resize(before);
        return false;
    }
    m_dating = dating;
    m_waiting.clear();
    return true;
}

QByteArray AppendedLog::encoded(const QString& line)
{
    QByteArray bytes = m_encoder.encode(line);
    return bytes.append(EncodedLines::kLineEnd);
}
