#pragma once
// The number rules of the editor, in one place: rounding, checked integer conversions, numbers as text
// (logs, dumps, boxes) and numbers read from text. Always the C locale: a point, never a comma.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarv {

// Round half to even ("banker's rounding"): 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2.
double roundHalfEven(double value);
// The same at n decimals (n >= 0).
double roundHalfEven(double value, int decimals);

// Checked conversions: round half to even, then "Overflow" (error 6) outside the target's range.
int16_t toInt16(double value);
int32_t toInt32(double value);
int16_t toInt16(int64_t value);
int32_t toInt32(int64_t value);
// Plain integers must not silently pick the double overloads.
inline int16_t toInt16(int value) { return toInt16(int64_t(value)); }
inline int32_t toInt32(int value) { return toInt32(int64_t(value)); }

// A 32-bit float as text: at most seven significant digits, no leading blank, no trailing zeros or
// point; exponent form ("1.234568E+07", "1E-05") from 1E7 up and below 1E-4 in magnitude. 0 is "0".
std::string floatText(float value);
// The shortest plain decimal text (no exponent) that parseNumber reads back, through a double, to the same
// 32-bit float: 4.0333333 for the float nearest 4.0333333, where floatText gives 4.033333. Finite values only.
std::string roundTripFloatText(float value);
// A 64-bit float as text: the same rules with fifteen significant digits (exponent from 1E15 up).
std::string doubleText(double value);
// An integer in plain decimal.
std::string intText(int64_t value);
// Right-aligns text in width characters; a longer text is never cut.
std::string rightAlign(const std::string& text, size_t width);
// The "0.00" form: at least one digit before the point, exactly two after, halves away from zero.
std::string fixed2(double value);

// The numeric beginning of a text: leading blanks skipped, an optional sign, digits with at most one
// point, an optional exponent; 0 when the text does not begin with a number. (" -1.5e2x" -> -150.)
double leadingNumber(std::string_view text);

// The numeric test of a whole box text: blanks around an optional sign, digits with at most one point,
// an optional exponent, nothing else. An empty text is not a number.
bool isNumeric(std::string_view text);
// The value of a text that passes isNumeric; nullopt otherwise.
std::optional<double> parseNumber(std::string_view text);

}  // namespace tarv
