#pragma once

#include <QString>

#include <optional>

// The value conversions the bot's data files were written with, fixed
// to one form whatever the machine's locale: "." is written as the decimal separator,
// "." and "," are both read.
namespace VbValues {

// --- reading numbers -----------------------------------------------------------------

// The number a text holds: blanks (spaces, tabs) around it allowed; an optional sign,
// digits with at most one decimal separator ("." or ","), an optional exponent ("1E3",
// "2.5e-2"). Empty text, text of blanks and anything else is no number (nullopt).
//   " 1 " -> 1, "1" -> 1, "-1 " -> -1, "1,5" -> 1.5, ".5" -> 0.5, "" -> none, "1a" -> none
std::optional<double> toNumber(const QString &text);

// True when the text holds a number ("1", " 1 ", "1.0" all hold 1).
bool holdsNumber(const QString &text, double value);
inline bool isNumber(const QString &text)
{
    return toNumber(text).has_value();
}

// Round half to even, as VB's CByte/CInt/CLng do: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
double roundHalfEven(double value);

// CByte, CInt, CLng: the number is rounded half to even, then range-checked. A failed
// conversion (no number, out of range) returns false and leaves target unchanged.
bool toByte(const QString &text, quint8 &target);  // 0..255
bool toInt16(const QString &text, qint16 &target); // -32768..32767 (VB Integer)
bool toInt32(const QString &text, qint32 &target); // VB Long
bool toByte(double value, quint8 &target);
bool toInt16(double value, qint16 &target);
bool toInt32(double value, qint32 &target);

// --- writing numbers -----------------------------------------------------------------

// VB's number-to-text of a double (CStr): at most 15 significant digits, no trailing
// zeros, "." as decimal separator, a leading "0" before the point; exponent form only
// from 1E+15 up and below 1E-04 ("1E+15", "1.5E-05"). NaN and infinities give "".
//   1 -> "1", -2.5 -> "-2.5", 0.5 -> "0.5", 18930041.18 -> "18930041.18", 0.1 + 0.2 -> "0.3"
QString numberText(double value);

// The print form of a number written on its own line (VB's Print #): a blank in the
// sign's place, the digits and a blank: 1 -> " 1 ", 0 -> " 0 ", -1 -> "-1 ". As in VB,
// a fraction below 1 loses its leading zero: 0.5 -> " .5 ", -0.5 -> "-.5 ".
QString printForm(double value);

// --- letter case ---------------------------------------------------------------------

enum class YoCase {
    Upper, // ё becomes Ё
    Keep,  // ё stays (callers whose upper-casing leaves it alone)
};

// Upper case in the Windows-1251 sense: Latin a-z and Cyrillic а-я; ё as yo says.
// Every other character is kept.
QString upperCase(const QString &text, YoCase yo = YoCase::Upper);

} // namespace VbValues
