#pragma once

#include <optional>
#include <string>
#include <string_view>

// The regulator's texts travel in Windows-1250.
// nullopt when the text holds a character that code page lacks.
std::optional<std::string> toWindows1250(std::string_view utf8);

// "QZR17-5 FW DD.MM.YYYY": the program reads the firmware date at fixed offsets of this text.
// nullopt unless the date is given as DD.MM.YYYY.
std::optional<std::string> versionTextFor(std::string_view firmwareDate);

inline constexpr std::string_view kDefaultTypeText = "QZR 17 ekvitermní regulátor";
inline constexpr std::string_view kDefaultFirmwareDate = "15.03.2012";
