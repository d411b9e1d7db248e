#include "core/store/situation_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;
using Entries = std::vector<std::string>;

MeasurementRecord rec(const std::string& date, const std::string& situation,
                      const std::string& reserved = "") {
    return {date, situation, 60.5f, 21.3f, 1180, 4, 38.4f, -2, 2.3f, "メモ, 付き", reserved};
}

TEST(SituationList, DefaultsOnlyWhenTheFileIsMissing) {
    TempFolder folder;
    ASSERT_EQ(ensureSituationList(folder.path()), disk::WriteStatus::Ok);
    EXPECT_EQ(loadSituationList(folder.path()), defaultSituations());
    EXPECT_EQ(folder.readCp932("状況リスト.txt"),
              "起床後\r\n朝食前\r\n朝食後\r\n昼食前\r\n昼食後\r\n夕食前\r\n夕食後\r\n入浴前\r\n"
              "入浴後\r\n就寝前\r\n運動後\r\n");
    EXPECT_EQ(defaultSituations().size(), 11u);

    ASSERT_TRUE(pairly::testing::rewriteSituationList(folder.path(), {}));
    EXPECT_EQ(folder.readBytes("状況リスト.txt"), "");
    ASSERT_EQ(ensureSituationList(folder.path()),
              disk::WriteStatus::Ok);  // an empty list is a list
    EXPECT_TRUE(loadSituationList(folder.path()).empty());
}

TEST(SituationList, BareAndQuotedEntries) {
    TempFolder folder;
    ASSERT_TRUE(appendSituationBare(folder.path(), "外食,後"));
    ASSERT_TRUE(appendSituationQuoted(folder.path(), "外食,後"));
    ASSERT_TRUE(appendSituationBare(folder.path(), "起床後"));
    // An entry with a comma is quoted even where the list is written bare, so it
    // never splits into two entries.
    EXPECT_EQ(folder.readCp932("状況リスト.txt"), "\"外食,後\"\r\n\"外食,後\"\r\n起床後\r\n");
    EXPECT_EQ(loadSituationList(folder.path()), (Entries{"外食,後", "外食,後", "起床後"}));
    EXPECT_FALSE(appendSituationQuoted(folder.path(), "a\"b"));
    EXPECT_FALSE(appendSituationBare(folder.path(), "a\r\nb"));

    ASSERT_TRUE(pairly::testing::rewriteSituationList(folder.path(), {"B", "A", "A", "朝,夜"}));
    EXPECT_EQ(folder.readCp932("状況リスト.txt"), "B\r\nA\r\nA\r\n\"朝,夜\"\r\n");
    EXPECT_EQ(loadSituationList(folder.path()), (Entries{"B", "A", "A", "朝,夜"}));
    folder.writeCp932("状況リスト.txt", "A\r\n\r\n  B  \r\n");
    EXPECT_EQ(loadSituationList(folder.path()), (Entries{"A", "B"}));
}

TEST(SituationList, RenameTouchesOnlyTheActivePartnersLogAndEveryEqualEntry) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::rewriteLog(
        folder.path(), 1,
        {rec("2026/12/01", "朝食前", "旧"), rec("2026/12/01", "朝食前 "),
         rec("2026/12/02", "夕食後"), rec("2026/12/03", "朝食前")}));
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/01", "朝食前")}));
    ASSERT_TRUE(
        pairly::testing::rewriteSituationList(folder.path(), {"朝食前", "夕食後", "朝食前"}));
    const std::string otherBefore = folder.readBytes("データ2.txt");

    ASSERT_TRUE(renameSituation(folder.path(), 1, "朝食前", "朝ごはん前",
                                loadSituations(folder.path()).stamp)
                    .ok());

    const auto log = loadLog(folder.path(), 1).records;
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], rec("2026/12/01", "朝ごはん前", "旧"));  // all eleven fields kept
    EXPECT_EQ(log[1].situation, "朝食前 ");                    // not exactly equal
    EXPECT_EQ(log[2], rec("2026/12/02", "夕食後"));
    EXPECT_EQ(log[3].situation, "朝ごはん前");
    EXPECT_EQ(folder.readBytes("データ2.txt"), otherBefore);
    EXPECT_EQ(folder.readCp932("状況リスト.txt"),
              "\"朝ごはん前\"\r\n\"夕食後\"\r\n\"朝ごはん前\"\r\n");
    EXPECT_EQ(folder.fileNames(), (Entries{"データ1.txt", "データ2.txt", "状況リスト.txt"}));
}

TEST(SituationList, RenameWithoutMatchesStillRewritesBothFiles) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/01", "夕食後")}));
    folder.writeCp932("データ2.txt", folder.readCp932("データ2.txt") + "\"torn");
    ASSERT_TRUE(pairly::testing::rewriteSituationList(folder.path(), {"夕食後"}));
    ASSERT_TRUE(
        renameSituation(folder.path(), 2, "無い", "新", loadSituations(folder.path()).stamp).ok());
    EXPECT_EQ(folder.readCp932("データ2.txt"), recordLine(rec("2026/12/01", "夕食後")));
    EXPECT_EQ(folder.readCp932("状況リスト.txt"), "\"夕食後\"\r\n");
}

TEST(SituationList, FailedOrRefusedRenameChangesNothing) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, {rec("2026/12/01", "朝食前")}));
    ASSERT_TRUE(pairly::testing::rewriteSituationList(folder.path(), {"朝食前"}));
    const std::string logBefore = folder.readBytes("データ1.txt");
    const std::string listBefore = folder.readBytes("状況リスト.txt");

    const disk::FileStamp shown = loadSituations(folder.path()).stamp;
    EXPECT_FALSE(renameSituation(folder.path(), 1, "朝食前", "朝\"食", shown).ok());
    // Every write stops short: the log's rewrite fails, so the list is not touched either.
    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Write});
        EXPECT_FALSE(renameSituation(folder.path(), 1, "朝食前", "朝ごはん前", shown).ok());
    }

    EXPECT_EQ(folder.readBytes("データ1.txt"), logBefore);
    EXPECT_EQ(folder.readBytes("状況リスト.txt"), listBefore);
    EXPECT_EQ(folder.fileNames(), (Entries{"データ1.txt", "状況リスト.txt"}));
}

}  // namespace
}  // namespace pairly::store
