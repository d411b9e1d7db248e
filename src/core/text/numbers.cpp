#include "core/text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace pairly::text {

namespace {

// Blanks inside a number are skipped: ASCII space and tab, and the ideographic space
// that a Japanese input method produces.
std::size_t blankLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    if (text[pos] == ' ' || text[pos] == '\t') return 1;
    if (text.compare(pos, 3, "\xE3\x80\x80") == 0) return 3;
    return 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Exact powers of ten: with at most 15 digits (an exact double) divided by one of these, a
// single division rounds correctly, as a full decimal reader does.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Turns "d.ddddde±X" (std::to_chars scientific output) into plain decimal notation
// without trailing zeros in the fraction. Built in a buffer: numbers are written by the
// thousand in long lists.
std::string plainFromScientific(std::string_view sci) {
    bool negative = false;
    if (!sci.empty() && sci.front() == '-') {
        negative = true;
        sci.remove_prefix(1);
    }
    const std::size_t ePos = sci.find('e');
    std::string_view mantissa = sci.substr(0, ePos);
    int exponent = 0;
    if (ePos != std::string_view::npos) {
        std::string_view expText = sci.substr(ePos + 1);
        if (!expText.empty() && expText.front() == '+') expText.remove_prefix(1);
        std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    }
    std::string digits;
    digits.reserve(mantissa.size());
    for (char c : mantissa)
        if (isDigit(c)) digits.push_back(c);
    // Value = 0.digits * 10^(exponent + 1): the point comes after `pointPos` digits.
    const int pointPos = exponent + 1;
    const int count = static_cast<int>(digits.size());
    // The fraction without its trailing zeros.
    int fracEnd = count;
    while (fracEnd > std::max(pointPos, 0) && digits[static_cast<std::size_t>(fracEnd - 1)] == '0')
        --fracEnd;
    std::string out;
    out.reserve(
        static_cast<std::size_t>(std::max(pointPos, 1) + std::max(-pointPos, 0) + count + 2));
    if (negative) out += '-';
    // Integer part: the digits before the point, zeros added when it lies beyond them,
    // leading zeros dropped.
    const std::size_t intStart = out.size();
    for (int k = 0; k < pointPos; ++k) {
        const char c = k < count ? digits[static_cast<std::size_t>(k)] : '0';
        if (c == '0' && out.size() == intStart) continue;
        out += c;
    }
    const bool intZero = out.size() == intStart;
    if (intZero) out += '0';
    const int fracStart = std::max(pointPos, 0);
    if (fracEnd > fracStart) {
        out += '.';
        for (int k = pointPos; k < 0; ++k) out += '0';
        out.append(digits, static_cast<std::size_t>(fracStart),
                   static_cast<std::size_t>(fracEnd - fracStart));
    } else if (intZero) {
        return "0";
    }
    return out;
}

template <typename T>
std::string scientific(T value, int significantDigits) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                             significantDigits - 1);
    return std::string(buf, res.ptr);
}

// Exact decimal expansion of a finite double in fixed notation (no sign).
std::string exactDecimal(double magnitude) {
    int exp2 = 0;
    std::frexp(magnitude, &exp2);
    // value = m * 2^(exp2 - 53) with integer m: that many binary fraction digits need
    // as many decimal ones.
    int fraction = 53 - exp2;
    if (fraction < 0) fraction = 0;
    if (fraction > 1100) fraction = 1100;
    std::string buf(static_cast<std::size_t>(fraction) + 330, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                             std::chars_format::fixed, fraction);
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    return buf;
}

// Adds one unit in the last place of a string of decimal digits; may grow it by one.
void incrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return;
        }
    }
    digits.insert(digits.begin(), '1');
}

// Digits of |value| enough to round it half away from zero at `decimals`. The correctly
// rounded expansion three places further decides exactly as the exact one does, unless
// those three digits read 500: the exact value may then lie just below the half, and the
// whole exact expansion is taken. Long lists format thousands of values, so this matters.
std::string expansionDigits(double magnitude, int decimals) {
    char buf[480];
    if (decimals <= 100) {
        auto res =
            std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, decimals + 3);
        if (res.ec == std::errc()) {
            const std::string_view digits(buf, static_cast<std::size_t>(res.ptr - buf));
            if (digits.substr(digits.size() - 3) != "500") return std::string(digits);
        }
    }
    return exactDecimal(magnitude);
}

