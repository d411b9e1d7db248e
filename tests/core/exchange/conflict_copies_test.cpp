// The copies sync tools make of a data file changed on two PCs at once are found by name,
// and nothing else is.
#include "core/exchange/conflict_copies.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace pairly::exchange {
namespace {

TEST(ConflictCopies, FoundByTheNamesSyncToolsGiveThem) {
    const struct {
        const char* name;
        const char* shadows;  // nullptr: no conflict copy
    } cases[] = {
        // Syncthing
        {"データ1.sync-conflict-20261207-101010-ABCDEFG.txt", "データ1.txt"},
        {"気付きメモ.sync-conflict-20270101-000000-Z9Z9Z9Z.TXT", "気付きメモ.txt"},
        {"データ1.sync-conflict-2026127-101010-ABCDEFG.txt", nullptr},  // a digit short
        {"データ1.sync-conflict-20261207-101010-abcdefg.txt", nullptr},
        {"データ1.txt.sync-conflict-20261207-101010-ABCDEFG", nullptr},
        // Dropbox and alike
        {"データ2 (DESKTOP-AB12's conflicted copy 2026-12-07).txt", "データ2.txt"},
        {"ﾌﾟﾗｲﾍﾞｰﾄ1 (Hanako's Conflicted Copy).txt", "ﾌﾟﾗｲﾍﾞｰﾄ1.txt"},
        {"状況リスト (PC-1 の競合コピー 2026-12-07).txt", "状況リスト.txt"},
        {"データ2 (2).txt", nullptr},  // a copy made by hand
        {"データ2 (conflicted copy.txt", nullptr},
        // The name of the PC before the extension
        {"データ1-DESKTOP-AB12.txt", "データ1.txt"},
        {"体重計刻み-LAPTOP7.txt", "体重計刻み.txt"},
        {"データ1-DESKTOP-AB12CD3-2.txt", "データ1.txt"},
        {"マーカー-PC.TXT", "マーカー.txt"},
        {"データ1-old.txt", nullptr},   // lower case: somebody's own copy
        {"データ1-2026.txt", nullptr},  // digits only: a year
        {"データ1-.txt", nullptr},
        {"データ1-THIS-NAME-IS-FAR-TOO-LONG.txt", nullptr},
        {"データ1-DESKTOP AB12.txt", nullptr},
        // Neither
        {"データ1.txt", nullptr},
        {"データ1.TXT", nullptr},
        {"データ10-PC.txt", nullptr},
        {"データ1.txt.tmp", nullptr},
        {"データbak.txt", nullptr},
        {"データコピー.txt", nullptr},
        {"データ1_20261207_070509.txt", nullptr},
        {"データ3-DESKTOP.txt", nullptr},  // not a data file of the program
        {"データ1-DESKTOP.csv", nullptr},
        {"連続体重-PC.txt", nullptr},
    };
    std::vector<std::string> names;
    std::vector<ConflictCopy> expected;
    for (const auto& c : cases) {
        names.push_back(c.name);
        if (c.shadows) expected.push_back({c.name, c.shadows});
        const auto found = findConflictCopies({c.name});
        EXPECT_EQ(found.size(), c.shadows ? 1u : 0u) << c.name;
        if (c.shadows && !found.empty()) {
            EXPECT_EQ(found[0].original, c.shadows) << c.name;
        }
    }
    EXPECT_EQ(findConflictCopies(names), expected);
}

TEST(ConflictCopies, OneMessageNamesEachCopyAndItsFile) {
    testing::TempFolder folder;
    folder.writeBytes("データ1.txt", "x");
    folder.writeBytes("データ1-DESKTOP-AB12.txt", "x");
    folder.writeBytes("気付きメモ.sync-conflict-20261207-101010-ABCDEFG.txt", "x");
    folder.writeBytes("データ1-old.txt", "x");
    const auto copies = conflictCopiesIn(folder.path());
    ASSERT_EQ(copies,
              (std::vector<ConflictCopy>{
                  {"データ1-DESKTOP-AB12.txt", "データ1.txt"},
                  {"気付きメモ.sync-conflict-20261207-101010-ABCDEFG.txt", "気付きメモ.txt"},
              }));
    EXPECT_EQ(conflictCopiesText(copies),
              "データフォルダに、ファイル同期ソフトが作った競合コピーがあります。\n"
              "同じファイルが別のパソコンと同時に変更されたときに作られ、片方の変更はこのコピーに"
              "だけ残っています。\n\n"
              "・データ1-DESKTOP-AB12.txt\n　（データ1.txt の競合コピー）\n"
              "・気付きメモ.sync-conflict-20261207-101010-ABCDEFG.txt\n"
              "　（気付きメモ.txt の競合コピー）\n\n"
              "このプログラムが読み書きするのは元のファイルだけです。コピーの内容が必要なら、"
              "プログラムを終了してから元のファイルと見比べて書き写し、済んだらコピーを削除して"
              "ください。");
    EXPECT_TRUE(conflictCopiesIn(folder.path() / "none").empty());
}

}  // namespace
}  // namespace pairly::exchange
