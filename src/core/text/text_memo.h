#pragma once
// Number texts of a long log, made once per distinct value: weights repeat thousands of
// times over thirty years, and a lookup is far cheaper than a conversion.
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/text/numbers.h"

namespace pairly::text {

// floatText, or formatNumber with one pattern, per distinct float value.
class FloatTextMemo {
public:
    // An empty pattern means the shortest text (floatText).
    explicit FloatTextMemo(std::string_view pattern = {}) : pattern_(pattern) {}

    const std::string& operator()(float value) {
        auto [it, added] = texts_.try_emplace(std::bit_cast<std::uint32_t>(value));
        if (added) {
            it->second =
                pattern_.empty() ? text::floatText(value) : text::formatNumber(value, pattern_);
        }
        return it->second;
    }

private:
    std::string pattern_;
    std::unordered_map<std::uint32_t, std::string> texts_;
};

}  // namespace pairly::text
