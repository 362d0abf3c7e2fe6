#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the regulator simulator as a real process on a pseudo-terminal for end-to-end tests.
class SimProcess {
public:
    explicit SimProcess(QStringList args = {});
    ~SimProcess(); // terminates the process if still running
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    [[nodiscard]] bool start(); // false (with qWarning) when the executable is missing or prints no PORT line within 5 s
    QString portPath() const;   // the pty slave path from the PORT line
    QString command(const QString& line, int timeoutMs = 2000); // sends one control line, returns its OK/ERR reply line (events read meanwhile are queued)
    QByteArray table(int t);    // "get t" → bytes
    bool setTable(int t, const QByteArray& bytes);
    QString waitForEvent(const QString& prefix, int timeoutMs = 2000); // next queued/arriving event line starting with prefix, or empty on time-out
    QStringList events() const; // all event lines seen so far that were not consumed
    void kill();                // SIGKILL: the device vanishes
    void terminate();           // SIGTERM and wait
    static QString executablePath(); // KV36_SIM_PATH

private:
    // Reads what the process has written, up to `timeoutMs`, and files complete lines; false on time-out or exit.
    bool readLines(int timeoutMs);
    void fileLine(const QString& line);
    [[nodiscard]] static bool isReply(const QString& line);

    QStringList m_args;
    QProcess m_process;
    QByteArray m_partial;
    QStringList m_replies;
    QStringList m_events;
    QString m_portPath;
};