// The digits of |value| rounded half away from zero at `decimals`, without the point.
std::string roundedDigits(double magnitude, int decimals) {
    // The values of the logs are floats. A float times 10^d (d <= 8) is exact in double, and
    // so is adding the half below 2^52: the rounding needs no decimal expansion.
    static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    if (decimals <= 8 && static_cast<double>(static_cast<float>(magnitude)) == magnitude) {
        const double scaled = magnitude * kPowers[decimals];
        if (scaled < 0x1p52) {
            char buf[32];
            const auto res = std::to_chars(buf, buf + sizeof buf,
                                           static_cast<std::uint64_t>(std::floor(scaled + 0.5)));
            std::string digits(buf, res.ptr);
            const auto least = static_cast<std::size_t>(decimals) + 1;
            if (digits.size() < least) digits.insert(0, least - digits.size(), '0');
            return digits;
        }
    }
    const std::string exact = expansionDigits(magnitude, decimals);
    const std::size_t point = exact.find('.');
    std::string fracDigits = point == std::string::npos ? "" : exact.substr(point + 1);
    if (fracDigits.size() < static_cast<std::size_t>(decimals))
        fracDigits.append(static_cast<std::size_t>(decimals) - fracDigits.size(), '0');
    // Half away from zero on the exact expansion: the first dropped digit decides.
    const bool roundUp = fracDigits.size() > static_cast<std::size_t>(decimals) &&
                         fracDigits[static_cast<std::size_t>(decimals)] >= '5';
    std::string kept =
        exact.substr(0, point) + fracDigits.substr(0, static_cast<std::size_t>(decimals));
    if (roundUp) incrementDigits(kept);
    return kept;
}

struct NumberPattern {
    std::string prefix;
    std::string suffix;
    int minIntDigits = 0;
    int requiredDecimals = 0;  // '0' after the point
    int optionalDecimals = 0;  // '#' after the point
    bool percent = false;
};

NumberPattern parsePattern(std::string_view pattern) {
    NumberPattern p;
    std::size_t start = pattern.find_first_of("0#.");
    if (start == std::string_view::npos) {
        p.prefix = std::string(pattern);
        p.percent = pattern.find('%') != std::string_view::npos;
        return p;
    }
    std::size_t end = start;
    bool afterPoint = false;
    while (end < pattern.size()) {
        char c = pattern[end];
        if (c == '0' || c == '#') {
            if (afterPoint) {
                if (c == '0')
                    ++p.requiredDecimals;
                else
                    ++p.optionalDecimals;
            } else if (c == '0') {
                ++p.minIntDigits;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
        ++end;
    }
    p.prefix = std::string(pattern.substr(0, start));
    p.suffix = std::string(pattern.substr(end));
    p.percent = pattern.find('%') != std::string_view::npos;
    return p;
}

}  // namespace

std::string asciiNumberText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        // ０..９ are EF BC 90..99, ＋ EF BC 8B, － EF BC 8D, ． EF BC 8E.
        if (text.compare(i, 2, "\xEF\xBC") == 0 && i + 2 < text.size()) {
            const auto third = static_cast<unsigned char>(text[i + 2]);
            char ascii = 0;
            if (third >= 0x90 && third <= 0x99) ascii = static_cast<char>('0' + (third - 0x90));
            if (third == 0x8B) ascii = '+';
            if (third == 0x8D) ascii = '-';
            if (third == 0x8E) ascii = '.';
            if (ascii) {
                out.push_back(ascii);
                i += 3;
                continue;
            }
        }
        if (text.compare(i, 3, "\xE3\x80\x80") == 0) {  // ideographic space
            out.push_back(' ');
            i += 3;
            continue;
        }
        out.push_back(text[i]);
        ++i;
    }
    return out;
}

double leadingNumber(std::string_view text) {
    // Most texts are a plain number ("65.3", "-0.2Kg"): read it in one pass. Blanks inside
    // the number, or a point at either end, take the general way below.
    {
        const char* p = text.data();
        const char* const end = p + text.size();
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) ++p;
        const char* const start = p;
        std::uint64_t mantissa = 0;  // meaningless beyond 15 digits, and then not used
        int digits = 0;
        int decimals = -1;
        for (; p < end; ++p) {
            const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
            if (digit <= 9) {
                mantissa = mantissa * 10 + digit;
                ++digits;
                if (decimals >= 0) ++decimals;
            } else if (*p == '.' && decimals < 0) {
                decimals = 0;
            } else {
                break;
            }
        }
        const bool blankNext = p < end && (*p == ' ' || *p == '\t' || *p == '\xE3');
        if (digits > 0 && *start != '.' && p[-1] != '.' && !blankNext) {
            double value = 0;
            if (digits <= 15) {
                value = static_cast<double>(mantissa) / kPowersOfTen[decimals < 0 ? 0 : decimals];
            } else {
                const auto res = std::from_chars(start, p, value);
                if (res.ec == std::errc::result_out_of_range)
                    value = std::numeric_limits<double>::max();
            }
            return negative ? -value : value;
        }
    }
    std::string clean;
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (std::size_t n = blankLength(text, pos)) pos += n;
    };
    skipBlanks();
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    bool seenPoint = false;
    bool seenDigit = false;
    while (true) {
        skipBlanks();
        if (pos >= text.size()) break;
        char c = text[pos];
        if (isDigit(c)) {
            clean.push_back(c);
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            clean.push_back(c);
            seenPoint = true;
        } else {
            break;
        }
        ++pos;
    }
    if (!seenDigit) return 0;
    if (clean.front() == '.') clean.insert(clean.begin(), '0');
    if (clean.back() == '.') clean.pop_back();
    double value = 0;
    auto res = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Only a huge digit run gets here; a tiny one is impossible without an exponent.
        value = std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

