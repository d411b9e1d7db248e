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
        // An invalid or cut-off sequence: replace one byte and go on.
        out += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace pairly::store
