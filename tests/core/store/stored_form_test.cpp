#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/disk/codec.h"
#include "core/disk/fields.h"
#include "core/store/measurement_log.h"
#include "core/store/notes_memo.h"
#include "core/store/partner_profile.h"
#include "core/store/situation_list.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;

std::string utf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// The converter asked directly, one character at a time, apart from the codec.
class RawIconv {
public:
    RawIconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~RawIconv() { iconv_close(cd_); }
    std::optional<std::string> operator()(const std::string& text) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* out = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(buf, sizeof buf - outLeft);
    }

private:
    iconv_t cd_;
};

std::string hex(char32_t cp) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

bool isKeptByteChar(char32_t cp) { return cp >= 0xF780 && cp <= 0xF7FF; }

TEST(StoredForm, EveryCharacterOfThePlaneIsRefusedOrReadsBackAsItsStoredForm) {
    RawIconv encode("CP932", "UTF-8"), decode("UTF-8", "CP932");
    std::map<char32_t, std::string> replaced;
    std::string everyStorable;
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::string c = utf8(cp);
        const std::string stored = disk::storedForm(c);
        EXPECT_EQ(disk::isStoredForm(c), stored == c) << hex(cp);
        EXPECT_EQ(disk::storedCodePoint(cp) != cp, stored != c) << hex(cp);
        if (isKeptByteChar(cp)) {
            EXPECT_EQ(stored, c) << hex(cp);  // kept bytes are never replaced
            continue;
        }
        const std::optional<std::string> raw = encode(c);
        if (!raw) {
            // No CP932 form: left as it is, and refused by every writer.
            EXPECT_EQ(stored, c) << hex(cp);
            EXPECT_EQ(disk::toCp932(c), std::nullopt) << hex(cp);
            continue;
        }
        const std::optional<std::string> back = decode(*raw);
        ASSERT_TRUE(back) << hex(cp);
        if (*back == c) {
            EXPECT_EQ(stored, c) << hex(cp);
            EXPECT_EQ(disk::toCp932(c), raw) << hex(cp);
        } else {
            replaced[cp] = stored;
            EXPECT_EQ(disk::toCp932(c), std::nullopt) << hex(cp);  // never stored unchanged
        }
        // The stored form is a fixed point: written and read, it comes back exactly.
        const std::optional<std::string> bytes = disk::toCp932(stored);
        ASSERT_TRUE(bytes) << hex(cp);
        EXPECT_EQ(disk::fromCp932(*bytes), stored) << hex(cp);
        EXPECT_EQ(disk::storedForm(stored), stored) << hex(cp);
        if (cp >= 0x20) everyStorable += stored;
    }
    // Side by side in one text, no character merges with its neighbour.
    const std::optional<std::string> all = disk::toCp932(everyStorable);
    ASSERT_TRUE(all);
    EXPECT_EQ(disk::fromCp932(*all), everyStorable);
    // The converter maps exactly these one way; ¥ is the one choice made here.
    const std::map<char32_t, std::string> expected = {
        {0x00A2, "￠"}, {0x00A3, "￡"}, {0x00A5, "￥"}, {0x00AC, "￢"}, {0x2014, "―"},
        {0x2016, "∥"},  {0x203E, "~"},  {0x2212, "－"}, {0x301C, "～"},
    };
    EXPECT_EQ(replaced, expected);
}

