#pragma once
// Number <-> text conversions shared by every subsystem. No locale is consulted:
// "." is always the decimal point.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pairly::text {

// Value of the longest leading decimal number of the text (optional sign, digits,
// one point); blanks are ignored, a text without a number gives 0.
double leadingNumber(std::string_view text);
// Whether the text has a leading number for leadingNumber to read (a digit after blanks,
// a sign and a point), rather than giving 0 for a text without one.
bool hasLeadingNumber(std::string_view text);

// The full-width digits, point and signs and the ideographic space that a Japanese input
// method produces, as their ASCII forms ("６０．５" -> "60.5"); other text is kept.
std::string asciiNumberText(std::string_view text);

// Shortest decimal text that reads back as the same 32-bit float (at most 7
// significant digits, no trailing zeros, no exponent): 65 -> "65", 65.3f -> "65.3".
std::string floatText(float value);

// Double with at most 15 significant digits, no trailing zeros: 60.2 + 0.1 -> "60.3".
std::string doubleText(double value);

// Nearest integer, halves to even (1350.5 -> 1350, 1351.5 -> 1352).
double roundHalfEven(double value);

// Conversion to a 16-bit integer, halves to even; nullopt when out of -32768..32767.
std::optional<std::int16_t> toInt16(double value);

// Same, but clamped into range; used by readers, which must never fail.
std::int16_t toInt16Clamped(double value);

// Int(x): the floor.
double intFloor(double value);

// A whole number (already rounded or floored) as an int: beyond the int range it gives
// the nearest int, NaN gives 0. For values from files, which may hold anything (a weight
// of 1e30 in a damaged log), on their way into counts and axis limits.
int saturatedInt(double whole);

// round1(x) = Int(x * 10 + 0.5) / 10.
double round1(double value);

// Display patterns: "0.0", "00.0", "0.00", "0", "0.0Kg", "0.000Kg", "0.0%", "0g",
// "0.0～", "0.0Kgまで". Rounding is half away from zero on the value's exact decimal
// expansion; a value that rounds to zero has no minus sign. "%" multiplies by 100.
std::string formatNumber(double value, std::string_view pattern);

// The figure formatNumber shows for a float with 0..3 decimals, as a number: the rounding
// above, without going through the text (60.25f -> 60.3 for one decimal, -0.04f -> 0).
double shownValue(float value, int decimals);

// A weight as the screens show it: formatNumber(value, "0.0Kg").
std::string kg(double value);

// A change of weight with its sign and one decimal, as the couple's panels write it:
// "+0.8kg", "−0.4kg" (U+2212), "±0.0kg" for a change that rounds to zero.
std::string signedKg(double change);

// The word after a change of weight (or BMI, obesity): " 減" for a loss (start minus now
// above 0), " 増" for a gain, " 同" otherwise.
const char* trendWord(double startMinusNow);

// The number floatText(value) shows, as a double: 59.9f -> 59.9, where the float itself
// lies at 59.900001525878906. Charts plot the figures as they are written.
double shortestDecimal(float value);

// The number formatNumber(value, "0.0") shows, as a double (0.0 gives 0): the figure a
// one-decimal grid cell holds; shownValue(value, 1).
double shownTenths(float value);

}  // namespace pairly::text
