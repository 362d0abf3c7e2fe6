#include "control.h"

#include "hex.h"
#include "options.h"
#include "regulator.h"
#include "tables.h"

#include <functional>
#include <map>
#include <vector>

namespace {

using Words = std::vector<std::string_view>;
using Command = std::function<std::string(const Words&, Regulator&, LineFaults&)>;

const std::string kOk = "OK";

Words split(std::string_view line)
{
    Words words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos)
            break;
        const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

std::string error(std::string_view why)
{
    return "ERR " + std::string(why);
}

// A command with one argument that passes `parse`; `apply` takes the parsed value.
template<typename Parse, typename Apply>
Command oneArgument(Parse parse, Apply apply)
{
    return [parse, apply](const Words& w, Regulator& r, LineFaults& f) {
        if (w.size() != 2)
            return error("expects one argument");
        const auto value = parse(w[1]);
        if (!value)
            return error("bad argument " + std::string(w[1]));
        apply(*value, r, f);
        return kOk;
    };
}

auto integer(long long min, long long max)
{
    return [min, max](std::string_view text) { return parseInteger(text, min, max); };
}

std::optional<bool> onOff(std::string_view text)
{
    if (text == "on")
        return true;
    if (text == "off")
        return false;
    return std::nullopt;
}

std::optional<int> tableNumber(std::string_view text)
{
    const auto number = parseInteger(text, 0, tables::kCount - 1);
    return number ? std::optional<int>(static_cast<int>(*number)) : std::nullopt;
}

std::string getTable(const Words& w, Regulator& r, LineFaults&)
{
    const auto table = w.size() == 2 ? tableNumber(w[1]) : std::nullopt;
    if (!table)
        return error("expects a table number 0..20");
    uint8_t data[tables::kMaxLength];
    r.content(*table, data);
    return "OK " + toHex(data, tables::length(*table));
}

std::string setTable(const Words& w, Regulator& r, LineFaults&)
{
    const auto table = w.size() == 3 ? tableNumber(w[1]) : std::nullopt;
    if (!table)
        return error("expects a table number 0..20 and its bytes in hex");
    const auto bytes = fromHex(w[2]);
    if (!bytes || bytes->size() != tables::length(*table))
        return error("table " + std::to_string(*table) + " takes " + std::to_string(tables::length(*table)) + " bytes");
    r.store(*table, reinterpret_cast<const uint8_t*>(bytes->data()));
    return kOk;
}

// An empty argument is an empty text.
Command textCommand(void (Regulator::*setter)(std::string))
{
    return [setter](const Words& w, Regulator& r, LineFaults&) {
        if (w.size() > 2)
            return error("expects hex bytes");
        const auto text = textFromHex(w.size() == 2 ? w[1] : std::string_view());
        if (!text)
            return error("expects up to 249 bytes in hex");
        (r.*setter)(*text);
        return kOk;
    };
}

const std::map<std::string_view, Command>& commands()
{
    static const std::map<std::string_view, Command> table{
        {"silent", oneArgument(onOff, [](bool on, Regulator&, LineFaults& f) { f.silent = on; })},
        {"refuse", oneArgument(tableNumber, [](int t, Regulator& r, LineFaults&) { r.setRefused(t, true); })},
        {"accept", oneArgument(tableNumber, [](int t, Regulator& r, LineFaults&) { r.setRefused(t, false); })},
        {"unreadable", oneArgument(tableNumber, [](int t, Regulator& r, LineFaults&) { r.setUnreadable(t, true); })},
        {"readable", oneArgument(tableNumber, [](int t, Regulator& r, LineFaults&) { r.setUnreadable(t, false); })},
        {"refuse-eeprom", oneArgument(onOff, [](bool on, Regulator& r, LineFaults&) { r.setEepromRefused(on); })},
        {"late", oneArgument(integer(0, 600'000), [](long long v, Regulator&, LineFaults& f) { f.lateMs = static_cast<int>(v); })},
        {"short", oneArgument(integer(0, 261), [](long long v, Regulator&, LineFaults& f) { f.shortBy = static_cast<int>(v); })},
        {"noise", oneArgument(integer(0, 512), [](long long v, Regulator&, LineFaults& f) { f.noiseBytes = static_cast<int>(v); })},
        {"corrupt-checksum", oneArgument(parseRate, [](double v, Regulator&, LineFaults& f) { f.corruptChecksumRate = v; })},
        {"corrupt-byte", oneArgument(parseRate, [](double v, Regulator&, LineFaults& f) { f.corruptByteRate = v; })},
        {"address", oneArgument(integer(0, 126), [](long long v, Regulator& r, LineFaults&) { r.setAddress(static_cast<uint8_t>(v)); })},
        {"no-type", oneArgument(onOff, [](bool on, Regulator& r, LineFaults&) { r.setTypeSilent(on); })},
        {"no-version", oneArgument(onOff, [](bool on, Regulator& r, LineFaults&) { r.setVersionSilent(on); })},
        {"type-hex", textCommand(&Regulator::setTypeText)},
        {"version-hex", textCommand(&Regulator::setVersionText)},
        {"get", getTable},
        {"set", setTable},
        {"live", [](const Words& w, Regulator& r, LineFaults&) {
             if (w.size() != 1)
                 return error("takes no argument");
             r.resumeMeasuredValues();
             return kOk;
         }},
    };
    return table;
}

Command baudCommand(int& baud)
{
    return oneArgument(integer(0, 4'000'000), [&baud](long long v, Regulator&, LineFaults&) { baud = static_cast<int>(v); });
}

} // namespace

Control::Control(Regulator& regulator, LineFaults& faults, int& lineBaud)
    : m_regulator(regulator)
    , m_faults(faults)
    , m_lineBaud(lineBaud)
{
}

Control::Result Control::execute(std::string_view line)
{
    const Words words = split(line);
    if (words.empty())
        return {error("empty command"), false};
    if (words[0] == "quit")
        return {kOk, true};
    if (words[0] == "baud")
        return {baudCommand(m_lineBaud)(words, m_regulator, m_faults), false};
    const auto command = commands().find(words[0]);
    if (command == commands().end())
        return {error("unknown command " + std::string(words[0])), false};
    return {command->second(words, m_regulator, m_faults), false};
}
