#include "core/disk/fields.h"

#include <array>
#include <cmath>
#include <limits>

#include "core/disk/codec.h"
#include "core/text/numbers.h"

namespace pairly::disk {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

FieldReader::FieldReader(std::string_view content) : content_(content) {}

bool FieldReader::atEnd() const {
    std::size_t p = pos_;
    while (p < content_.size() && isBlank(content_[p])) ++p;
    return p >= content_.size();
}

void FieldReader::skipEmptyLines() {
    while (pos_ < content_.size() && (isBlank(content_[pos_]) || isLineEnd(content_[pos_]))) ++pos_;
}

std::optional<std::string> FieldReader::next() {
    const auto view = nextView();
    if (!view) return std::nullopt;
    return std::string(*view);
}

std::optional<std::string_view> FieldReader::nextView() {
    unterminated_ = false;
    while (pos_ < content_.size() && isBlank(content_[pos_])) ++pos_;
    if (pos_ >= content_.size()) return std::nullopt;

    std::string_view value;
    if (content_[pos_] == '"') {
        const std::size_t close = content_.find('"', pos_ + 1);
        if (close == std::string_view::npos) {
            value = content_.substr(pos_ + 1);
            pos_ = content_.size();
            unterminated_ = true;
            return value;
        }
        value = content_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        // Whatever follows the closing quote up to the separator is ignored.
        while (pos_ < content_.size() && content_[pos_] != ',' && !isLineEnd(content_[pos_]))
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < content_.size() && content_[pos_] != ',' && !isLineEnd(content_[pos_]))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(content_[end - 1])) --end;
        value = content_.substr(start, end - start);
    }

    // One separator: a comma, or a line end (CR LF, CR or LF).
    if (pos_ < content_.size()) {
        if (content_[pos_] == ',') {
            ++pos_;
        } else if (content_[pos_] == '\r') {
            ++pos_;
            if (pos_ < content_.size() && content_[pos_] == '\n') ++pos_;
        } else if (content_[pos_] == '\n') {
            ++pos_;
        }
    }
    return value;
}

