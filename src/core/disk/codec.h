#pragma once
// CP932 (Windows Shift-JIS) <-> UTF-8 through glibc iconv. All text in memory is UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace pairly::disk {

// What the data files give back for a text: every character whose CP932 bytes read back
// as another character is replaced by that character (〜 U+301C by ～ U+FF5E, − U+2212 by
// －, ‖ by ∥ …, as the converter itself decides), and ¥ U+00A5 by ￥ U+FFE5, which every
// Japanese font shows as a yen sign, not by the "\" the converter gives back for it.
// Every stored text is put into this form where it is typed, so that the screen holds
// what the file will give back. Characters without a CP932 form, kept bytes
// (U+F780..U+F7FF) and bytes that are not UTF-8 stay as they are.
std::string storedForm(std::string_view utf8);
// Whether the bytes are well-formed UTF-8 (no sequence cut or broken).
bool isUtf8(std::string_view bytes);
// The same for one code point (it stays as it is from U+10000 on).
char32_t storedCodePoint(char32_t cp);
// storedForm(utf8) == utf8, without making the copy.
bool isStoredForm(std::string_view utf8);

// The bytes of a text that the files give back exactly as it is; nullopt when a character
// has no CP932 form, when the text is not its own storedForm (a writer refuses rather
// than store a text that would read back as another one), or when a kept byte
// (U+F780..U+F7FF) would pair with its neighbour into another character.
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

}  // namespace pairly::disk
