// The morning on the whole window: the usual situation picked, Ctrl+Enter, the saved line.
#include <gtest/gtest.h>

#include <QLabel>

#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

const char kValues[] = "60,25,1400,8,45,5,2.8";
// 起床後 first on three of the days before the fixture's today (12/07).
const std::string kHabit = diaryLine("2026/12/04", "起床後", kValues) +
                           diaryLine("2026/12/05", "起床後", kValues) +
                           diaryLine("2026/12/06", "起床後", kValues);

TEST(MorningRoutine, TheUsualSituationIsPickedForTodayOnly) {
    // 状況自動.txt (nullptr: a click on chkAutoSit), the day, the habit's days (2: none), the pick.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {" 0 \r\n", 7, 3, ""}, {" 1 \r\n", 7, 3, "起床後"}, {" 1 \r\n", 7, 2, ""},
        {" 1 \r\n", 6, 3, ""}, {nullptr, 7, 3, "起床後"},  // another day; switched on
    };
    for (const auto& [preference, day, days, picked] : cases) {
        ShellFixture f;
        f.writeCouple();
        f.folder.writeCp932("データ1.txt",
                            days == 3 ? kHabit : kHabit.substr(kHabit.find('\n') + 1));
        f.folder.writeBytes("状況自動.txt", preference ? preference : " 0 \r\n");
        f.start();
        f.click("cmdMain");
        if (day != 7) selectDay(f, 2026, 12, day);
        if (!preference) f.find<QCheckBox>("chkAutoSit")->click();
        EXPECT_EQ(f.folder.readBytes("状況自動.txt")[1], preference ? preference[1] : '1');
        auto* list = f.find<QListWidget>("lstAct");
        EXPECT_EQ(list->currentRow() < 0 ? QString() : list->currentItem()->text(), qs(picked));
        EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), *picked ? "60" : "");
        EXPECT_EQ(f.find("cmdUp")->isEnabled(), *picked != 0);
        if (!*picked) continue;
        typeInto(f, "txtTaiInp", "53.4");
        pressEnter(f.find<QLineEdit>("txtKotu"), Qt::ControlModifier);
        EXPECT_EQ(f.folder.readCp932("データ1.txt"),
                  kHabit + diaryLine("2026/12/07", "起床後", "53.4,25,1400,8,45,5,2.8"));
        auto* line = f.find<QLabel>("lblHozonKekka");
        EXPECT_EQ(line->text(), qs("はなこ：起床後 53.4Kg を保存しました（9:00）"));
        clickEntry(list, 1);  // the line stays until the next action
        EXPECT_EQ(line->text(), QString());
    }
}

TEST(MorningRoutine, APartnerNeverRegisteredGetsNoWeighing) {
    ShellFixture f;
    f.writeCouple();
    std::remove((f.folder.path() / "ﾌﾟﾗｲﾍﾞｰﾄ2.txt").c_str());
    f.folder.writeCp932("データ1.txt", kHabit);
    f.start();
    f.click("cmdMain");
    f.click("cmdUser2");
    const FolderFiles before = folderFiles(f.folder);
    clickEntry(f.find<QListWidget>("lstAct"), 0);
    typeInto(f, "txtTaiInp", "53.4");
    f.click("cmdTaiHozon");
    EXPECT_EQ(f.dialogs.shown.at(0).text,
              qs("二人目がまだ登録されていません。編集画面の新規スタートで登録してください。"));
    EXPECT_EQ(folderFiles(f.folder), before);
    // Both meters show nothing rather than the other partner's figures.
    EXPECT_EQ(f.find<QLabel>("lblMHyouka")->text(), QString());
    EXPECT_TRUE(f.find<QLabel>("Image1")->isHidden());
    f.click("cmdSettei");
    EXPECT_TRUE(f.find<QLabel>("Image2")->isHidden());
}

}  // namespace
}  // namespace pairly::testing
