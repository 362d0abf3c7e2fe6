#pragma once

#include <bit>
#include <cstdint>

// Multi-byte values travel most significant byte first.
namespace wire {

inline void putU16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

inline uint16_t getU16(const uint8_t* at)
{
    return static_cast<uint16_t>((at[0] << 8) | at[1]);
}

inline void putFloat(uint8_t* at, float value)
{
    const auto bits = std::bit_cast<uint32_t>(value);
    at[0] = static_cast<uint8_t>(bits >> 24);
    at[1] = static_cast<uint8_t>(bits >> 16);
    at[2] = static_cast<uint8_t>(bits >> 8);
    at[3] = static_cast<uint8_t>(bits);
}

inline float getFloat(const uint8_t* at)
{
    const uint32_t bits = (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
    return std::bit_cast<float>(bits);
}

} // namespace wire
