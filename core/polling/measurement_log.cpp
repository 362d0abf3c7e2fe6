#include "measurement_log.h"

#include "app_error.h"
#include "log_lines.h"

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

} // namespace

MeasurementLog::MeasurementLog() : m_encoder(log_lines::kCodePage) {}

void MeasurementLog::clear()
{
    m_lines.clear();
    m_dating.reset();
    m_written.reset();
}

void MeasurementLog::addLine(const QString& text)
{
    const QByteArray bytes = m_encoder.encode(text);
    m_lines.append(bytes);
}

void MeasurementLog::addLine(const QString& text, const QDateTime& at)
{
    if (const auto mark = m_dating.markBefore(at))
        addLine(*mark);
    addLine(text);
}

QString MeasurementLog::line(qsizetype index) const
{
    QStringDecoder decoder(log_lines::kCodePage);
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
    const Appended appended = append();
    // A rewrite needs room for a second copy: after a write that failed on
    // the program's own file it could only fail too.
    if (appended == Appended::Yes || (appended == Appended::NotOurFile && rewrite()))
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

// QSaveFile::commit() can report success after its buffered write failed and
// then replace the file with an empty one: the temporary file must hold every
// byte before it replaces anything. Until then the old file stays as it was.
bool MeasurementLog::rewrite()
{
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (!m_lines.writeFrom(0, file) || !file.flush() || file.error() != QFileDevice::NoError
        || file.size() != m_lines.byteSize()) {
        file.cancelWriting();
        return false;
    }
    m_written.reset();
    if (!file.commit())
        return false;
    remember(m_lines.byteSize(), QFileInfo(m_fileName).lastModified());
    return true;
}

MeasurementLog::Appended MeasurementLog::append()
{
    if (!m_written || m_written->fileName != m_fileName)
        return Appended::NotOurFile;
    // Unbuffered: a write the disk refused must not stay in a buffer that
    // would keep the file from being cut back.
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered) || !fileIsAsWritten(file))
        return Appended::NotOurFile;
    const qint64 from = m_written->size;
    if (file.seek(from) && m_lines.writeFrom(from, file) && file.flush() && file.size() == m_lines.byteSize()) {
        remember(m_lines.byteSize(), file.fileTime(QFileDevice::FileModificationTime));
        return Appended::Yes;
    }
    // Cut back to the last whole line written, so that the file is still
    // the program's own earlier state and the missing lines follow later.
    m_written.reset();
    if (file.resize(from) && file.size() == from)
        remember(from, file.fileTime(QFileDevice::FileModificationTime));
    return Appended::WriteFailed;
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

void MeasurementLog::remember(qint64 size, const QDateTime& modified)
{
    m_written = Written{m_fileName, size, modified};
}
