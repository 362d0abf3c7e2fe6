#pragma once

#include <QString>

#include <optional>

// Measured values as the main window's panels show them: fixed point with one
// decimal and the locale's separator, rounded once from the float's value;
// from 100000 on in exponent form with five significant digits.
QString measuredText(float value);

// A panel's text read back as a number; nothing when it is not one.
std::optional<double> measuredValue(const QString& text);

// Water minus demanded temperature, from the two values as shown, so that the
// deviation agrees with what the user reads in the panels. NaN when either
// text is not a number.
float deviationFromTexts(const QString& water, const QString& demanded);
