#pragma once
// The field stream of the data files: comma separated, texts in double quotes,
// numbers bare, CR LF line ends. Works on UTF-8 text (decoded from CP932).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pairly::store {

class FieldReader {
public:
    explicit FieldReader(std::string_view content);
    // Next field, or nullopt at the end of the content. A quoted field runs to the next
    // quote (commas inside belong to it) and anything after the closing quote up to the
    // separator is ignored; a bare field is trimmed. A comma, CR, LF or CR LF ends a field.
    std::optional<std::string> next();
    bool atEnd() const;

private:
    std::string_view content_;
    std::size_t pos_ = 0;
};

// Write form: texts quoted as they are, numbers bare, joined by commas, ended by CR LF.
std::string quoted(std::string_view text);
std::string writeLine(const std::vector<std::string>& renderedFields);

// Print form of one item on its own line: a text as it is; a number with one space
// before and one after (" 1 ").
std::string printFormText(std::string_view text);
std::string printFormNumber(std::string_view digits);

// A text can be stored in a field when it has no double quote, CR or LF.
bool isStorableText(std::string_view text);

}  // namespace pairly::store
