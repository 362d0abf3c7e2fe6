#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QComboBox;
class QLineEdit;

// Conversions between the parameter record and the window's controls. Numbers
// are read and written with the decimal separator of the default QLocale.

// Two decimals after rounding to five significant digits: 1234.567 gives "1234,60".
QString floatText(float value);
// A byte field taken as signed: 200 gives "-56".
QString byteText(int8_t value);
QString intText(int32_t value);

// A decimal number with the locale's separator, optionally signed, optionally
// with an exponent; nothing for anything else, and for what no float can hold.
std::optional<float> parseFloat(const QString& text);
// A whole decimal number within the 32-bit range.
std::optional<int32_t> parseInt(const QString& text);

// The three conversion routines: 0 on success, the edit's text untouched;
// -1 on failure, after the message "CHYBA" has been closed, with the field
// and the edit set to 0 and the focus in the edit. EditToByte keeps the low
// 8 bits of the number typed (300 gives 44). EditToFloat leaves a field
// whose value the edit still shows as it is, unrounded.
int EditToFloat(float& field, QLineEdit* edit);
int EditToByte(int8_t& field, QLineEdit* edit);
int EditToInt(int32_t& field, QLineEdit* edit);

// How many conversions have been refused since start: lets a caller that runs
// several routines and ignores their results tell whether any failed.
int RefusedConversions();

// Index combo: the item at `index`, no selection for a value outside the list.
void selectIndex(QComboBox* combo, int index);
// The selected item's index; -1 when nothing is selected or the typed text
// matches no item.
int selectedIndex(const QComboBox* combo);
