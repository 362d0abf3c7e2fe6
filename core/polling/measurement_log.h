#pragma once

#include "encoded_lines.h"
#include "log_dating.h"

#include <QDateTime>
#include <QString>
#include <QStringEncoder>

#include <optional>

// The measurement log: its lines, held as the Windows-1250 bytes of the file,
// and the file they go to. After every successful write the file holds
// exactly the bytes of the whole log. Lines are appended when the file is
// still the one written last; otherwise, and on every explicit save, the
// whole log is rewritten through a temporary file that then replaces it.
// A write that fails (a full disk) leaves the file as it was before: never
// empty, never cut inside a line; the next update appends what is missing.
class MeasurementLog {
public:
    MeasurementLog();

    void clear();
    void addLine(const QString& text);
    // A data line or an outage mark stamped `at`, after a date mark where the
    // line's date could not be told otherwise.
    void addLine(const QString& text, const QDateTime& at);
    qsizetype lineCount() const { return m_lines.count(); }
    QString line(qsizetype index) const;
    qint64 byteSize() const { return m_lines.byteSize(); }

    QString fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    // Rewrites the whole file. Raises the application error "Cannot create
    // file ..." when it cannot.
    void save();
    // Brings the file up to date after new lines. Raises the same error, but
    // only when it differs from the failure reported last: a file that keeps
    // failing at every line is reported once.
    void update();

private:
    // What the program knows of the file it wrote last.
    struct Written {
        QString fileName;
        qint64 size = 0;
        QDateTime modified;
    };

    enum class Appended { Yes, NotOurFile, WriteFailed };

    [[nodiscard]] bool rewrite();
    [[nodiscard]] Appended append();
    [[nodiscard]] bool fileIsAsWritten(class QFile& file) const;
    void remember(qint64 size, const QDateTime& modified);
    void fail(bool always);

    EncodedLines m_lines;
    LogDating m_dating;
    QStringEncoder m_encoder;
    QString m_fileName;
    std::optional<Written> m_written;
    QString m_reportedFailure;
};
