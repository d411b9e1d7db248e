#include "core/phone/form.h"

#include <cctype>
#include <set>

namespace pairly::phone {

namespace {

constexpr std::size_t kMaxNames = 16;
constexpr std::size_t kMaxValueBytes = 200;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> decode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int hi = hexDigit(text[i + 1]), lo = hexDigit(text[i + 2]);
            if (hi < 0 || lo < 0) return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

// Well-formed UTF-8 without control characters.
bool isCleanUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        unsigned value = 0;
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7f) return false;
            ++i;
            continue;
        }
        if ((c & 0xe0) == 0xc0)
            extra = 1, value = c & 0x1f;
        else if ((c & 0xf0) == 0xe0)
            extra = 2, value = c & 0x0f;
        else if ((c & 0xf8) == 0xf0)
            extra = 3, value = c & 0x07;
        else
            return false;
        if (i + static_cast<std::size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((d & 0xc0) != 0x80) return false;
            value = (value << 6) | (d & 0x3f);
        }
        static constexpr unsigned kMin[] = {0, 0x80, 0x800, 0x10000};
        if (value < kMin[extra] || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

}  // namespace

std::optional<PostedForm> parseForm(std::string_view body) {
    PostedForm form;
    std::set<std::string> seen;
    bool hasToken = false, hasButton = false;
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
        if (pair.empty()) continue;
        const std::size_t eq = pair.find('=');
        const auto name = decode(pair.substr(0, eq));
        const auto value =
            decode(eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
        if (!name || !value || value->size() > kMaxValueBytes || !isCleanUtf8(*name) ||
            !isCleanUtf8(*value) || !seen.insert(*name).second || seen.size() > kMaxNames)
            return std::nullopt;
        if (*name == kTokenName) {
            form.token = *value;
            hasToken = true;
        } else if (*name == kSituationName) {
            form.situation = *value;
        } else if (*name == "act" || *name == "step") {
            if (hasButton) return std::nullopt;  // one button sends one name
            hasButton = true;
            if (*name == "act" && (*value == "show" || *value == "save")) {
                form.action = *value == "save" ? FormAction::Save : FormAction::Show;
            } else if (*name == "step" && value->size() == 2 && (*value)[0] >= '0' &&
                       (*value)[0] < '0' + entry::kFieldCount &&
                       ((*value)[1] == '+' || (*value)[1] == '-')) {
                form.action = FormAction::Step;
                form.stepField = static_cast<entry::Field>((*value)[0] - '0');
                form.stepUp = (*value)[1] == '+';
            } else {
                return std::nullopt;
            }
        } else {
            for (int i = 0; i < entry::kFieldCount; ++i)
                if (*name == kFieldNames[i]) form.fields[static_cast<std::size_t>(i)] = *value;
        }
    }
    if (!hasToken || form.token.empty()) return std::nullopt;
    return form;
}

void applyStep(PostedForm& form, const store::ScaleSteps& steps) {
    std::string& text = form.fields[static_cast<std::size_t>(form.stepField)];
    text = entry::stepValue(
        text, entry::stepTextFor(form.stepField, steps.weightStep, steps.bodyFatStep), form.stepUp);
}

bool isTimeSituation(std::string_view t) {
    auto digit = [&](std::size_t i) { return std::isdigit(static_cast<unsigned char>(t[i])); };
    const std::size_t h = t.size() == 7 ? 1 : t.size() == 8 ? 2 : 0;
    if (h == 0 || !digit(0) || (h == 2 && (!digit(1) || t[0] == '0'))) return false;
    if (t[h] != ':' || t[h + 3] != ':' || !digit(h + 1) || !digit(h + 2) || !digit(h + 4) ||
        !digit(h + 5))
        return false;
    const int hours = std::stoi(std::string(t.substr(0, h)));
    return hours < 24 && t[h + 1] < '6' && t[h + 4] < '6';
}

}  // namespace pairly::phone
