#include "options.h"

#include "hex.h"
#include "regulator.h"
#include "tables.h"
#include "texts.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <climits>
#include <functional>
#include <map>

namespace {

constexpr long long kMaxLateMs = 600'000;
constexpr long long kMaxNoise = 512;
constexpr long long kMaxBaud = 4'000'000;
constexpr long long kMaxComNumber = 255;
constexpr uint8_t kMaxAddress = 126;
constexpr int kFirmwareDays = 28; // every day number is valid in every month

// What a station's options decide only once all of them are read.
struct StationPending {
    std::optional<std::string> explicitVersion;
    std::string firmwareDate;
};

struct Station {
    StationOptions options;
    StationPending pending;
};

// A station option as given: to the stations listed before a colon, or to all.
struct StationSetting {
    std::optional<std::vector<uint8_t>> targets;
    std::function<void(Station&)> apply;
};

struct Parse {
    SimOptions& options;
    std::vector<uint8_t> addresses{0};
    std::vector<StationSetting> settings;
};

using LineHandler = std::function<bool(std::string_view, Parse&)>;
using StationHandler = std::function<bool(std::string_view, Station&)>;

bool setInt(std::string_view value, long long min, long long max, int& target)
{
    const auto number = parseInteger(value, min, max);
    if (number)
        target = static_cast<int>(*number);
    return number.has_value();
}

bool setRate(std::string_view value, double& target)
{
    const auto rate = parseRate(value);
    if (rate)
        target = *rate;
    return rate.has_value();
}

bool setText(std::optional<std::string> text, std::string& target)
{
    if (text)
        target = std::move(*text);
    return text.has_value();
}

bool setVersion(std::optional<std::string> text, Station& s)
{
    s.pending.explicitVersion = std::move(text);
    return s.pending.explicitVersion.has_value();
}

const std::map<std::string_view, LineHandler>& lineOptions()
{
    static const std::map<std::string_view, LineHandler> handlers{
        {"--address", [](auto v, Parse& p) {
             auto list = parseAddressList(v);
             if (list)
                 p.addresses = std::move(*list);
             return list.has_value();
         }},
        {"--com", [](auto v, Parse& p) {
             int n = 0;
             const bool ok = setInt(v, 1, kMaxComNumber, n);
             p.options.comNumber = n;
             return ok;
         }},
        {"--link", [](auto v, Parse& p) {
             p.options.links.emplace_back(v);
             return !v.empty();
         }},
        {"--seed", [](auto v, Parse& p) {
             const auto seed = parseInteger(v, 0, LLONG_MAX);
             if (seed)
                 p.options.seed = static_cast<uint64_t>(*seed);
             return seed.has_value();
         }},
        {"--baud", [](auto v, Parse& p) { return setInt(v, 0, kMaxBaud, p.options.baud); }},
    };
    return handlers;
}

const std::map<std::string_view, StationHandler>& stationOptions()
{
    static const std::map<std::string_view, StationHandler> handlers{
        {"--refuse-table", [](auto v, Station& s) {
             int t = 0;
             const bool ok = setInt(v, 0, tables::kCount - 1, t);
             s.options.refusedTables.push_back(t);
             return ok;
         }},
        {"--corrupt-checksum", [](auto v, Station& s) { return setRate(v, s.options.faults.corruptChecksumRate); }},
        {"--corrupt-byte", [](auto v, Station& s) { return setRate(v, s.options.faults.corruptByteRate); }},
        {"--short-reply", [](auto v, Station& s) { return setInt(v, 0, Regulator::kMaxTelegram, s.options.faults.shortBy); }},
        {"--late-ms", [](auto v, Station& s) { return setInt(v, 0, kMaxLateMs, s.options.faults.lateMs); }},
        {"--noise", [](auto v, Station& s) { return setInt(v, 0, kMaxNoise, s.options.faults.noiseBytes); }},
        {"--type", [](auto v, Station& s) { return setText(textFromUtf8(v), s.options.typeText); }},
        {"--type-hex", [](auto v, Station& s) { return setText(textFromHex(v), s.options.typeText); }},
        {"--version", [](auto v, Station& s) { return setVersion(textFromUtf8(v), s); }},
        {"--version-hex", [](auto v, Station& s) { return setVersion(textFromHex(v), s); }},
        {"--firmware-date", [](auto v, Station& s) {
             s.pending.firmwareDate = std::string(v);
             return versionTextFor(v).has_value();
         }},
    };
    return handlers;
}

// Switches that take an optional list of the stations they apply to.
const std::map<std::string_view, bool StationOptions::*>& stationFlags()
{
    static const std::map<std::string_view, bool StationOptions::*> flags{
        {"--no-type", &StationOptions::typeSilent},
        {"--no-version", &StationOptions::versionSilent},
        {"--refuse-eeprom", &StationOptions::eepromRefused},
    };
    return flags;
}

// "5:900" applies 900 to station 5; a text before the colon that lists no
// stations belongs to the value ("Typ: A").
StationSetting stationSetting(std::string_view value, const StationHandler& handler, std::string_view& rest)
{
    StationSetting setting;
    rest = value;
    if (const size_t colon = value.find(':'); colon != std::string_view::npos) {
        setting.targets = parseAddressList(value.substr(0, colon));
        if (setting.targets)
            rest = value.substr(colon + 1);
    }
    setting.apply = [handler, text = std::string(rest)](Station& s) { handler(text, s); };
    return setting;
}

StationSetting flagSetting(std::string_view name, std::optional<std::vector<uint8_t>> targets)
{
    if (name == "--silent")
        return {std::move(targets), [](Station& s) { s.options.faults.silent = true; }};
    const auto member = stationFlags().at(name);
    return {std::move(targets), [member](Station& s) { s.options.*member = true; }};
}

bool isStationFlag(std::string_view name)
{
    return name == "--silent" || stationFlags().contains(name);
}

std::string defaultTypeText(const StationOptions& station, size_t stationCount)
{
    std::string text(kDefaultTypeText);
    if (stationCount > 1)
        text += " " + std::to_string(station.address);
    return *toWindows1250(text);
}

// "15.03.2012" for the first station, the days after it for the others.
std::string defaultFirmwareDate(int variant)
{
    if (variant == 0)
        return std::string(kDefaultFirmwareDate);
    const int day = (14 + variant) % kFirmwareDays + 1;
    return (day < 10 ? "0" : "") + std::to_string(day) + std::string(kDefaultFirmwareDate.substr(2));
}

bool applies(const StationSetting& setting, uint8_t address)
{
    return !setting.targets || std::ranges::find(*setting.targets, address) != setting.targets->end();
}

// Empty when every station a setting names is on the line.
std::string unknownStation(const Parse& parse)
{
    for (const StationSetting& setting : parse.settings) {
        for (const uint8_t address : setting.targets.value_or(std::vector<uint8_t>{})) {
            if (std::ranges::find(parse.addresses, address) == parse.addresses.end())
                return "station " + std::to_string(address) + " is not in --address";
        }
    }
    return {};
}

void buildStations(const Parse& parse)
{
    for (size_t i = 0; i < parse.addresses.size(); ++i) {
        Station station;
        station.options.address = parse.addresses[i];
        station.options.variant = static_cast<int>(i);
        station.options.typeText = defaultTypeText(station.options, parse.addresses.size());
        station.pending.firmwareDate = defaultFirmwareDate(station.options.variant);
        for (const StationSetting& setting : parse.settings) {
            if (applies(setting, station.options.address))
                setting.apply(station);
        }
        station.options.versionText = station.pending.explicitVersion
                                          ? *station.pending.explicitVersion
                                          : *versionTextFor(station.pending.firmwareDate);
        parse.options.stations.push_back(std::move(station.options));
    }
}

// The value of a switch that may name stations: "--silent 5", "--silent=5" or "--silent".
std::optional<std::string_view> flagValue(int argc, char** argv, int& i, std::optional<std::string_view> inlineValue)
{
    if (inlineValue)
        return inlineValue;
    if (i + 1 < argc && !std::string_view(argv[i + 1]).starts_with("--"))
        return std::string_view(argv[++i]);
    return std::nullopt;
}

std::string takeStationFlag(std::string_view name, std::optional<std::string_view> value, Parse& parse)
{
    const auto targets = value ? parseAddressList(*value) : std::nullopt;
    if (value && !targets)
        return "bad station list for " + std::string(name) + ": " + std::string(*value);
    parse.settings.push_back(flagSetting(name, targets));
    return {};
}

bool takeValue(std::string_view name, std::string_view value, Parse& parse)
{
    if (const auto line = lineOptions().find(name); line != lineOptions().end())
        return line->second(value, parse);
    const StationHandler& handler = stationOptions().at(name);
    std::string_view rest;
    parse.settings.push_back(stationSetting(value, handler, rest));
    Station scratch;
    return handler(rest, scratch);
}

// Takes argv[i] and, when it has one, its value; an empty text or why not.
std::string takeOption(int argc, char** argv, int& i, Parse& parse)
{
    std::string_view name = argv[i];
    std::optional<std::string_view> inlineValue;
    if (const size_t equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
        inlineValue = name.substr(equals + 1);
        name = name.substr(0, equals);
    }
    if (name == "--help" && !inlineValue) {
        parse.options.help = true;
        return {};
    }
    if (isStationFlag(name))
        return takeStationFlag(name, flagValue(argc, argv, i, inlineValue), parse);
    if (!lineOptions().contains(name) && !stationOptions().contains(name))
        return "unknown option " + std::string(argv[i]);
    if (!inlineValue && i + 1 >= argc)
        return std::string(name) + " needs a value";
    const std::string_view value = inlineValue ? *inlineValue : std::string_view(argv[++i]);
    if (!takeValue(name, value, parse))
        return "bad value for " + std::string(name) + ": " + std::string(value);
    return {};
}

} // namespace

