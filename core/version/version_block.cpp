#include "version_block.h"

#include <QByteArrayView>
#include <QList>

#include <algorithm>
#include <cstdint>

namespace version_block {

namespace {

constexpr size_t kHeaderSize = 6; // wLength, wValueLength, wType
constexpr uint16_t kText = 1;
constexpr uint16_t kFixedInfoSize = 52;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr char kRootKey[] = "VS_VERSION_INFO";

struct Node {
    size_t end = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    QString key;
    size_t value = 0;
    size_t children = 0;
};

size_t aligned(size_t offset) { return (offset + 3) & ~size_t{3}; }

uint16_t word(std::span<const std::byte> data, size_t at)
{
    return static_cast<uint16_t>(std::to_integer<uint16_t>(data[at])
                                 | std::to_integer<uint16_t>(data[at + 1]) << 8);
}

uint32_t dword(std::span<const std::byte> data, size_t at)
{
    return word(data, at) | uint32_t{word(data, at + 2)} << 16;
}

// The node at `offset`, which must end by `limit`.
std::optional<Node> nodeAt(std::span<const std::byte> data, size_t offset, size_t limit)
{
    if (limit > data.size() || offset + kHeaderSize > limit)
        return std::nullopt;
    Node node;
    const size_t length = word(data, offset);
    node.end = offset + length;
    if (length < kHeaderSize || node.end > limit)
        return std::nullopt;
    node.valueLength = word(data, offset + 2);
    node.type = word(data, offset + 4);
    size_t at = offset + kHeaderSize;
    for (;; at += 2) {
        if (at + 2 > node.end)
            return std::nullopt;
        const uint16_t c = word(data, at);
        if (c == 0)
            break;
        node.key.append(QChar(c));
    }
    const size_t valueBytes = node.type == kText ? 2u * node.valueLength : node.valueLength;
    node.value = std::min(aligned(at + 2), node.end);
    if (node.value + valueBytes > node.end)
        return std::nullopt;
    node.children = aligned(node.value + valueBytes);
    return node;
}

std::optional<Node> child(std::span<const std::byte> data, const Node& parent, QStringView key)
{
    for (size_t at = parent.children; at + kHeaderSize <= parent.end;) {
        const auto node = nodeAt(data, at, parent.end);
        if (!node)
            return std::nullopt;
        if (QStringView(node->key).compare(key, Qt::CaseInsensitive) == 0)
            return node;
        at = aligned(node->end);
    }
    return std::nullopt;
}

std::optional<Node> root(std::span<const std::byte> data)
{
    auto node = nodeAt(data, 0, data.size());
    if (!node || node->key != QLatin1String(kRootKey) || node->type == kText
        || node->valueLength != kFixedInfoSize || dword(data, node->value) != kFixedInfoSignature)
        return std::nullopt;
    return node;
}

// The root key as it stands in the file, UTF-16LE with its terminator. Built
// at run time, so that the reader itself never carries the bytes it looks for.
QByteArray rootKeyInFile()
{
    QByteArray key;
    for (const char c : kRootKey)
        key.append(c).append('\0');
    return key;
}

} // namespace

std::optional<Place> find(std::span<const std::byte> file)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    const QByteArray key = rootKeyInFile();
    for (qsizetype at = bytes.indexOf(key, kHeaderSize); at >= 0; at = bytes.indexOf(key, at + 1)) {
        const auto start = static_cast<size_t>(at) - kHeaderSize;
        if (const auto node = root(file.subspan(start)))
            return Place{start, node->end};
    }
    return std::nullopt;
}

std::optional<QString> text(std::span<const std::byte> block, QStringView path)
{
    auto node = root(block);
    for (QStringView key : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (!node)
            return std::nullopt;
        node = child(block, *node, key);
    }
    if (!node || node->type != kText || node->valueLength == 0)
        return std::nullopt;
    QString value;
    for (size_t i = 0; i < node->valueLength; ++i) {
        const uint16_t c = word(block, node->value + 2 * i);
        if (c == 0)
            break;
        value.append(QChar(c));
    }
    return value;
}

} // namespace version_block
