#include "raw_pty.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace raw_pty {
namespace {

constexpr int kReplyTimeoutMs = 1000;

// Table 16 from address 0 to address 0, framing correct.
constexpr std::array<uint8_t, kReplyLength> kReply{
    0x68, 0x15, 0x15, 0x68, 0x00, 0x00, 0x08, 0x42, 0x35, 0x00, 0x00, 0xC1, 0x48, 0x00,
    0x00, 0x01, 0x42, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4D, 0x16};

bool makeRaw(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

void writeAll(int fd, const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
}

} // namespace

Responder::Responder()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::pipe(m_stopPipe) != 0)
        return;
    m_slavePath = ::ptsname(m_master);
    // Held open so that the master never reports a hang-up between requesters.
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (m_slave < 0 || !makeRaw(m_slave))
        return;
    m_thread = std::thread([this] { serve(); });
}

Responder::~Responder()
{
    if (m_thread.joinable()) {
        const uint8_t stop = 1;
        writeAll(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    for (int fd : {m_slave, m_master, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
}

void Responder::serve()
{
    uint8_t buffer[256];
    int pending = 0;
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN)
            return;
        if (!(fds[0].revents & POLLIN))
            continue;
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            continue;
        pending += static_cast<int>(got);
        for (; pending >= kRequestLength; pending -= kRequestLength)
            writeAll(m_master, kReply.data(), kReply.size());
    }
}

Requester::Requester(const std::string& path)
{
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd >= 0 && !makeRaw(m_fd)) {
        ::close(m_fd);
        m_fd = -1;
    }
}

Requester::~Requester()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Requester::exchange(const std::array<uint8_t, kRequestLength>& request)
{
    return exchange(request, kReplyLength);
}

bool Requester::exchange(const std::array<uint8_t, kRequestLength>& request, int replyLength)
{
    ::tcflush(m_fd, TCIOFLUSH);
    writeAll(m_fd, request.data(), request.size());
    uint8_t reply[256];
    int got = 0;
    while (got < replyLength) {
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, kReplyTimeoutMs) <= 0)
            return false;
        const ssize_t count = ::read(m_fd, reply + got, static_cast<size_t>(replyLength - got));
        if (count > 0)
            got += static_cast<int>(count);
    }
    return true;
}

} // namespace raw_pty
