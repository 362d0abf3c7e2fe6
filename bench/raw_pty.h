#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <thread>

// The least a table-16 exchange can cost on a pseudo-terminal: plain POSIX
// calls, no framing checks, no event loop.
namespace raw_pty {

constexpr int kRequestLength = 13;
constexpr int kReplyLength = 27; // 18 bytes of table 16 and 9 of framing

// A responder thread on a pty master: whenever 13 bytes have come, it writes
// 27 canned bytes back.
class Responder {
public:
    Responder();
    ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    bool isRunning() const { return m_thread.joinable(); }
    const std::string& slavePath() const { return m_slavePath; }

private:
    void serve();

    int m_master = -1;
    int m_slave = -1;
    int m_stopPipe[2] = {-1, -1};
    std::string m_slavePath;
    std::thread m_thread;
};

// The requester side, on any pty slave: purge, write 13 bytes, poll and read 27.
class Requester {
public:
    explicit Requester(const std::string& path);
    ~Requester();
    Requester(const Requester&) = delete;
    Requester& operator=(const Requester&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // One exchange with the given request; false when 27 bytes did not come within a second.
    bool exchange(const std::array<uint8_t, kRequestLength>& request);
    // The same for a read request of any table whose reply is replyLength bytes.
    bool exchange(const std::array<uint8_t, kRequestLength>& request, int replyLength);

private:
    int m_fd = -1;
};

} // namespace raw_pty