bool hasLeadingNumber(std::string_view text) {
    if (!text.empty() && isDigit(text.front())) return true;
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (std::size_t n = blankLength(text, pos)) pos += n;
    };
    skipBlanks();
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    skipBlanks();
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        skipBlanks();
    }
    return pos < text.size() && isDigit(text[pos]);
}

std::string floatText(float value) {
    if (!std::isfinite(value) || value == 0.0f) return "0";
    // No text shorter than the shortest one that reads back can read back: start there
    // (an average such as 72.33333 would otherwise try every length).
    char buf[32];
    const auto shortest =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    int first = 0;
    for (const char* c = buf; c < shortest.ptr && *c != 'e'; ++c) first += isDigit(*c) ? 1 : 0;
    for (int digits = std::max(1, first); digits < 7; ++digits) {
        std::string sci = scientific(value, digits);
        float back = 0;
        std::from_chars(sci.data(), sci.data() + sci.size(), back);
        if (back == value) return plainFromScientific(sci);
    }
    return plainFromScientific(scientific(value, 7));
}

std::string doubleText(double value) {
    if (!std::isfinite(value) || value == 0.0) return "0";
    return plainFromScientific(scientific(value, 15));
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff > 0.5) return lower + 1;
    if (diff < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::optional<std::int16_t> toInt16(double value) {
    const double r = roundHalfEven(value);
    if (std::isnan(r) || r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::int16_t toInt16Clamped(double value) {
    if (std::isnan(value)) return 0;
    const double r = roundHalfEven(value);
    if (r < -32768.0) return -32768;
    if (r > 32767.0) return 32767;
    return static_cast<std::int16_t>(r);
}

double intFloor(double value) { return std::floor(value); }

int saturatedInt(double whole) {
    if (std::isnan(whole)) return 0;
    if (whole <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (whole >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}

double round1(double value) { return intFloor(value * 10 + 0.5) / 10; }

std::string formatNumber(double value, std::string_view pattern) {
    const NumberPattern p = parsePattern(pattern);
    if (!std::isfinite(value)) value = 0;
    if (p.percent) value *= 100;
    const bool negative = std::signbit(value);
    const int decimals = p.requiredDecimals + p.optionalDecimals;

    const std::string kept = roundedDigits(std::fabs(value), decimals);
    std::string intDigits = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    std::string fracDigits = kept.substr(kept.size() - static_cast<std::size_t>(decimals));

    const bool isZero = kept.find_first_not_of('0') == std::string::npos;

    std::size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? "" : intDigits.substr(firstNonZero);
    if (intDigits.size() < static_cast<std::size_t>(p.minIntDigits))
        intDigits.insert(0, static_cast<std::size_t>(p.minIntDigits) - intDigits.size(), '0');

    int dropOptional = 0;
    while (dropOptional < p.optionalDecimals && !fracDigits.empty() && fracDigits.back() == '0') {
        fracDigits.pop_back();
        ++dropOptional;
    }

    std::string out;
    if (negative && !isZero) out += '-';
    out += p.prefix;
    out += intDigits;
    if (!fracDigits.empty()) out += "." + fracDigits;
    out += p.suffix;
    return out;
}

double shownValue(float value, int decimals) {
    if (!std::isfinite(value)) return 0;
    decimals = std::clamp(decimals, 0, 3);
    const double scale = decimals == 0 ? 1 : decimals == 1 ? 10 : decimals == 2 ? 100 : 1000;
    // A float times 1000 is exact in a double, so std::round (halves away from zero) sees
    // the value's exact decimal expansion, as formatNumber does.
    const double shown = std::round(static_cast<double>(value) * scale) / scale;
    return shown == 0 ? 0.0 : shown;
}

std::string kg(double value) { return formatNumber(value, "0.0Kg"); }

std::string signedKg(double change) {
    std::string tenths = formatNumber(change, "0.0");
    if (tenths == "0.0") return "±0.0kg";
    if (tenths.front() == '-') return "−" + tenths.substr(1) + "kg";
    return "+" + tenths + "kg";
}

const char* trendWord(double startMinusNow) {
    if (startMinusNow < 0) return " 増";
    if (startMinusNow > 0) return " 減";
    return " 同";
}

double shortestDecimal(float value) {
    if (!std::isfinite(value) || value == 0.0f) return 0;
    // Most figures have one decimal: when k / 10 reads back as the value, no shorter text
    // does (floats below 1e5 lie closer than 0.1 together), so it is the shortest.
    if (std::fabs(value) < 1e5f) {
        const double tenths = std::round(static_cast<double>(value) * 10) / 10;
        if (static_cast<float>(tenths) == value) return tenths;
    }
    // floatText keeps at most seven significant digits: beyond that the seven-digit text.
    char buf[48];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    int digits = 0;
    for (const char* c = buf; c < res.ptr && *c != 'e'; ++c) digits += isDigit(*c) ? 1 : 0;
    if (digits > 7) res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 6);
    double out = 0;
    std::from_chars(buf, res.ptr, out);
    return out;
}

double shownTenths(float value) { return shownValue(value, 1); }

}  // namespace pairly::text
