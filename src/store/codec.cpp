#include "store/codec.h"

#include <iconv.h>

#include <cerrno>

namespace pairly::store {

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

bool validUtf8(std::string_view s) {
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

}  // namespace

std::optional<std::string> toCp932(std::string_view utf8) {
    std::string out;
    if (utf8.empty()) return out;
    if (!validUtf8(utf8)) return std::nullopt;
    // ASCII passes through unchanged (CP932 keeps 0x5C and 0x7E as bytes).
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return std::string(utf8);

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
        in += 3;
        inLeft -= 3;
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

std::string fromCp932(std::string_view cp932) {
    std::string out;
    if (cp932.empty()) return out;
    Converter conv("UTF-8", "CP932");
    if (!conv.ok()) return out;
    char* in = const_cast<char*>(cp932.data());
    std::size_t inLeft = cp932.size();
    std::string buf(cp932.size() * 3 + 8, '\0');
    while (inLeft > 0) {
        char* dst = buf.data();
        std::size_t outLeft = buf.size();
        const std::size_t r = iconv(conv.get(), &in, &inLeft, &dst, &outLeft);
        out.append(buf.data(), buf.size() - outLeft);
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // An invalid or cut-off sequence: keep its bytes and go on. A lead byte takes its
        // trail byte along, so that the pair is written back as it was and never merges
        // with what follows into another character.
        const auto lead = static_cast<unsigned char>(*in);
        out += keepByte(lead);
        ++in;
        --inLeft;
        const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        if (isLead && inLeft > 0) {
            const auto trail = static_cast<unsigned char>(*in);
            if (trail >= 0x40 && trail != 0x7F) {
                if (trail < 0x80) {
                    out += static_cast<char>(trail);
                } else {
                    out += keepByte(trail);
                }
                ++in;
                --inLeft;
            }
        }
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace pairly::store
