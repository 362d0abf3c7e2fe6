#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// A decimal integer in C notation whatever the process's locale, or nothing.
inline std::optional<int> parseInteger(const QString& text)
{
    bool ok = false;
    const int value = QLocale::c().toInt(text, &ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
