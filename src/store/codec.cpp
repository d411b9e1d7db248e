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

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
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
    if (isAscii(cp932)) return cp932;
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

}  // namespace pairly::store
