#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Upper-case hex without separators, as the control channel prints table contents.
std::string toHex(const uint8_t* bytes, size_t count);

// Accepts upper- or lower-case digit pairs; nullopt for an odd count or a non-digit.
std::optional<std::string> fromHex(std::string_view text);
