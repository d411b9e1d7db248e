#pragma once
// CP932 (Windows Shift-JIS) <-> UTF-8 through glibc iconv. All text in memory is UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace pairly::store {

// nullopt when a character has no CP932 form (U+F780..U+F7FF are the kept bytes).
std::optional<std::string> toCp932(std::string_view utf8);

// Never fails. A byte that is not valid CP932 becomes U+F700 + byte (private use), which
// toCp932 turns back into that byte: a damaged file is written back as it was.
std::string fromCp932(std::string_view cp932);

}  // namespace pairly::store
