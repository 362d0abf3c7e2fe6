#pragma once

#include "transmitter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One regulator on the line: its address, what sets it apart from the
// others, and the faults of its own answers.
struct StationOptions {
    uint8_t address = 0;
    int variant = 0; // place in the address list; the first keeps the factory values
    std::vector<int> refusedTables;
    LineFaults faults;
    std::string typeText;    // as sent on the wire
    std::string versionText; // as sent on the wire
    bool typeSilent = false;
    bool versionSilent = false;
    bool eepromRefused = false;
};

struct SimOptions {
    std::vector<StationOptions> stations; // in the order of the address list
    std::optional<int> comNumber;
    std::vector<std::string> links;
    std::optional<uint64_t> seed;
    int baud = 0;
    bool help = false;
};

struct ParsedOptions {
    SimOptions options;
    std::string error; // empty when the command line was usable
};

[[nodiscard]] ParsedOptions parseOptions(int argc, char** argv);
[[nodiscard]] const char* usageText();

// Number parsing shared with the control channel; whole text only, inside the bounds.
[[nodiscard]] std::optional<long long> parseInteger(std::string_view text, long long min, long long max);
[[nodiscard]] std::optional<double> parseRate(std::string_view text);
// "3,5,7" or "3-5,9": bus addresses 0..126 in the order given, none twice.
[[nodiscard]] std::optional<std::vector<uint8_t>> parseAddressList(std::string_view text);

// Text options: UTF-8 text as Windows-1250, or raw hex; nullopt when unusable or too long.
[[nodiscard]] std::optional<std::string> textFromUtf8(std::string_view text);
[[nodiscard]] std::optional<std::string> textFromHex(std::string_view hex);
