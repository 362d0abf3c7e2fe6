#include "measurement_log.h"

#include "app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Bytes compared at the end of the file before appending: together with the
// size and the modification time they tell a file changed behind the
// program's back (rewritten, truncated, replaced) at a constant cost.
constexpr qsizetype kTailLength = 256;

const char* const kCodePage = "windows-1250";

} // namespace

MeasurementLog::MeasurementLog() : m_encoder(kCodePage) {}

void MeasurementLog::clear()
{
    m_lines.clear();
    m_written.reset();
}

void MeasurementLog::addLine(const QString& text)
{
    const QByteArray bytes = m_encoder.encode(text);
    m_lines.append(bytes);
}

QString MeasurementLog::line(qsizetype index) const
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(m_lines.line(index));
}

void MeasurementLog::save()
{
    if (rewrite())
        m_reportedFailure.clear();
    else
        fail(true);
}

void MeasurementLog::update()
{
    if (append() || rewrite())
        m_reportedFailure.clear();
    else
        fail(false);
}

void MeasurementLog::fail(bool always)
{
    const QString message = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(m_fileName));
    const bool reported = message == m_reportedFailure;
    m_reportedFailure = message;
    if (always || !reported)
        throw AppError(message);
}

bool MeasurementLog::rewrite()
{
    m_written.reset();
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || !m_lines.writeFrom(0, file) || !file.commit())
        return false;
    remember(QFileInfo(m_fileName).lastModified());
    return true;
}

bool MeasurementLog::append()
{
    if (!m_written || m_written->fileName != m_fileName)
        return false;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || !fileIsAsWritten(file))
        return false;
    const qint64 from = m_written->size;
    m_written.reset();
    if (!file.seek(from) || !m_lines.writeFrom(from, file) || !file.flush())
        return false;
    remember(file.fileTime(QFileDevice::FileModificationTime));
    return true;
}

bool MeasurementLog::fileIsAsWritten(QFile& file) const
{
    if (file.size() != m_written->size || file.fileTime(QFileDevice::FileModificationTime) != m_written->modified)
        return false;
    const qsizetype length = std::min<qint64>(kTailLength, m_written->size);
    if (!file.seek(m_written->size - length))
        return false;
    // The bytes the program wrote last end where the file ends.
    return file.read(length) == m_lines.tail(m_lines.byteSize() - m_written->size + length).first(length);
}

void MeasurementLog::remember(const QDateTime& modified)
{
    m_written = Written{m_fileName, m_lines.byteSize(), modified};
}
