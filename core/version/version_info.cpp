#include "version_info.h"

#include "version_block.h"

#include <QFile>

#include <algorithm>
#include <functional>

namespace version_info {

namespace {

// Finds the block in the file on disk (not in the running program's memory,
// so that any executable can be asked) and hands its bytes to `use`.
bool withBlock(const QString& executablePath, const std::function<void(std::span<const std::byte>)>& use)
{
    QFile file(executablePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return false;
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return false;
    const auto bytes = std::as_bytes(std::span(mapped, static_cast<size_t>(file.size())));
    const auto place = version_block::find(bytes);
    if (place)
        use(bytes.subspan(place->offset, place->length));
    return place.has_value();
}

} // namespace

uint32_t versionInfoSize(const QString& executablePath)
{
    uint32_t size = 0;
    withBlock(executablePath, [&size](std::span<const std::byte> found) {
        size = static_cast<uint32_t>(found.size());
    });
    return size;
}

bool readVersionInfo(const QString& executablePath, std::span<std::byte> block)
{
    bool copied = false;
    withBlock(executablePath, [&](std::span<const std::byte> found) {
        copied = found.size() <= block.size();
        if (copied)
            std::copy(found.begin(), found.end(), block.begin());
    });
    return copied;
}

std::optional<QString> queryVersionText(std::span<const std::byte> block, QStringView subBlock)
{
    return version_block::text(block, subBlock);
}

} // namespace version_info
