#include "core/disk/codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace pairly::disk {

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// A byte that is no CP932 (always 0x80..0xFF: every ASCII byte is valid) is kept as the
// private-use character U+F700 + byte, which CP932 does not use, so that a file with a
// damaged byte can be read, edited and written back without losing that byte.
std::string keepByte(unsigned char byte) {
    const unsigned cp = 0xF700u + byte;
    return {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
            static_cast<char>(0x80 | (cp & 0x3F))};
}

// The byte kept by keepByte at the start of utf8, or -1.
int keptByte(std::string_view utf8) {
    if (utf8.size() < 3) return -1;
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    const auto b1 = static_cast<unsigned char>(utf8[1]);
    const auto b2 = static_cast<unsigned char>(utf8[2]);
    if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return -1;
    const unsigned cp = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
    return cp >= 0xF780 && cp <= 0xF7FF ? static_cast<int>(cp - 0xF700) : -1;
}

bool isAsciiText(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string utf8Of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// The code point of the two- or three-byte sequence at s[i] and its length; length 0 when
// there is none there (ASCII, four bytes, or not UTF-8).
struct BmpChar {
    char32_t cp = 0;
    std::size_t length = 0;
};
BmpChar bmpCharAt(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const auto cont = [&](std::size_t k) {
        return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
    };
    if ((b0 >> 5) == 0x6 && cont(1))
        return {((b0 & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu), 2};
    if ((b0 >> 4) == 0xE && cont(1) && cont(2))
        return {((b0 & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                    (static_cast<unsigned char>(s[i + 2]) & 0x3Fu),
                3};
    return {};
}

// One short text through an open converter; nullopt when it does not convert whole.
std::optional<std::string> convertShort(iconv_t cd, const std::string& text) {
    char buf[16];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* dst = buf;
    std::size_t outLeft = sizeof buf;
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1) || inLeft > 0)
        return std::nullopt;
    return std::string(buf, sizeof buf - outLeft);
}

// For every code point of the Basic Multilingual Plane, the one that the files give back
// for it. Asked of the converter itself, once: each character is encoded and its bytes
// decoded again. Itself for a character that round-trips and for one without a CP932
// form; kNoStoredForm for one whose bytes read back as something that is not one
// character of the plane (the writers then refuse it).
constexpr char16_t kNoStoredForm = 0xFFFF;

class StoredTable {
public:
    StoredTable() {
        for (std::size_t cp = 0; cp < back_.size(); ++cp) back_[cp] = static_cast<char16_t>(cp);
        Converter encode("CP932", "UTF-8");
        Converter decode("UTF-8", "CP932");
        if (!encode.ok() || !decode.ok()) return;
        bool fullWidthYenRoundTrips = false;
        // ASCII passes through unchanged (CP932 keeps 0x5C and 0x7E as bytes).
        for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
            if (cp >= 0xD800 && cp < 0xE000) continue;  // surrogates are no characters
            const std::string text = utf8Of(cp);
            const std::optional<std::string> bytes = convertShort(encode.get(), text);
            if (!bytes) continue;
            const std::optional<std::string> back = convertShort(decode.get(), *bytes);
            if (back && *back == text) {
                if (cp == 0xFFE5) fullWidthYenRoundTrips = true;
                continue;
            }
            char16_t other = kNoStoredForm;
            if (back && back->size() == 1 && static_cast<unsigned char>((*back)[0]) < 0x80) {
                other = static_cast<char16_t>((*back)[0]);
            } else if (back && !back->empty()) {
                const BmpChar c = bmpCharAt(*back, 0);
                if (c.length == back->size()) other = static_cast<char16_t>(c.cp);
            }
            back_[cp] = other;
        }
        // The converter gives "\" back for ¥; the files can hold ￥, which every Japanese font
        // shows as a yen sign.
        if (fullWidthYenRoundTrips && back_[0xA5] != 0xA5) back_[0xA5] = 0xFFE5;
    }
    char16_t operator[](char32_t cp) const { return back_[cp]; }

private:
    std::array<char16_t, 0x10000> back_{};
};

const StoredTable& storedTable() {
    static const StoredTable table;
    return table;
}

}  // namespace

char32_t storedCodePoint(char32_t cp) {
    if (cp < 0x80 || cp >= 0x10000) return cp;
    const char16_t back = storedTable()[cp];
    return back == kNoStoredForm ? cp : back;
}

bool isStoredForm(std::string_view utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = p + utf8.size();
    // Most of a log is ASCII, which is always its own stored form.
    while (p < end && *p < 0x80) ++p;
    if (p == end) return true;
    const StoredTable& table = storedTable();
    while (p < end) {
        const unsigned b0 = *p;
        if (b0 < 0x80) {
            ++p;
        } else if ((b0 >> 5) == 0x6 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            const char32_t cp = ((b0 & 0x1Fu) << 6) | (p[1] & 0x3Fu);
            if (table[cp] != cp) return false;
            p += 2;
        } else if ((b0 >> 4) == 0xE && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
                   (p[2] & 0xC0) == 0x80) {
            const char32_t cp = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
            if (table[cp] != cp) return false;
            p += 3;
        } else {
            ++p;  // a character beyond the plane, or a stray byte
        }
    }
    return true;
}

