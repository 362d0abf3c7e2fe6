#pragma once

#include <termios.h>

#include <string>
#include <vector>

// A pseudo-terminal whose slave side stands for the regulator's end of the serial line.
// The simulator holds the slave open itself, so the master never sees a hang-up
// when a client closes the port. The slave's settings would then outlive a client
// that could not restore them (one killed): each client that goes is followed by
// the raw settings and the end of exclusive use, so the next one opens as the first.
class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Empty on success, else why it failed.
    [[nodiscard]] std::string open();
    [[nodiscard]] int masterFd() const;
    [[nodiscard]] const std::string& slavePath() const;
    // Readable when a client has closed the slave; then call restoreAfterClient.
    [[nodiscard]] int clientGoneFd() const;
    void restoreAfterClient();

    // Symbolic link to the slave, replacing whatever was there; removed on destruction.
    [[nodiscard]] std::string addLink(const std::string& linkPath);
    void removeLinks();

private:
    int m_master = -1;
    int m_slave = -1;
    int m_closeWatch = -1;
    termios m_rawSettings{};
    std::string m_slavePath;
    std::vector<std::string> m_links;
};

// Where the program looks up "COMn": $KV36_PORT_DIR, else ${XDG_CONFIG_HOME:-$HOME/.config}/Talvex_R16/ports.
std::string comPortDirectory();
// Creates the directory and its parents when missing; empty on success, else why not.
std::string makeDirectories(const std::string& path);
