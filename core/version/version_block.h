#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <optional>
#include <span>

// The VS_VERSIONINFO layout as the resource compiler writes it: a tree of
// nodes { wLength, wValueLength, wType, key, padding, value, padding,
// children }, each starting on a 32-bit boundary from the block's start. Every
// length is checked against its parent before a byte is read.
namespace version_block {

// Where a valid block starts in a file's bytes, and how long it is.
struct Place {
    size_t offset = 0;
    size_t length = 0;
};

[[nodiscard]] std::optional<Place> find(std::span<const std::byte> file);

// The text at `path` ("\StringFileInfo\040504E2\FileVersion"); keys compare
// without regard to case, as the system's query does.
[[nodiscard]] std::optional<QString> text(std::span<const std::byte> block, QStringView path);

} // namespace version_block
