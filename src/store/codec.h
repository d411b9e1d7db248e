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

// fromCp932 for many short texts in a row (the fields of a log): one converter for all,
// ASCII passed through, and recent texts remembered (situations repeat on every line).
class Cp932Decoder {
public:
    Cp932Decoder();
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;
    // The text as UTF-8: `cp932` itself when it is ASCII, else a decoded copy that stays
    // valid until the next call.
    std::string_view decode(std::string_view cp932);

private:
    struct Impl;
    Impl* impl_;
};

}  // namespace pairly::store
