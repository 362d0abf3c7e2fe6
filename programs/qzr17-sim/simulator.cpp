#include "simulator.h"

#include "hex.h"
#include "stop_signal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <random>
#include <utility>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The clock and the measured values are computed when read; the tick only bounds a wait.
constexpr int kTickMs = 200;
// A master that reports a hang-up is left alone this long, so the loop never spins on it.
constexpr auto kHangUpPause = std::chrono::milliseconds(20);
constexpr size_t kReadChunk = 512;
constexpr size_t kTableHeaderEnd = 11; // SD2 framing (7) + service, table, length, 0
constexpr size_t kSd2DestinationAt = 4;

void printLine(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

uint64_t seedFrom(const SimOptions& options)
{
    return options.seed ? *options.seed : (uint64_t{std::random_device{}()} << 32) ^ std::random_device{}();
}

} // namespace

Simulator::Simulator(const SimOptions& options)
    : m_options(options)
{
    m_stations.reserve(options.stations.size());
    for (const StationOptions& station : options.stations) {
        Regulator& regulator =
            m_stations.emplace_back(Station{Regulator(station.address, station.variant), station.faults}).regulator;
        for (const int table : station.refusedTables)
            regulator.setRefused(table, true);
        regulator.setTypeText(station.typeText);
        regulator.setVersionText(station.versionText);
        regulator.setTypeSilent(station.typeSilent);
        regulator.setVersionSilent(station.versionSilent);
        regulator.setEepromRefused(station.eepromRefused);
    }
}

bool Simulator::setUp()
{
    installStopSignals();
    if (const std::string why = m_port.open(); !why.empty()) {
        std::fprintf(stderr, "qzr17-sim: %s\n", why.c_str());
        return false;
    }
    if (const std::string why = createLinks(); !why.empty()) {
        std::fprintf(stderr, "qzr17-sim: %s\n", why.c_str());
        return false;
    }
    printLine("PORT " + m_port.slavePath());
    return true;
}

std::string Simulator::createLinks()
{
    std::vector<std::string> links = m_options.links;
    if (m_options.comNumber) {
        const std::string dir = comPortDirectory();
        if (std::string why = makeDirectories(dir); !why.empty())
            return why;
        links.push_back(dir + "/COM" + std::to_string(*m_options.comNumber));
    }
    for (const std::string& link : links) {
        if (std::string why = m_port.addLink(link); !why.empty())
            return why;
    }
    return {};
}

int Simulator::run()
{
    if (!setUp())
        return 1;
    m_transmitter.emplace(m_port.masterFd(), seedFrom(m_options));
    m_transmitter->baud() = m_options.baud;

    while (!stopRequested() && !m_quit) {
        pollfd fds[4] = {{stopWakeFd(), POLLIN, 0}, {-1, POLLIN, 0}, {-1, POLLIN, 0},
                         {m_port.clientGoneFd(), POLLIN, 0}};
        if (Clock::now() >= m_lineResumesAt)
            fds[1].fd = m_port.masterFd();
        // A command is answered once every reply still due has gone out,
        // so that whoever changes the faults knows the old ones are done.
        if (m_controlOpen && !m_transmitter->nextDue())
            fds[2].fd = STDIN_FILENO;
        const int ready = ::poll(fds, 4, pollTimeoutMs());
        if (ready < 0 && errno != EINTR)
            break;
        if (ready > 0 && (fds[1].revents & POLLIN))
            serveLine();
        else if (ready > 0 && (fds[1].revents & (POLLHUP | POLLERR)))
            m_lineResumesAt = Clock::now() + kHangUpPause;
        if (ready > 0 && (fds[2].revents & (POLLIN | POLLHUP)))
            serveControl();
        if (ready > 0 && (fds[3].revents & POLLIN))
            m_port.restoreAfterClient();
        dropStaleBytes();
        m_transmitter->sendDue();
    }
    m_port.removeLinks();
    return 0;
}

