#include "core/text/cell.h"

#include "core/text/numbers.h"

namespace pairly::text {

Cell Cell::text(std::string_view text) {
    Cell c;
    c.kind_ = Kind::Text;
    c.text_ = text;
    return c;
}

Cell Cell::number(double value, const char* pattern, const char* suffix) {
    Cell c;
    c.kind_ = Kind::Pattern;
    c.value_ = value;
    c.pattern_ = pattern;
    c.suffix_ = suffix;
    return c;
}

Cell Cell::integer(long long value, const char* suffix) {
    Cell c;
    c.kind_ = Kind::Integer;
    c.value_ = static_cast<double>(value);
    c.suffix_ = suffix;
    return c;
}

Cell Cell::shortest(float value) {
    Cell c;
    c.kind_ = Kind::Shortest;
    c.value_ = value;
    return c;
}

std::string Cell::formatted() const {
    switch (kind_) {
        case Kind::Missing:
            return {};
        case Kind::Text:
            return text_;
        case Kind::Pattern:
            return formatNumber(value_, pattern_) + suffix_;
        case Kind::Integer:
            return std::to_string(static_cast<long long>(value_)) + suffix_;
        case Kind::Shortest:
            return floatText(static_cast<float>(value_)) + suffix_;
    }
    return {};
}

std::string Cell::formatted(std::size_t maxChars) const {
    if (kind_ != Kind::Text) return formatted();
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        // A character starts at every byte that is not a UTF-8 continuation byte.
        if ((static_cast<unsigned char>(text_[i]) & 0xC0) == 0x80) continue;
        if (chars++ == maxChars) return text_.substr(0, i) + "…";
    }
    return text_;
}

}  // namespace pairly::text
