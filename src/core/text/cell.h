#pragma once
// What a table cell holds: nothing, a text, or a number with the way it is shown. Tables
// keep numbers as numbers and turn them into text only when a cell is drawn or read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pairly::text {

class Cell {
public:
    enum class Kind : std::uint8_t { Missing, Text, Pattern, Integer, Shortest };

    Cell() = default;  // missing: shown as ""
    static Cell text(std::string_view text);
    // formatNumber(value, pattern) followed by `suffix`; pattern and suffix are literals.
    static Cell number(double value, const char* pattern, const char* suffix = "");
    // The whole number as digits ("-3", "1450") followed by `suffix` (a literal).
    static Cell integer(long long value, const char* suffix = "");
    // floatText(value): the shortest text that reads back as the same float.
    static Cell shortest(float value);

    Kind kind() const { return kind_; }
    bool isMissing() const { return kind_ == Kind::Missing; }
    // The number of a numeric cell as held (not rounded); 0 for a text or a missing cell.
    double value() const { return value_; }

    std::string formatted() const;
    // The formatted text cut after `maxChars` characters, "…" in place of the rest: what a
    // table lays out of a text of any length, without copying all of it.
    std::string formatted(std::size_t maxChars) const;

private:
    Kind kind_ = Kind::Missing;
    double value_ = 0;
    const char* pattern_ = "";
    const char* suffix_ = "";
    std::string text_;
};

}  // namespace pairly::text
