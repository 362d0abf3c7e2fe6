#pragma once

#include "log_dating.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringEncoder>

// The measurement log of a run without a window: the header and lines of the
// main window's log, in the same bytes, appended to the file as they come
// instead of being held, so that a run of months needs no more memory than a
// run of minutes. The file is opened for each line: one that was moved away
// or deleted starts again with the header, one that exists is continued.
// With daily files the day goes into the name before the extension, and each
// day's file has that day in its header. A write that fails leaves the file
// as it was, and its lines wait, the newest kWaitingLimit of them, for the
// next write to the same file. Date marks go in as the main window's log
// has them, and before the first line of each run, which may continue a file
// of another day.
class AppendedLog {
public:
    static constexpr qsizetype kWaitingLimit = 10000;

    AppendedLog(const QString& fileName, bool daily);

    QString fileNameFor(const QDate& day) const;
    // Opens the day's file for appending, creating it empty; false when it
    // cannot be written.
    [[nodiscard]] bool canWrite(const QDate& day);
    // The line, stamped `at`, goes after any that are still waiting; false
    // when the file could not be written.
    [[nodiscard]] bool append(const QString& line, const QDateTime& at);
    QString errorString() const { return m_error; }

private:
    struct Waiting {
        QDateTime at;
        QByteArray line;
    };

    [[nodiscard]] bool writeWaiting(const QDate& day);
    QByteArray encoded(const QString& line);

    QString m_fileName;
    bool m_daily;
    QStringEncoder m_encoder;
    QString m_target; // the file the waiting lines belong to
    QList<Waiting> m_waiting;
    // Of the lines in m_target's file.
    LogDating m_dating;
    QString m_error;
};
