#include "measured_text.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

constexpr int kExponentDecimals = 4; // five significant digits
constexpr int kDecimals = 1;
constexpr double kExponentFrom = 100000.0;

// Group separators are neither shown nor accepted, so that "1,5" under a
// locale with a decimal point is never read as 15.
QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

QString measuredText(float value)
{
    const QLocale locale = numberLocale();
    if (!std::isfinite(value))
        return locale.toString(static_cast<double>(value));
    // Rounded once, from the float's own value: going through a shorter text
    // first would round 20.4500008 to 20.45 and then to 20.4.
    const double exact = value;
    if (std::abs(exact) >= kExponentFrom)
        return locale.toString(exact, 'E', kExponentDecimals);
    const QString text = locale.toString(exact, 'f', kDecimals);
    // A value that rounds to zero reads "0,0", never "-0,0".
    if (locale.toDouble(text) == 0.0)
        return locale.toString(0.0, 'f', kDecimals);
    return text;
}

std::optional<double> measuredValue(const QString& text)
{
    bool ok = false;
    const double value = numberLocale().toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

float deviationFromTexts(const QString& water, const QString& demanded)
{
    const auto w = measuredValue(water);
    const auto d = measuredValue(demanded);
    if (!w || !d)
        return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(*w - *d);
}
