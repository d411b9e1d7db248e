#pragma once
// CP932 (Windows Shift-JIS) <-> UTF-8 through glibc iconv. All text in memory is UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace pairly::store {

// nullopt when a character has no CP932 form.
std::optional<std::string> toCp932(std::string_view utf8);

// Bytes that are not valid CP932 become U+FFFD; never fails.
std::string fromCp932(std::string_view cp932);

}  // namespace pairly::store
