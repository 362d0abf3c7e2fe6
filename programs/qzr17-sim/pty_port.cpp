#include "pty_port.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string failure(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

std::string readLink(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length < 0 ? std::string() : std::string(target, static_cast<size_t>(length));
}

} // namespace

PtyPort::~PtyPort()
{
    removeLinks();
    if (m_closeWatch >= 0)
        ::close(m_closeWatch);
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

std::string PtyPort::open()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return failure("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return failure("grantpt/unlockpt");
    const char* name = ::ptsname(m_master);
    if (!name)
        return failure("ptsname");
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return failure("open " + m_slavePath);
    if (::tcgetattr(m_slave, &m_rawSettings) != 0)
        return failure("tcgetattr");
    ::cfmakeraw(&m_rawSettings);
    if (::tcsetattr(m_slave, TCSANOW, &m_rawSettings) != 0)
        return failure("tcsetattr");
    // Watched only after our own open, so that only clients count.
    m_closeWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_closeWatch < 0 || ::inotify_add_watch(m_closeWatch, name, IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0)
        return failure("inotify");
    // A reply to a port nobody reads must not block the simulator.
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return failure("fcntl");
    return {};
}

int PtyPort::masterFd() const
{
    return m_master;
}

const std::string& PtyPort::slavePath() const
{
    return m_slavePath;
}

int PtyPort::clientGoneFd() const
{
    return m_closeWatch;
}

void PtyPort::restoreAfterClient()
{
    char events[4096];
    while (::read(m_closeWatch, events, sizeof events) > 0) {
    }
    ::tcsetattr(m_slave, TCSANOW, &m_rawSettings);
    ::ioctl(m_slave, TIOCNXCL);
}

std::string PtyPort::addLink(const std::string& linkPath)
{
    // Made beside the link under a temporary name and renamed over it, so the name never dangles.
    const std::string temporary = linkPath + ".qzr17-sim." + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(m_slavePath.c_str(), temporary.c_str()) != 0)
        return failure("symlink " + temporary);
    if (::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        const std::string why = failure("rename to " + linkPath);
        ::unlink(temporary.c_str());
        return why;
    }
    m_links.push_back(linkPath);
    return {};
}

void PtyPort::removeLinks()
{
    // A link that another simulator has taken over since is left to it.
    for (const std::string& link : m_links) {
        if (readLink(link) == m_slavePath)
            ::unlink(link.c_str());
    }
    m_links.clear();
}

std::string comPortDirectory()
{
    if (const char* dir = std::getenv("KV36_PORT_DIR"); dir && *dir)
        return dir;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    else
        config = ".config";
    return config + "/Talvex_R16/ports";
}

std::string makeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
            return failure("mkdir " + prefix);
        if (slash == std::string::npos)
            return {};
    }
}