TEST(StoredForm, TypedTextsTakeTheFormTheFileGivesBack) {
    const struct {
        const char* typed;
        const char* stored;
        std::optional<std::string> bytes;  // of the stored form
    } cases[] = {
        {"〜", "～", "\x81\x60"},
        {"−", "－", "\x81\x7C"},
        {"‖", "∥", "\x81\x61"},
        {"—", "―", "\x81\x5C"},
        {"¢£¬", "￠￡￢", "\x81\x91\x81\x92\x81\xCA"},
        {"‾", "~", "~"},
        {"外食¥1500", "外食￥1500",
         "\x8A\x4F\x90\x48\x81\x8F"
         "1500"},
        {"朝〜昼−2kg", "朝～昼－2kg",
         "\x92\xA9\x81\x60\x92\x8B\x81\x7C"
         "2kg"},
        {"ASCII \\ ~ stays", "ASCII \\ ~ stays", "ASCII \\ ~ stays"},
        {"～①㈱髙", "～①㈱髙", "\x81\x60\x87\x40\x87\x8A\xFB\xFC"},
        {"", "", ""},
        // Left alone, and refused by the writers as before.
        {"体重😀〜", "体重😀～", std::nullopt},
        {"\xFF〜", "\xFF～", std::nullopt},  // not UTF-8
        // Bytes kept from a damaged file stay as they are.
        {"\uF785@〜", "\uF785@～", "\x85\x40\x81\x60"},
        {"\uF781A", "\uF781A", std::nullopt},  // 0x81 0x41 would read back as 、
    };
    for (const auto& c : cases) {
        EXPECT_EQ(disk::storedForm(c.typed), c.stored) << c.typed;
        EXPECT_EQ(disk::toCp932(c.stored), c.bytes) << c.typed;
        const bool unchanged = std::string(c.typed) == c.stored;
        if (!unchanged) {
            EXPECT_EQ(disk::toCp932(c.typed), std::nullopt) << c.typed;
        }
        // What the screens ask before they store a typed text.
        EXPECT_EQ(disk::isStorableText(c.typed), unchanged && c.bytes.has_value()) << c.typed;
    }
}

// Every writer refuses a text that would read back as another one, and leaves its file
// as it was: a screen that forgot the stored form cannot make the file differ from it.
TEST(StoredForm, WritersRefuseTextThatWouldReadBackDifferently) {
    TempFolder folder;
    const auto& f = folder.path();
    const std::string log = "\"2026/12/01\",\"起床後\",60,20,1300,5,45,50,3,\"\",\"\"\r\n";
    folder.writeCp932("データ1.txt", log);
    folder.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "\"氏名\",\"ゆき\"\r\n\"身長\",160\r\n\"目標体重\",50\r\n");
    folder.writeCp932("状況リスト.txt", "起床後\r\n");
    folder.writeCp932("気付きメモ.txt", "メモ\r\n");
    const auto files = [&] {
        return std::vector<std::string>{
            folder.readBytes("データ1.txt"), folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"),
            folder.readBytes("状況リスト.txt"), folder.readBytes("気付きメモ.txt")};
    };
    const auto before = files();

    MeasurementRecord record;
    record.date = "2026/12/02";
    record.situation = "夕食後";
    record.weight = 60;
    MeasurementRecord situation = record, comment = record;
    situation.situation = "朝〜昼";
    comment.comment = "外食¥1500";
    const struct {
        const char* what;
        bool written;
    } cases[] = {
        {"append, situation", pairly::testing::appendRecord(f, 1, situation)},
        {"append, comment", pairly::testing::appendRecord(f, 1, comment)},
        {"rewrite", pairly::testing::rewriteLog(f, 1, {record, comment})},
        {"profile", pairly::testing::saveProfile(f, 1, PartnerProfile{"まさ−", 170, 65})},
        {"list, bare", appendSituationBare(f, "‖")},
        {"list, quoted", appendSituationQuoted(f, "〜")},
        {"list, whole", pairly::testing::rewriteSituationList(f, {"起床後", "¢"})},
        {"rename", renameSituation(f, 1, "起床後", "起床〜", loadSituations(f).stamp).status ==
                       disk::WriteStatus::Ok},
        {"memo", saveMemo(f, "一行目\n外食¥1500")},
    };
    for (const auto& c : cases) EXPECT_FALSE(c.written) << c.what;
    EXPECT_EQ(files(), before);

    // The stored forms of the same texts are written, and read back as they are.
    situation.situation = disk::storedForm(situation.situation);
    ASSERT_TRUE(pairly::testing::appendRecord(f, 1, situation));
    EXPECT_EQ(loadLog(f, 1).records.back().situation, "朝～昼");
    ASSERT_TRUE(saveMemo(f, disk::storedForm("外食¥1500")));
    EXPECT_EQ(folder.readBytes("気付きメモ.txt"),
              "\x8A\x4F\x90\x48\x81\x8F"
              "1500\r\n");
}

}  // namespace
}  // namespace pairly::store
