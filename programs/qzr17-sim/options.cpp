#include "options.h"

#include "hex.h"
#include "regulator.h"
#include "tables.h"
#include "texts.h"

#include <charconv>
#include <climits>
#include <functional>
#include <map>

namespace {

constexpr long long kMaxLateMs = 600'000;
constexpr long long kMaxNoise = 512;
constexpr long long kMaxBaud = 4'000'000;
constexpr long long kMaxComNumber = 255;

struct Pending {
    std::optional<std::string> explicitVersion;
    std::string firmwareDate{kDefaultFirmwareDate};
};

using Handler = std::function<bool(std::string_view, SimOptions&, Pending&)>;

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

const std::map<std::string_view, Handler>& valueOptions()
{
    static const std::map<std::string_view, Handler> handlers{
        {"--address", [](auto v, SimOptions& o, Pending&) {
             int a = 0;
             const bool ok = setInt(v, 0, 126, a);
             o.address = static_cast<uint8_t>(a);
             return ok;
         }},
        {"--com", [](auto v, SimOptions& o, Pending&) {
             int n = 0;
             const bool ok = setInt(v, 1, kMaxComNumber, n);
             o.comNumber = n;
             return ok;
         }},
        {"--link", [](auto v, SimOptions& o, Pending&) {
             o.links.emplace_back(v);
             return !v.empty();
         }},
        {"--refuse-table", [](auto v, SimOptions& o, Pending&) {
             int t = 0;
             const bool ok = setInt(v, 0, tables::kCount - 1, t);
             o.refusedTables.push_back(t);
             return ok;
         }},
        {"--corrupt-checksum", [](auto v, SimOptions& o, Pending&) { return setRate(v, o.faults.corruptChecksumRate); }},
        {"--corrupt-byte", [](auto v, SimOptions& o, Pending&) { return setRate(v, o.faults.corruptByteRate); }},
        {"--seed", [](auto v, SimOptions& o, Pending&) {
             const auto seed = parseInteger(v, 0, LLONG_MAX);
             if (seed)
                 o.seed = static_cast<uint64_t>(*seed);
             return seed.has_value();
         }},
        {"--short-reply", [](auto v, SimOptions& o, Pending&) { return setInt(v, 0, Regulator::kMaxTelegram, o.faults.shortBy); }},
        {"--late-ms", [](auto v, SimOptions& o, Pending&) { return setInt(v, 0, kMaxLateMs, o.faults.lateMs); }},
        {"--noise", [](auto v, SimOptions& o, Pending&) { return setInt(v, 0, kMaxNoise, o.faults.noiseBytes); }},
        {"--baud", [](auto v, SimOptions& o, Pending&) { return setInt(v, 0, kMaxBaud, o.faults.baud); }},
        {"--type", [](auto v, SimOptions& o, Pending&) { return setText(textFromUtf8(v), o.typeText); }},
        {"--type-hex", [](auto v, SimOptions& o, Pending&) { return setText(textFromHex(v), o.typeText); }},
        {"--version", [](auto v, SimOptions&, Pending& p) {
             p.explicitVersion = textFromUtf8(v);
             return p.explicitVersion.has_value();
         }},
        {"--version-hex", [](auto v, SimOptions&, Pending& p) {
             p.explicitVersion = textFromHex(v);
             return p.explicitVersion.has_value();
         }},
        {"--firmware-date", [](auto v, SimOptions&, Pending& p) {
             p.firmwareDate = std::string(v);
             return versionTextFor(v).has_value();
         }},
    };
    return handlers;
}

bool applyFlag(std::string_view name, SimOptions& o)
{
    if (name == "--silent")
        o.faults.silent = true;
    else if (name == "--no-type")
        o.typeSilent = true;
    else if (name == "--no-version")
        o.versionSilent = true;
    else if (name == "--help")
        o.help = true;
    else
        return false;
    return true;
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
    SimOptions& o = parsed.options;
    Pending pending;
    o.typeText = *toWindows1250(kDefaultTypeText);
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        const size_t equals = arg.find('=');
        const bool inlineValue = arg.starts_with("--") && equals != std::string_view::npos;
        if (inlineValue) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const auto handler = valueOptions().find(arg);
        if (handler == valueOptions().end()) {
            if (inlineValue || !applyFlag(arg, o)) {
                parsed.error = "unknown option " + std::string(argv[i]);
                return parsed;
            }
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                parsed.error = std::string(arg) + " needs a value";
                return parsed;
            }
            value = argv[++i];
        }
        if (!handler->second(value, o, pending)) {
            parsed.error = "bad value for " + std::string(arg) + ": " + std::string(value);
            return parsed;
        }
    }
    o.versionText = pending.explicitVersion ? *pending.explicitVersion : *versionTextFor(pending.firmwareDate);
    return parsed;
}

const char* usageText()
{
    return R"(Usage: qzr17-sim [OPTION]...
Simulates a QZR 17 regulator on a pseudo-terminal; prints "PORT <path>" first.
  --address N            own bus address 0..126 (default 0)
  --com N                link COMn in the port directory to the port
  --link PATH            symbolic link at PATH to the port
  --silent               answer nothing
  --refuse-table N       refuse writes of table N (repeatable)
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
  --no-type              no answer to the device type request
  --no-version           no answer to the device version request
  --help                 this text
  --version              (alone) the program's version
Control on stdin, one command a line, each answered by OK [data] or ERR <why>
once no reply is still due:
  silent on|off, refuse T, accept T, unreadable T, readable T, refuse-eeprom on|off,
  late MS, short N, noise N,
  corrupt-checksum R, corrupt-byte R, baud N, address N, no-type on|off,
  no-version on|off, type-hex HEX, version-hex HEX, get T, set T HEX, live, quit
Events on stdout: WROTE T HEX, REFUSED T CODE, EEPROM.
)";
}
