#include "store/fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/codec.h"

namespace pairly::store {
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
    // Invalid or cut-off sequences become U+FFFD and decoding goes on.
    EXPECT_EQ(fromCp932("A\x83"), "A\xEF\xBF\xBD");
    EXPECT_EQ(fromCp932("\xA0"
                        "B"),
              "\xEF\xBF\xBD"
              "B");
    // Text that grows threefold (half-width katakana) or is invalid throughout still
    // decodes whole.
    std::string kana, kanaUtf8, invalid, replaced;
    for (int i = 0; i < 500; ++i) {
        kana += "\xB1";
        kanaUtf8 += "ｱ";
        invalid += "\xA0";
        replaced += "\xEF\xBF\xBD";
    }
    EXPECT_EQ(fromCp932(kana + "\x83\x66"), kanaUtf8 + "デ");
    EXPECT_EQ(fromCp932(invalid), replaced);
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
        {"", true},        {"朝食前", true},      {"a,b", true},
        {"7:05:09", true}, {"say \"hi\"", false}, {"two\r\nlines", false},
        {"cr\r", false},   {"lf\n", false},       {"😀", false},
        {"～①", true},
    };
    for (const auto& c : cases) EXPECT_EQ(isStorableText(c.text), c.storable) << c.text;
}

}  // namespace
}  // namespace pairly::store