std::optional<long long> parseInteger(std::string_view text, long long min, long long max)
{
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<double> parseRate(std::string_view text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value >= 0.0 && value <= 1.0))
        return std::nullopt;
    return value;
}

std::optional<std::vector<uint8_t>> parseAddressList(std::string_view text)
{
    std::vector<uint8_t> addresses;
    std::bitset<kMaxAddress + 1> seen;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const size_t dash = item.find('-');
        const auto first = parseInteger(item.substr(0, dash), 0, kMaxAddress);
        const auto last = dash == std::string_view::npos ? first : parseInteger(item.substr(dash + 1), 0, kMaxAddress);
        if (!first || !last || *last < *first)
            return std::nullopt;
        for (long long a = *first; a <= *last; ++a) {
            if (seen.test(static_cast<size_t>(a)))
                return std::nullopt;
            seen.set(static_cast<size_t>(a));
            addresses.push_back(static_cast<uint8_t>(a));
        }
        if (comma == std::string_view::npos)
            return addresses;
        text.remove_prefix(comma + 1);
    }
    return std::nullopt;
}

std::optional<std::string> textFromUtf8(std::string_view text)
{
    auto bytes = toWindows1250(text);
    if (!bytes || bytes->size() > Regulator::kMaxText)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> textFromHex(std::string_view hex)
{
    auto bytes = fromHex(hex);
    if (!bytes || bytes->size() > Regulator::kMaxText)
        return std::nullopt;
    return bytes;
}

ParsedOptions parseOptions(int argc, char** argv)
{
    ParsedOptions parsed;
    Parse parse{parsed.options, {0}, {}};
    for (int i = 1; i < argc && parsed.error.empty(); ++i)
        parsed.error = takeOption(argc, argv, i, parse);
    if (parsed.error.empty())
        parsed.error = unknownStation(parse);
    if (parsed.error.empty())
        buildStations(parse);
    return parsed;
}

const char* usageText()
{
    return R"(Usage: qzr17-sim [OPTION]...
Simulates a QZR 17 regulator on a pseudo-terminal; prints "PORT <path>" first.
  --address LIST         own bus address 0..126 (default 0); a list such as 3,5,7
                         or 3-5,9 puts several regulators on the line, each with
                         tables, texts and measured values of its own
  --com N                link COMn in the port directory to the port
  --link PATH            symbolic link at PATH to the port
  --silent [LIST]        answer nothing (only the stations listed)
  --refuse-table N       refuse writes of table N (repeatable)
  --refuse-eeprom [LIST] refuse the store to EEPROM
  --corrupt-checksum R   fraction 0..1 of replies with a wrong checksum
  --corrupt-byte R       fraction 0..1 of replies with one changed data byte
  --seed N               seed of the fault and noise generator
  --short-reply N        drop the last N bytes of every reply
  --late-ms MS           delay every reply, listening on meanwhile
  --noise N              N random bytes before every reply
  --baud N               pace replies as on a line of N baud (11 bits a character)
  --type TEXT            device type text (UTF-8, sent as Windows-1250)
  --version TEXT         device version text (UTF-8, sent as Windows-1250)
  --type-hex HEX         device type text as raw bytes
  --version-hex HEX      device version text as raw bytes
  --firmware-date D.M.Y  date in the version text, DD.MM.YYYY (default 15.03.2012)
  --no-type [LIST]       no answer to the device type request
  --no-version [LIST]    no answer to the device version request
  --help                 this text
Options of a station's answers (--refuse-table, --corrupt-*, --short-reply,
--late-ms, --noise, --type*, --version*, --firmware-date) apply to every
station, or to those listed before a colon: --late-ms 7:900, --noise 3-5:4.
  --version              (alone) the program's version
Control on stdin, one command a line, each answered by OK [data] or ERR <why>
once no reply is still due; "@A command" addresses the station at A, a command
without it the first one:
  silent on|off, refuse T, accept T, unreadable T, readable T, refuse-eeprom on|off,
  late MS, short N, noise N,
  corrupt-checksum R, corrupt-byte R, baud N, address N, no-type on|off,
  no-version on|off, type-hex HEX, version-hex HEX, get T, set T HEX, live, quit
Events on stdout: WROTE T HEX, REFUSED T CODE, EEPROM; with several stations
each begins with @A, the address of the station it happened to.
)";
}
