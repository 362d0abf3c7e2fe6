#pragma once

#include <string>
#include <string_view>

class Regulator;
struct LineFaults;

// The control channel on stdin: one command a line, each answered by exactly
// one line "OK", "OK <data>" or "ERR <why>". A command acts on one station,
// its regulator and the faults of its answers; "baud" on the whole line.
class Control {
public:
    Control(Regulator& regulator, LineFaults& faults, int& lineBaud);

    struct Result {
        std::string reply;
        bool quit = false;
    };

    [[nodiscard]] Result execute(std::string_view line);

private:
    Regulator& m_regulator;
    LineFaults& m_faults;
    int& m_lineBaud;
};