std::string storedForm(std::string_view utf8) {
    if (isStoredForm(utf8)) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size() + 4);
    for (std::size_t i = 0; i < utf8.size();) {
        const BmpChar c = bmpCharAt(utf8, i);
        if (c.length == 0) {
            out += utf8[i++];
            continue;
        }
        const char32_t back = storedCodePoint(c.cp);
        if (back == c.cp)
            out.append(utf8.substr(i, c.length));
        else
            out += utf8Of(back);
        i += c.length;
    }
    return out;
}

std::optional<std::string> toCp932(std::string_view utf8) {
    std::string out;
    if (utf8.empty()) return out;
    if (!isUtf8(utf8)) return std::nullopt;
    // ASCII passes through unchanged (CP932 keeps 0x5C and 0x7E as bytes).
    if (isAsciiText(utf8)) return std::string(utf8);
    if (!isStoredForm(utf8)) return std::nullopt;

    bool keptAny = false;
    Converter conv("CP932", "UTF-8");
    if (!conv.ok()) return std::nullopt;
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    std::string buf(utf8.size() * 2 + 8, '\0');
    while (inLeft > 0) {
        char* dst = buf.data();
        std::size_t outLeft = buf.size();
        const std::size_t r = iconv(conv.get(), &in, &inLeft, &dst, &outLeft);
        out.append(buf.data(), buf.size() - outLeft);
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // A byte that was kept from an unreadable file goes back as it was.
        const int kept = keptByte(std::string_view(in, inLeft));
        if (kept < 0) return std::nullopt;
        out += static_cast<char>(kept);
        keptAny = true;
        in += 3;
        inLeft -= 3;
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    // A kept byte goes back alone and may pair with the next byte into another character
    // (U+F781 then "A" would read back as 、): such a text has no form of its own.
    if (keptAny && fromCp932(out) != utf8) return std::nullopt;
    return out;
}

namespace {

// Converts with an open converter, keeping each invalid byte (see keepByte).
std::string convertFromCp932(iconv_t cd, std::string_view cp932) {
    std::string out;
    if (cp932.empty()) return out;
    char* in = const_cast<char*>(cp932.data());
    std::size_t inLeft = cp932.size();
    // Converted in place into the result: room for text that is half double-byte
    // characters (each 2 bytes become 3), grown when the text needs more.
    out.resize(cp932.size() + cp932.size() / 2 + 16);
    std::size_t used = 0;
    while (inLeft > 0) {
        char* dst = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
        used = out.size() - outLeft;
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() + out.size() / 2 + 16);
            continue;
        }
        // An invalid or cut-off sequence: keep its bytes and go on. A lead byte takes its
        // trail byte along, so that the pair is written back as it was and never merges
        // with what follows into another character.
        std::string kept;
        const auto lead = static_cast<unsigned char>(*in);
        kept += keepByte(lead);
        ++in;
        --inLeft;
        const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        if (isLead && inLeft > 0) {
            const auto trail = static_cast<unsigned char>(*in);
            if (trail >= 0x40 && trail != 0x7F) {
                if (trail < 0x80) {
                    kept += static_cast<char>(trail);
                } else {
                    kept += keepByte(trail);
                }
                ++in;
                --inLeft;
            }
        }
        if (out.size() - used < kept.size()) out.resize(used + kept.size() + 16);
        out.replace(used, kept.size(), kept);
        used += kept.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

}  // namespace

std::string fromCp932(std::string_view cp932) {
    if (cp932.empty()) return std::string();
    Converter conv("UTF-8", "CP932");
    if (!conv.ok()) return std::string();
    return convertFromCp932(conv.get(), cp932);
}

struct Cp932Decoder::Impl {
    Converter conv{"UTF-8", "CP932"};
    // A few recent texts and their UTF-8 form, the newest replacing the oldest.
    static constexpr std::size_t kRemembered = 16;
    std::string keys[kRemembered];
    std::string values[kRemembered];
    std::size_t next = 0;
    std::string scratch;
};

Cp932Decoder::Cp932Decoder() : impl_(new Impl) {}

Cp932Decoder::~Cp932Decoder() { delete impl_; }

std::string_view Cp932Decoder::decode(std::string_view cp932) {
    if (isAsciiText(cp932)) return cp932;
    Impl& d = *impl_;
    for (std::size_t i = 0; i < Impl::kRemembered; ++i)
        if (d.keys[i] == cp932 && !d.keys[i].empty()) return d.values[i];
    if (!d.conv.ok()) {
        d.scratch.clear();
        return d.scratch;
    }
    std::string utf8 = convertFromCp932(d.conv.get(), cp932);
    // Short texts are the ones that repeat (situations); a long one is passed on alone.
    if (cp932.size() > 32) {
        d.scratch = std::move(utf8);
        return d.scratch;
    }
    const std::size_t slot = d.next;
    d.next = (d.next + 1) % Impl::kRemembered;
    d.keys[slot] = std::string(cp932);
    d.values[slot] = std::move(utf8);
    return d.values[slot];
}

bool isUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80           ? 1
                        : (c >> 5) == 0x6  ? 2
                        : (c >> 4) == 0xE  ? 3
                        : (c >> 3) == 0x1E ? 4
                                           : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

}  // namespace pairly::disk
