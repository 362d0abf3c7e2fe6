#include "texts.h"

#include <QString>
#include <QStringEncoder>

#include <cctype>

std::optional<std::string> toWindows1250(std::string_view utf8)
{
    QStringEncoder encoder("windows-1250");
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::optional<std::string> versionTextFor(std::string_view firmwareDate)
{
    constexpr std::string_view kShape = "00.00.0000";
    if (firmwareDate.size() != kShape.size())
        return std::nullopt;
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(firmwareDate[i])) != 0;
        if (kShape[i] == '0' ? !digit : firmwareDate[i] != '.')
            return std::nullopt;
    }
    return "QZR17-5 FW " + std::string(firmwareDate);
}
