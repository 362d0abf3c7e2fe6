#include "version_info.h"

#include <QDir>

#include <windows.h>

#include <cwchar>
#include <string>

namespace version_info {

namespace {

std::wstring nativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

} // namespace

uint32_t versionInfoSize(const QString& executablePath)
{
    DWORD ignored = 0;
    return GetFileVersionInfoSizeW(nativePath(executablePath).c_str(), &ignored);
}

bool readVersionInfo(const QString& executablePath, std::span<std::byte> block)
{
    return GetFileVersionInfoW(nativePath(executablePath).c_str(), 0, static_cast<DWORD>(block.size()),
                               block.data())
        != 0;
}

std::optional<QString> queryVersionText(std::span<const std::byte> block, QStringView subBlock)
{
    void* value = nullptr;
    UINT length = 0; // in characters for text values
    const std::wstring path = subBlock.toString().toStdWString();
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value || length == 0)
        return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(value);
    return QString::fromWCharArray(text, static_cast<qsizetype>(wcsnlen(text, length)));
}

} // namespace version_info
