#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A serial server on loopback in front of a device (the simulator's
// pseudo-terminal): socat passing the bytes unchanged, an RFC 2217 server
// made of python3-serial's port manager, whose log tells the line settings
// and purges it applied, or Debian's ser2net speaking RFC 2217 in its default
// configuration, from a configuration file of its own. Each serves one
// connection at a time; killed and started again, it listens on the same
// port.
class SerialServer {
public:
    enum class Kind { RawTcp, Rfc2217, Ser2net };

    SerialServer(Kind kind, QString devicePath);
    ~SerialServer();
    SerialServer(const SerialServer&) = delete;
    SerialServer& operator=(const SerialServer&) = delete;

    [[nodiscard]] bool start(); // (again) false (with qWarning) unless it listens within 5 s
    void kill();                // SIGKILL: the connection drops
    QString address() const;    // "tcp://127.0.0.1:<port>" or "rfc2217://..."
    QString log();              // what the server printed so far

private:
    void startProcess();
    [[nodiscard]] bool awaitListening(qsizetype logBefore);

    Kind m_kind;
    QString m_devicePath;
    quint16 m_port = 0;
    QProcess m_process;
    QString m_log;
    QTemporaryDir m_configDir;
};