int Simulator::pollTimeoutMs() const
{
    auto wait = std::chrono::milliseconds(kTickMs);
    const auto now = Clock::now();
    if (m_parser.pending()) {
        const auto idleEnd = m_parser.lastByteAt() + RequestParser::kIdleGap;
        wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(idleEnd - now));
    }
    if (m_lineResumesAt > now)
        wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(m_lineResumesAt - now));
    if (const auto due = m_transmitter->nextDue())
        wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(*due - now));
    return static_cast<int>(std::max<long>(wait.count(), 0));
}

void Simulator::serveLine()
{
    uint8_t chunk[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(m_port.masterFd(), chunk, sizeof chunk);
        if (count > 0) {
            m_parser.append(chunk, static_cast<size_t>(count), Clock::now());
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN)
            m_lineResumesAt = Clock::now() + kHangUpPause;
        break;
    }
    answerTelegrams();
}

void Simulator::answerTelegrams()
{
    while (const auto telegram = m_parser.next()) {
        for (Station& station : m_stations) {
            if (station.faults.silent)
                continue;
            station.regulator.handle(telegram->bytes, telegram->length, m_outcome);
            if (m_outcome.replyLength > 0)
                m_transmitter->send(m_outcome.reply.data(), m_outcome.replyLength, station.faults,
                                    telegram->firstByteAt, telegram->length);
            reportEvent(telegram->bytes);
        }
        m_parser.consume(telegram->length);
    }
}

// After a quiet gap no missing byte is still on its way: what does not form a
// telegram is noise, but a complete telegram behind it is still answered.
void Simulator::dropStaleBytes()
{
    while (m_parser.pending() && Clock::now() - m_parser.lastByteAt() >= RequestParser::kIdleGap) {
        m_parser.skipOne();
        answerTelegrams();
    }
}

// With several stations an event names the one it happened to; the address is
// the one the request went to, also when the write moved it.
void Simulator::reportEvent(const uint8_t* telegram)
{
    const std::string prefix =
        m_stations.size() > 1 ? "@" + std::to_string(telegram[kSd2DestinationAt]) + " " : std::string();
    switch (m_outcome.event) {
    case Regulator::Event::None:
        return;
    case Regulator::Event::Eeprom:
        printLine(prefix + "EEPROM");
        return;
    case Regulator::Event::Wrote:
        printLine(prefix + "WROTE " + std::to_string(m_outcome.table) + " "
                  + toHex(telegram + kTableHeaderEnd, tables::length(m_outcome.table)));
        return;
    case Regulator::Event::Refused:
        printLine(prefix + "REFUSED " + std::to_string(m_outcome.table) + " " + std::to_string(m_outcome.ackCode));
        return;
    }
}

void Simulator::serveControl()
{
    char chunk[kReadChunk];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR)
        return;
    if (count <= 0) {
        // Whoever started us stopped talking; the regulator goes on serving the line.
        m_controlOpen = false;
        if (!m_controlInput.empty())
            executeControlLine(std::exchange(m_controlInput, {}));
        return;
    }
    m_controlInput.append(chunk, static_cast<size_t>(count));
    for (size_t end = m_controlInput.find('\n'); end != std::string::npos && !m_quit;
         end = m_controlInput.find('\n')) {
        const std::string line = m_controlInput.substr(0, end);
        m_controlInput.erase(0, end + 1);
        executeControlLine(line);
    }
}

std::pair<Simulator::Station*, std::string_view> Simulator::stationFor(std::string_view line)
{
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] != '@')
        return {&m_stations.front(), line};
    line.remove_prefix(start + 1);
    const size_t end = std::min(line.find_first_of(" \t"), line.size());
    const auto address = parseInteger(line.substr(0, end), 0, tables::kBroadcast - 1);
    const auto station = std::ranges::find_if(m_stations, [&address](const Station& s) {
        return address && s.regulator.address() == *address;
    });
    return {station == m_stations.end() ? nullptr : &*station, line.substr(end)};
}

void Simulator::executeControlLine(std::string_view line)
{
    const auto [station, command] = stationFor(line);
    if (!station) {
        printLine("ERR no such station");
        return;
    }
    Control control(station->regulator, station->faults, m_transmitter->baud());
    const Control::Result result = control.execute(command);
    printLine(result.reply);
    m_quit = result.quit;
}
