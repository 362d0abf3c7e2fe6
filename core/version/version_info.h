#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The version information of an executable file: its size, reading it and
// querying one value by path. On Windows these are the system's calls on the
// VERSIONINFO resource; elsewhere the same block is embedded in the program
// (kv36_embed_version) and found in the file on disk.
namespace version_info {

// Size of the file's version information in bytes; 0 when the file has none,
// has a damaged one or cannot be read.
[[nodiscard]] uint32_t versionInfoSize(const QString& executablePath);

// Reads the version information into `block`, which must hold at least
// versionInfoSize() bytes. False when there is none or it cannot be read.
[[nodiscard]] bool readVersionInfo(const QString& executablePath, std::span<std::byte> block);

// The text value at `subBlock`, such as "\StringFileInfo\040504E2\FileVersion",
// in a block filled by readVersionInfo; nothing when the path is not there.
[[nodiscard]] std::optional<QString> queryVersionText(std::span<const std::byte> block,
                                                      QStringView subBlock);

} // namespace version_info
