#pragma once
// The field stream of the data files: comma separated, texts in double quotes,
// numbers bare, CR LF line ends. Works on UTF-8 text (decoded from CP932).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pairly::disk {

class FieldReader {
public:
    explicit FieldReader(std::string_view content);
    // Next field, or nullopt at the end of the content. A quoted field runs to the next
    // quote (commas inside belong to it) and anything after the closing quote up to the
    // separator is ignored; a bare field is trimmed. A comma, CR, LF or CR LF ends a field.
    std::optional<std::string> next();
    // The same field as a view into the content, without a copy.
    std::optional<std::string_view> nextView();
    bool atEnd() const;
    // Skips blanks and whole empty lines: a record never starts with a blank line's field.
    void skipEmptyLines();
    // True when the field last returned was a quoted field whose closing quote was
    // missing (it ran to the end of the content): the mark of a torn last line.
    bool lastFieldUnterminated() const { return unterminated_; }
    // Where the next field starts.
    std::size_t position() const { return pos_; }

private:
    std::string_view content_;
    std::size_t pos_ = 0;
    bool unterminated_ = false;
};

// A file read one record per line (the measurement log): the fields of one line, each
// read as FieldReader reads it, but never past the line's end. A quoted field whose
// closing quote is not on the line runs to the line's end. At the end of the content, a
// comma followed by nothing opens no further field, as in the field stream.
struct LineFields {
    std::size_t count = 0;  // fields on the line, also beyond the capacity; 0: a blank line
    bool unclosed = false;  // the last field's closing quote is missing
    bool lineEnd = false;   // the line is ended by CR, LF or CR LF (not by the content's end)
    std::size_t next = 0;   // where the next line starts
};
// Reads the line that starts at `pos`, keeping the first `capacity` fields in `fields`.
LineFields readLineFields(std::string_view content, std::size_t pos, std::string_view* fields,
                          std::size_t capacity);

// Numeric fields: the leading decimal number, empty gives 0. Floats are rounded to
// float; 16-bit integers to the nearest integer, halves to even, clamped into range.
float fieldFloat(std::string_view field);
std::int16_t fieldInt16(std::string_view field);
// The same for a record that must hold numbers of its types: nullopt for a field with
// text but no leading number, a float beyond the 32-bit range, or an integer that rounds
// outside -32768..32767. An empty or blank field is 0.
std::optional<float> fieldFloatInRange(std::string_view field);
std::optional<std::int16_t> fieldInt16InRange(std::string_view field);

// Write form: texts quoted as they are, numbers bare, joined by commas, ended by CR LF.
std::string quoted(std::string_view text);
// Exact match for std::string arguments, so that argument-dependent lookup does not pick
// std::quoted instead.
std::string quoted(const std::string& text);
std::string quoted(const char* text);
std::string writeLine(const std::vector<std::string>& renderedFields);

// Print form of one item on its own line: a text as it is; a number with one space
// before and one after (" 1 ").
std::string printFormText(std::string_view text);
std::string printFormNumber(std::string_view digits);

// A text can be stored in a field when it has no double quote, CR or LF and every
// character has a CP932 form. Writers refuse (return false, file unchanged) any text
// that fails this; screens call it first to refuse such input with a message.
bool isStorableText(std::string_view text);
// The two halves of that test, for screens that explain which one failed.
bool hasFieldBreakingChar(std::string_view text);  // '"', CR or LF
bool hasCp932Form(std::string_view text);          // and reads back as itself
// Whether the text holds a byte kept from a damaged file (see fromCp932).
bool hasKeptByte(std::string_view text);

// What a user may type as a number, by the kind of value it becomes. Files keep the
// lenient leading-number reading; typed text must be a number and nothing else.
enum class NumberKind {
    Weight,    // kg: above 0, at most 600
    BodyFat,   // %: 0 to 100
    Mass,      // muscle or bone mass, kg: 0 to 600
    Int16,     // rounded (halves to even) into -32768..32767
    Positive,  // above 0 and within a 32-bit float (height)
    Step,      // a scale step: above 0, at most 10
    Count,     // a count of weighings: at least 1 and below 32768 (its whole part counts)
};
enum class TypedNumberError { None, NotANumber, OutOfRange };
struct TypedNumber {
    double value = 0;  // as typed, not yet rounded to the field's type
    TypedNumberError error = TypedNumberError::None;
    bool ok() const { return error == TypedNumberError::None; }
};
// Blanks around the number are ignored and full-width digits, sign and point count as
// their ASCII forms; an optional sign, digits and at most one point, nothing else. A
// blank text reads as 0, which the range of the kind then judges; callers that require
// a value check for emptiness first.
TypedNumber readTypedNumber(std::string_view text, NumberKind kind);
// The lenient reading of a typed text, for what steps or counts from whatever a field
// holds: its leading number ("60.5kg" -> 60.5, "abc" -> 0), with full-width digits, point
// and signs counted as their ASCII forms ("６０．５" -> 60.5).
double readLeadingNumber(std::string_view text);
// The range of a kind as words that go before "数値" in a message: "0より大きく600以下の",
// "0～100の", "0より大きい".
std::string numberRangeText(NumberKind kind);
// The message refusing a typed value of the field `name`, naming the field and the range:
// "身長は0より大きい数値で入力してください".
std::string refusedNumberText(std::string_view name, NumberKind kind);
// Only blanks (ASCII or ideographic), or nothing.
bool isBlankText(std::string_view text);

}  // namespace pairly::disk