namespace {

// The bytes that end a bare field, and those that end the text of a quoted one.
constexpr std::array<bool, 256> stopTable(std::string_view stops) {
    std::array<bool, 256> table{};
    for (const char c : stops) table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kEndsBare = stopTable(",\r\n");
constexpr std::array<bool, 256> kEndsQuoted = stopTable("\"\r\n");

}  // namespace

LineFields readLineFields(std::string_view content, std::size_t pos, std::string_view* fields,
                          std::size_t capacity) {
    LineFields line;
    const std::size_t size = content.size();
    const char* const c = content.data();
    const auto runTo = [&](const std::array<bool, 256>& stops, std::size_t p) {
        while (p < size && !stops[static_cast<unsigned char>(c[p])]) ++p;
        return p;
    };
    bool afterComma = false;
    while (true) {
        while (pos < size && isBlank(c[pos])) ++pos;
        if (pos >= size) break;
        if (isLineEnd(c[pos])) {
            if (afterComma) {
                if (line.count < capacity) fields[line.count] = content.substr(pos, 0);
                ++line.count;
            }
            break;
        }
        std::string_view value;
        if (c[pos] == '"') {
            const std::size_t close = runTo(kEndsQuoted, pos + 1);
            value = content.substr(pos + 1, close - pos - 1);
            line.unclosed = close >= size || c[close] != '"';
            // Whatever follows the closing quote up to the separator is ignored.
            pos = line.unclosed ? close : runTo(kEndsBare, close + 1);
        } else {
            const std::size_t start = pos;
            pos = runTo(kEndsBare, pos);
            std::size_t end = pos;
            while (end > start && isBlank(c[end - 1])) --end;
            value = content.substr(start, end - start);
        }
        if (line.count < capacity) fields[line.count] = value;
        ++line.count;
        if (pos >= size || c[pos] != ',') break;
        ++pos;
        afterComma = true;
    }
    if (pos < size) {
        line.lineEnd = true;
        if (c[pos] == '\r' && pos + 1 < size && c[pos + 1] == '\n') ++pos;
        ++pos;
    }
    line.next = pos;
    return line;
}

float fieldFloat(std::string_view field) { return static_cast<float>(text::leadingNumber(field)); }

std::int16_t fieldInt16(std::string_view field) {
    return text::toInt16Clamped(text::leadingNumber(field));
}

namespace {

std::optional<double> numberOrBlank(std::string_view field) {
    if (field.empty()) return 0.0;
    if (isDigit(field.front()) || text::hasLeadingNumber(field)) return text::leadingNumber(field);
    if (isBlankText(field)) return 0.0;
    return std::nullopt;
}

// The usual integer field: at most five digits, perhaps after a minus sign.
std::optional<int> plainInteger(std::string_view field) {
    const bool negative = !field.empty() && field.front() == '-';
    if (negative) field.remove_prefix(1);
    if (field.empty() || field.size() > 5) return std::nullopt;
    int value = 0;
    for (const char c : field) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<float> fieldFloatInRange(std::string_view field) {
    const std::optional<double> value = numberOrBlank(field);
    // No value the program writes lies beyond the largest float: its texts have at most
    // seven digits, rounded from a float.
    if (!value || !(std::fabs(*value) <= std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<std::int16_t> fieldInt16InRange(std::string_view field) {
    if (const std::optional<int> plain = plainInteger(field);
        plain && *plain >= -32768 && *plain <= 32767)
        return static_cast<std::int16_t>(*plain);
    const std::optional<double> value = numberOrBlank(field);
    if (!value) return std::nullopt;
    return text::toInt16(*value);
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string quoted(const std::string& text) { return quoted(std::string_view(text)); }
std::string quoted(const char* text) { return quoted(std::string_view(text)); }

std::string writeLine(const std::vector<std::string>& renderedFields) {
    std::string out;
    for (std::size_t i = 0; i < renderedFields.size(); ++i) {
        if (i > 0) out += ',';
        out += renderedFields[i];
    }
    out += "\r\n";
    return out;
}

std::string printFormText(std::string_view text) {
    std::string out(text);
    out += "\r\n";
    return out;
}

std::string printFormNumber(std::string_view digits) {
    // The space before a number is the place of its sign.
    std::string out;
    if (digits.empty() || digits.front() != '-') out += ' ';
    out += digits;
    out += " \r\n";
    return out;
}

bool hasFieldBreakingChar(std::string_view text) {
    return text.find_first_of("\"\r\n") != std::string_view::npos;
}

// U+F780..U+F7FF (UTF-8 EF 9E xx / EF 9F xx) stand for bytes kept from a damaged file.
bool hasKeptByte(std::string_view text) {
    return text.find("\xEF\x9E") != std::string_view::npos ||
           text.find("\xEF\x9F") != std::string_view::npos;
}

bool hasCp932Form(std::string_view text) {
    const std::optional<std::string> bytes = toCp932(text);
    if (!bytes) return false;
    // A kept byte goes back as that byte, which may pair with the next one into another
    // character (U+F781 then "A" would read back as 、): such a text has no form of its own.
    return !hasKeptByte(text) || fromCp932(*bytes) == text;
}

bool isStorableText(std::string_view text) {
    return !hasFieldBreakingChar(text) && hasCp932Form(text);
}

namespace {

bool isNumberSyntax(std::string_view s) {
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool inRange(double v, NumberKind kind) {
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    switch (kind) {
        case NumberKind::Weight:
            return v > 0 && v <= 600;
        case NumberKind::BodyFat:
            return v >= 0 && v <= 100;
        case NumberKind::Mass:
            return v >= 0 && v <= 600;
        case NumberKind::Int16:
            return text::toInt16(v).has_value();
        case NumberKind::Positive:
            return v > 0 && v <= kFloatMax;
        case NumberKind::Step:
            return v > 0 && v <= 10;
        case NumberKind::Count:
            return v >= 1 && v < 32768;
    }
    return false;
}

}  // namespace

bool isBlankText(std::string_view text) {
    return text::asciiNumberText(text).find_first_not_of(" \t") == std::string::npos;
}

TypedNumber readTypedNumber(std::string_view text, NumberKind kind) {
    TypedNumber result;
    std::string s = text::asciiNumberText(text);
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        s.clear();
    } else {
        s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    }
    if (!s.empty()) {
        if (!isNumberSyntax(s)) {
            result.error = TypedNumberError::NotANumber;
            return result;
        }
        // The syntax is plain decimal, so the lenient reader gives exactly its value (a
        // digit run beyond the double range reads as the largest double).
        result.value = text::leadingNumber(s);
        if (result.value == 0) result.value = 0;  // "-0" is 0, not minus zero
    }
    if (!inRange(result.value, kind)) result.error = TypedNumberError::OutOfRange;
    return result;
}

double readLeadingNumber(std::string_view text) {
    return text::leadingNumber(text::asciiNumberText(text));
}

std::string numberRangeText(NumberKind kind) {
    switch (kind) {
        case NumberKind::Weight:
            return "0より大きく600以下の";
        case NumberKind::BodyFat:
            return "0～100の";
        case NumberKind::Mass:
            return "0～600の";
        case NumberKind::Int16:
            return "-32768～32767の";
        case NumberKind::Positive:
            return "0より大きい";
        case NumberKind::Step:
            return "0より大きく10以下の";
        case NumberKind::Count:
            return "1～32767の";
    }
    return "";
}

std::string refusedNumberText(std::string_view name, NumberKind kind) {
    return std::string(name) + "は" + numberRangeText(kind) + "数値で入力してください";
}

}  // namespace pairly::disk
