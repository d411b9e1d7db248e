#include "core/disk/fields.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "core/disk/codec.h"

namespace pairly::disk {
namespace {

std::vector<std::string> allFields(std::string_view content) {
    FieldReader reader(content);
    std::vector<std::string> out;
    while (auto f = reader.next()) out.push_back(*f);
    return out;
}

using Fields = std::vector<std::string>;

TEST(Codec, Cp932BytesOfWindowsCharacters) {
    // ～ ① ㈱ 髙 exist only in the Windows code page; half-width katakana are one byte.
    EXPECT_EQ(toCp932("データ～①㈱髙ﾌﾟﾗｲﾍﾞｰﾄ\\~"),
              std::string("\x83\x66\x81\x5b\x83\x5e\x81\x60\x87\x40\x87\x8a\xfb\xfc\xcc\xdf"
                          "\xd7\xb2\xcd\xde\xb0\xc4\x5c\x7e"));
    EXPECT_EQ(fromCp932("\x83\x66\x81\x5b\x83\x5e\x81\x60\x5c\x7e"), "データ～\\~");
    EXPECT_EQ(toCp932(""), "");
    EXPECT_EQ(toCp932("plain, ascii"), "plain, ascii");
    EXPECT_EQ(toCp932("体重😀"), std::nullopt);     // no CP932 form
    EXPECT_EQ(toCp932("\xff\xfe"), std::nullopt);  // not UTF-8
    // Invalid or cut-off sequences keep their bytes as private-use characters, decoding
    // goes on, and the bytes are written back as they were.
    struct Case {
        std::string bytes;
        std::string utf8;
    } damaged[] = {
        {"A\x83", "A\uF783"},
        {"\xA0"
         "B",
         "\uF7A0"
         "B"},
        {"\x80\xFD\xFE\xFF", "\uF780\uF7FD\uF7FE\uF7FF"},
        {"\x81\x0a\x83\x66", "\uF781\nデ"},  // a lead byte before a line end
        // A lead byte keeps its trail byte, so that the pair never merges with what follows.
        {"\xEE\xED\xED\r", "\uF7EE\uF7ED\uF7ED\r"},
        {"\x85\x40", "\uF785@"},
    };
    for (const auto& c : damaged) {
        EXPECT_EQ(fromCp932(c.bytes), c.utf8);
        EXPECT_EQ(toCp932(c.utf8), c.bytes);
    }
    // Other private-use characters still have no CP932 form.
    EXPECT_EQ(toCp932("\uF77F"), std::nullopt);
    EXPECT_EQ(toCp932("\uF800"), std::nullopt);
    // Text that grows threefold (half-width katakana) or is invalid throughout still
    // decodes whole.
    std::string kana, kanaUtf8, invalid, kept;
    for (int i = 0; i < 500; ++i) {
        kana += "\xB1";
        kanaUtf8 += "ｱ";
        invalid += "\xA0";
        kept += "\uF7A0";
    }
    EXPECT_EQ(fromCp932(kana + "\x83\x66"), kanaUtf8 + "デ");
    EXPECT_EQ(fromCp932(invalid), kept);
    EXPECT_EQ(toCp932(kept), invalid);
    EXPECT_EQ(toCp932(kanaUtf8), kana);
}

TEST(FieldReader, ReadingRule) {
    struct Case {
        const char* content;
        Fields expected;
    } cases[] = {
        {"", {}},
        {"\"a\",\"b\"\r\n", {"a", "b"}},
        {"\"a,b\",c\r\n", {"a,b", "c"}},      // commas inside quotes
        {"\"a\"junk,\"b\"\r\n", {"a", "b"}},  // text after the closing quote ignored
        {"\"a\" x\r\n1\r\n", {"a", "1"}},
        {"  \"a\" ,  12  ,\t3 \r\n", {"a", "12", "3"}},  // blanks before fields, bare trimmed
        {"1,,3\r\n", {"1", "", "3"}},                    // empty field
        {"\"\",\"\"\r\n", {"", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},  // CR, LF, CR LF each one separator
        {"a,\r\nb\r\n", {"a", "", "b"}},         // comma then line end: an empty field
        {"\"multi\r\nline\",x", {"multi\r\nline", "x"}},
        {"\"open to end", {"open to end"}},
        {"x\r\n   ", {"x"}},  // blanks at the end are no field
        {"起床後,朝食前\r\n", {"起床後", "朝食前"}},
    };
    for (const auto& c : cases) EXPECT_EQ(allFields(c.content), c.expected) << c.content;
}

TEST(FieldReader, MarksAnUnterminatedQuote) {
    FieldReader reader("\"ok\",\"torn");
    ASSERT_TRUE(reader.next());
    EXPECT_FALSE(reader.lastFieldUnterminated());
    ASSERT_TRUE(reader.next());
    EXPECT_TRUE(reader.lastFieldUnterminated());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.next());
}

TEST(FieldNumbers, EmptyIsZeroFloatsRoundedIntsHalfEvenClamped) {
    EXPECT_EQ(fieldFloat(""), 0.0f);
    EXPECT_EQ(fieldFloat("65.3"), 65.3f);
    EXPECT_EQ(fieldFloat("abc"), 0.0f);
    EXPECT_EQ(fieldInt16(""), 0);
    EXPECT_EQ(fieldInt16("1350.5"), 1350);
    EXPECT_EQ(fieldInt16("1351.5"), 1352);
    EXPECT_EQ(fieldInt16("-3"), -3);
    EXPECT_EQ(fieldInt16("40000"), 32767);
    EXPECT_EQ(fieldInt16("-40000"), -32768);
}

TEST(FieldWriters, WriteAndPrintForms) {
    EXPECT_EQ(writeLine({quoted("ヘルプツアー"), "1"}), "\"ヘルプツアー\",1\r\n");
    EXPECT_EQ(writeLine({quoted(std::string())}), "\"\"\r\n");
    EXPECT_EQ(writeLine({"0"}), "0\r\n");
    EXPECT_EQ(printFormText("0.1"), "0.1\r\n");
    EXPECT_EQ(printFormText(""), "\r\n");
    EXPECT_EQ(printFormNumber("1"), " 1 \r\n");
    EXPECT_EQ(printFormNumber("-1"), "-1 \r\n");

    struct Case {
        const char* text;
        bool storable;
    } cases[] = {
        {"", true},
        {"朝食前", true},
        {"a,b", true},
        {"7:05:09", true},
        {"say \"hi\"", false},
        {"two\r\nlines", false},
        {"cr\r", false},
        {"lf\n", false},
        {"😀", false},
        {"～①", true},
        // Bytes kept from a damaged file: stored when they read back as themselves.
        {"A\uF783", true},
        {"\uF785@", true},
        {"\uF781", true},
        {"\uF781A", false},  // 0x81 0x41 reads back as 、
        {"\uF783\uF766", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isStorableText(c.text), c.storable) << c.text;
}

TEST(TypedNumbers, EachKindAcceptsOnlyANumberInItsRange) {
    // Columns: Weight, BodyFat, Mass, Int16, Positive, Step, Count. "N" not a number, "R"
    // out of range, otherwise the value read.
    const NumberKind kinds[] = {NumberKind::Weight, NumberKind::BodyFat,  NumberKind::Mass,
                                NumberKind::Int16,  NumberKind::Positive, NumberKind::Step,
                                NumberKind::Count};
    struct Case {
        const char* text;
        std::array<const char*, 7> expected;
    } cases[] = {
        {"abc", {"N", "N", "N", "N", "N", "N", "N"}},
        {"53,5", {"N", "N", "N", "N", "N", "N", "N"}},
        {"2\"8", {"N", "N", "N", "N", "N", "N", "N"}},
        {"-5", {"R", "R", "R", "-5", "R", "R", "R"}},
        {"0", {"R", "0", "0", "0", "R", "R", "R"}},
        {"600.1", {"R", "R", "R", "600.1", "600.1", "R", "600.1"}},
        {"99999999999999999999", {"R", "R", "R", "R", "1e+20", "R", "R"}},
        {"１２３．４", {"123.4", "R", "123.4", "123.4", "123.4", "R", "123.4"}},
        {" 65.3 ", {"65.3", "65.3", "65.3", "65.3", "65.3", "R", "65.3"}},
        {"", {"R", "0", "0", "0", "R", "R", "R"}},
        {"\xE3\x80\x80", {"R", "0", "0", "0", "R", "R", "R"}},  // an ideographic space alone
        {"\xE3\x80\x80"
         "0.5\t",
         {"0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "R"}},
        {".5", {"0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "R"}},
        {"5.", {"5", "5", "5", "5", "5", "5", "5"}},
        {"+3", {"3", "3", "3", "3", "3", "3", "3"}},
        {"－４", {"R", "R", "R", "-4", "R", "R", "R"}},
        {"-0", {"R", "0", "0", "0", "R", "R", "R"}},
        {"600", {"600", "R", "600", "600", "600", "R", "600"}},
        {"100", {"100", "100", "100", "100", "100", "R", "100"}},
        {"10", {"10", "10", "10", "10", "10", "10", "10"}},
        {"32767.5", {"R", "R", "R", "R", "32767.5", "R", "32767.5"}},
        {"-32768.5", {"R", "R", "R", "-32768.5", "R", "R", "R"}},  // halves to even: -32768
        {"6 0", {"N", "N", "N", "N", "N", "N", "N"}},
        {"1e3", {"N", "N", "N", "N", "N", "N", "N"}},
        {"60kg", {"N", "N", "N", "N", "N", "N", "N"}},
        {"-", {"N", "N", "N", "N", "N", "N", "N"}},
        {".", {"N", "N", "N", "N", "N", "N", "N"}},
        {"1.2.3", {"N", "N", "N", "N", "N", "N", "N"}},
        {"+-1", {"N", "N", "N", "N", "N", "N", "N"}},
        {"0x10", {"N", "N", "N", "N", "N", "N", "N"}},
        {"nan", {"N", "N", "N", "N", "N", "N", "N"}},
    };
    for (const Case& c : cases) {
        for (std::size_t k = 0; k < 7; ++k) {
            const TypedNumber n = readTypedNumber(c.text, kinds[k]);
            std::string got;
            if (n.error == TypedNumberError::NotANumber) {
                got = "N";
            } else if (n.error == TypedNumberError::OutOfRange) {
                got = "R";
            } else {
                std::ostringstream os;
                os << n.value;
                got = os.str();
            }
            EXPECT_EQ(got, c.expected[k]) << "\"" << c.text << "\" as kind " << k;
        }
    }
    // Refusals name the field and the range of its kind.
    const std::pair<NumberKind, const char*> refusals[] = {
        {NumberKind::Weight, "欄は0より大きく600以下の数値で入力してください"},
        {NumberKind::Positive, "欄は0より大きい数値で入力してください"},
        {NumberKind::Count, "欄は1～32767の数値で入力してください"},
    };
    for (const auto& [kind, text] : refusals) EXPECT_EQ(refusedNumberText("欄", kind), text);
    // A digit run beyond any double is out of range, never infinite.
    EXPECT_EQ(readTypedNumber(std::string(400, '9'), NumberKind::Positive).error,
              TypedNumberError::OutOfRange);
}

TEST(TypedNumbers, LenientReadingTakesTheLeadingNumber) {
    const std::pair<const char*, double> cases[] = {
        {"60.5", 60.5}, {"60.5kg", 60.5}, {"６０．５", 60.5}, {"　－１．５", -1.5},
        {"abc", 0},     {"", 0},          {" 7回", 7},        {"１０", 10},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(readLeadingNumber(text), value) << text;
}

}  // namespace
}  // namespace pairly::disk
