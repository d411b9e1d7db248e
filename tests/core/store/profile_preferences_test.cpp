#include <gtest/gtest.h>

#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;

TEST(PartnerProfile, WritesThreeLabelledLinesByteExact) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::saveProfile(folder.path(), 1, {"たく,や", 168.5f, 60.0f}));
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"ﾌﾟﾗｲﾍﾞｰﾄ1.txt"});
    EXPECT_EQ(folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"),
              "\"\x8e\x81\x96\xbc\",\"\x82\xbd\x82\xad,\x82\xe2\"\r\n"
              "\"\x90\x67\x92\xb7\",168.5\r\n"
              "\"\x96\xda\x95\x57\x91\xcc\x8f\x64\",60\r\n");
    EXPECT_EQ(loadProfile(folder.path(), 1), (PartnerProfile{"たく,や", 168.5f, 60.0f}));
    // A nickname the file cannot hold is refused and the file is kept.
    EXPECT_FALSE(pairly::testing::saveProfile(folder.path(), 1, {"\"q\"", 1, 1}));
    EXPECT_FALSE(pairly::testing::saveProfile(folder.path(), 1, {"😀", 1, 1}));
    EXPECT_EQ(loadProfile(folder.path(), 1).nickname, "たく,や");
}

TEST(PartnerProfile, ReadsByPositionAndToleratesShortFiles) {
    struct Case {
        const char* content;  // nullptr: no file
        PartnerProfile expected;
    } cases[] = {
        {nullptr, {"", 0, 0}},
        {"", {"", 0, 0}},
        {"\"目標体重\",\"みさき\"\r\n\"氏名\",158\r\n\"身長\",50\r\n", {"みさき", 158, 50}},
        {"\"氏名\",\"みさき\"\r\n\"身長\",158\r\n", {"みさき", 158, 0}},
        {"\"氏名\",\"みさき\"\r\n\"身長\"", {"みさき", 0, 0}},
        {"\"氏名\",\"\"\r\n\"身長\",\r\n\"目標体重\",49.5\r\n", {"", 0, 49.5f}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.content) folder.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ2.TXT", c.content);
        EXPECT_EQ(loadProfile(folder.path(), 2), c.expected) << (c.content ? c.content : "none");
    }
}

TEST(PartnerProfile, WindowTitle) {
    EXPECT_EQ(windowTitle({"", 170, 60}), " ペアリー☆ログ");
    EXPECT_EQ(windowTitle({"たくや", 170, 60}), " たくや のデータ");
}

TEST(Preferences, MissingOrEmptyFilesGiveDefaultsAndReadersNeverWrite) {
    TempFolder folder;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(readHelpTourFlag(folder.path()), 1);
        EXPECT_EQ(readScaleSteps(folder.path()).weightStep, "0.1");
        EXPECT_EQ(readScaleSteps(folder.path()).bodyFatStep, "0.1");
        EXPECT_EQ(readMovingAverage(folder.path()), "10");
        EXPECT_EQ(readAutoTime(folder.path()), 0);
        EXPECT_EQ(readMarkerMode(folder.path()), 0);
        for (const char* name :
             {"設定.txt", "体重計刻み.txt", "移動平均.txt", "自動時間.txt", "マーカー.txt"})
            folder.writeBytes(name, "");
    }
    for (const char* name :
         {"設定.txt", "体重計刻み.txt", "移動平均.txt", "自動時間.txt", "マーカー.txt"})
        EXPECT_EQ(folder.readBytes(name), "") << name;
}

TEST(Preferences, WritersProduceTheirFormsByteExact) {
    TempFolder folder;
    ASSERT_EQ(writeHelpTourFlag(folder.path(), 1), disk::WriteStatus::Ok);
    ASSERT_TRUE(writeScaleSteps(folder.path(), {"0.2", "0.5"}));
    ASSERT_EQ(writeMovingAverage(folder.path(), "15"), disk::WriteStatus::Ok);
    ASSERT_EQ(writeAutoTime(folder.path(), 1), disk::WriteStatus::Ok);
    ASSERT_EQ(writeMarkerMode(folder.path(), 2), disk::WriteStatus::Ok);
    ASSERT_EQ(writeAutoSituation(folder.path(), 1), disk::WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("状況自動.txt"), " 1 \r\n");
    EXPECT_EQ(folder.readCp932("設定.txt"), "\"ヘルプツアー\",1\r\n");
    EXPECT_EQ(folder.readCp932("体重計刻み.txt"), "0.2\r\n0.5\r\n");
    EXPECT_EQ(folder.readCp932("移動平均.txt"), "15\r\n");
    EXPECT_EQ(folder.readBytes("自動時間.txt"), " 1 \r\n");
    EXPECT_EQ(folder.readBytes("マーカー.txt"), "2\r\n");
    EXPECT_EQ(folder.fileNames().size(), 6u);

    EXPECT_EQ(readHelpTourFlag(folder.path()), 1);
    EXPECT_EQ(readScaleSteps(folder.path()).weightStep, "0.2");
    EXPECT_EQ(readScaleSteps(folder.path()).bodyFatStep, "0.5");
    EXPECT_EQ(readMovingAverage(folder.path()), "15");
    EXPECT_EQ(readAutoTime(folder.path()), 1);
    EXPECT_EQ(readMarkerMode(folder.path()), 2);

    ASSERT_EQ(writeHelpTourFlag(folder.path(), 0), disk::WriteStatus::Ok);
    ASSERT_EQ(writeAutoTime(folder.path(), 0), disk::WriteStatus::Ok);
    EXPECT_EQ(readHelpTourFlag(folder.path()), 0);
    EXPECT_EQ(folder.readBytes("自動時間.txt"), " 0 \r\n");
    EXPECT_EQ(readAutoTime(folder.path()), 0);
    // Texts the print form cannot hold are refused, the file kept.
    EXPECT_FALSE(writeScaleSteps(folder.path(), {"0.2\r\n", "0.1"}));
    EXPECT_EQ(writeMovingAverage(folder.path(), "\"7"), disk::WriteStatus::Refused);
    EXPECT_EQ(folder.readCp932("体重計刻み.txt"), "0.2\r\n0.5\r\n");
}

TEST(Preferences, ReadsFilesOfOtherSpellingsAndForms) {
    TempFolder folder;
    folder.writeCp932("設定.TXT", "\"ヘルプツアー\",0\r\n");
    folder.writeCp932("体重計刻み.TXT", "0.25\r\n 0,3 \r\n");
    folder.writeCp932("移動平均.TXT", "\"20\"\r\n");
    folder.writeBytes("自動時間.TXT", "1\r\n");
    folder.writeBytes("マーカー.TXT", "7\r\n");
    EXPECT_EQ(readHelpTourFlag(folder.path()), 0);
    EXPECT_EQ(readScaleSteps(folder.path()).weightStep, "0.25");
    EXPECT_EQ(readScaleSteps(folder.path()).bodyFatStep, "0,3");  // one line, one text
    EXPECT_EQ(readMovingAverage(folder.path()), "20");
    EXPECT_EQ(readAutoTime(folder.path()), 1);
    EXPECT_EQ(readMarkerMode(folder.path()), 0);  // out of range
    ASSERT_EQ(writeMovingAverage(folder.path(), "5"), disk::WriteStatus::Ok);
    EXPECT_EQ(folder.readCp932("移動平均.TXT"), "5\r\n");
    EXPECT_FALSE(folder.exists("移動平均.txt"));
}

}  // namespace
}  // namespace pairly::store
