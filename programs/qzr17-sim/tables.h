#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The regulator's 21 numbered tables: lengths, value ranges and factory contents.
namespace tables {

constexpr int kCount = 21;
constexpr int kMaxLength = 25;
constexpr int kAddress = 7;
constexpr int kMonday = 8;
constexpr int kSunday = 14;
constexpr int kClock = 15;
constexpr int kMeasured = 16;
constexpr int kUnused = 18;
constexpr uint8_t kBroadcast = 127;

constexpr std::array<uint8_t, kCount> kLength{8, 10, 10, 12, 25, 5, 6, 1, 24, 24, 24, 24, 24, 24, 24, 7, 18, 12, 6, 10, 2};

using Bytes = std::array<uint8_t, kMaxLength>;

[[nodiscard]] constexpr bool exists(int table)
{
    return table >= 0 && table < kCount;
}

[[nodiscard]] constexpr size_t length(int table)
{
    return kLength[static_cast<size_t>(table)];
}

// True for the tables the regulator lets the bus write at all.
[[nodiscard]] bool writable(int table);

// True when every field of a table's data is finite and inside its allowed range.
[[nodiscard]] bool inRange(int table, const uint8_t* data);

// Contents after power-up; the clock and measured values are produced live elsewhere.
[[nodiscard]] Bytes factoryDefault(int table, uint8_t ownAddress);

} // namespace tables
