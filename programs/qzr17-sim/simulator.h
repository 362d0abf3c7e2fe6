#pragma once

#include "control.h"
#include "options.h"
#include "pty_port.h"
#include "regulator.h"
#include "request_parser.h"
#include "transmitter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The process around the regulators: the pty, the poll loop over the line and
// the control channel. Every station on the line hears every request; the one
// it is addressed to answers.
class Simulator {
public:
    explicit Simulator(const SimOptions& options);

    // Runs until quit or SIGINT/SIGTERM; the exit code.
    int run();

private:
    [[nodiscard]] bool setUp();
    [[nodiscard]] std::string createLinks(); // empty on success, else why not
    void serveLine();
    void answerTelegrams();
    void dropStaleBytes();
    void serveControl();
    void executeControlLine(std::string_view line);
    void reportEvent(const uint8_t* telegram);
    [[nodiscard]] int pollTimeoutMs() const;

    struct Station {
        Regulator regulator;
        LineFaults faults;
    };
    // The station a control line is for ("@A command"), and the command; null when A is no station.
    [[nodiscard]] std::pair<Station*, std::string_view> stationFor(std::string_view line);

    SimOptions m_options;
    PtyPort m_port;
    std::vector<Station> m_stations;
    RequestParser m_parser;
    std::optional<Transmitter> m_transmitter; // exists once the port is open
    Regulator::Outcome m_outcome{};
    std::string m_controlInput;
    bool m_controlOpen = true;
    bool m_quit = false;
    RequestParser::Clock::time_point m_lineResumesAt{};
};
