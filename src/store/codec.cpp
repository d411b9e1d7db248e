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
    out.resize(utf8.size() * 2 + 8);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    if (iconv(conv.get(), &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

namespace {

// Converts with an open converter, replacing each invalid byte by U+FFFD.
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
        // An invalid or cut-off sequence: replace one byte and go on.
        if (out.size() - used < 3) out.resize(out.size() + 16);
        out.replace(used, 3, "\xEF\xBF\xBD");
        used += 3;
        ++in;
        --inLeft;
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
