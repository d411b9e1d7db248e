// The morning on the whole window: the usual situation picked, Ctrl+Enter, the saved line.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>

#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

const char kValues[] = "60,25,1400,8,45,5,2.8";
// 起床後 first on each of the three days before the fixture's today (12/07).
const std::string kHabit =
    diaryLine("2026/12/04", "起床後", kValues) + diaryLine("2026/12/05", "起床後", kValues) +
    diaryLine("2026/12/05", "夕食後", kValues) + diaryLine("2026/12/06", "起床後", kValues);

void startOn(ShellFixture& f, const std::string& log, const char* autoPick = " 0 \r\n") {
    f.writeCouple();
    f.folder.writeCp932("データ1.txt", log);
    f.folder.writeBytes("状況自動.txt", autoPick);
    f.start();
    f.click("cmdMain");
}

TEST(MorningRoutine, TheUsualSituationIsPickedForTodayOnly) {
    const struct {
        const char* preference;
        std::string log;
        int day;  // in December
        const char* picked;
    } cases[] = {{" 0 \r\n", kHabit, 7, ""},
                 {" 1 \r\n", kHabit, 7, "起床後"},
                 {" 1 \r\n", kHabit + diaryLine("2026/12/07", "夕食後", kValues), 7, ""},
                 {" 1 \r\n", kHabit, 6, ""},
                 {nullptr, kHabit, 7, "起床後"}};  // switched on by a click
    for (const auto& c : cases) {
        ShellFixture f;
        startOn(f, c.log, c.preference ? c.preference : " 0 \r\n");
        if (c.day != 7) selectDay(f, 2026, 12, c.day);
        if (!c.preference) f.find<QCheckBox>("chkAutoSit")->click();
        EXPECT_EQ(f.folder.readBytes("状況自動.txt")[1], c.preference ? c.preference[1] : '1');
        auto* list = f.find<QListWidget>("lstAct");
        EXPECT_EQ(list->currentRow() < 0 ? QString() : list->currentItem()->text(), qs(c.picked));
        // Filled as a click fills: the last weighing's values, the steppers on.
        EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), *c.picked ? "60" : "");
        EXPECT_EQ(f.find("cmdUp")->isEnabled(), *c.picked != 0);
    }
}

TEST(MorningRoutine, CtrlEnterSavesFromAnyFieldAndALineSaysWhatWasSaved) {
    for (const bool entry : {true, false}) {
        ShellFixture f;
        startOn(f, diaryLine("2026/12/06", "夕食後", kValues));
        if (!entry) {
            f.click("cmdMemo");
            clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 1);
            f.click("cmdSyusei");
        }
        if (entry) clickEntry(f.find<QListWidget>("lstAct"), 0);
        typeInto(f, entry ? "txtTaiInp" : "txtSyuTai", "53.4");
        QKeyEvent ctrlEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, "\r");
        QApplication::sendEvent(f.find<QLineEdit>(entry ? "txtKotu" : "txtSyuShi"), &ctrlEnter);
        EXPECT_TRUE(f.dialogs.shown.empty());
        const std::string saved = "53.4,25,1400,8,45,5,2.8";
        EXPECT_EQ(f.folder.readCp932("データ1.txt"),
                  entry ? diaryLine("2026/12/06", "夕食後", kValues) +
                              diaryLine("2026/12/07", "起床後", saved)
                        : diaryLine("2026/12/06", "夕食後", saved));
        if (!entry) continue;
        auto* line = f.find<QLabel>("lblHozonKekka");
        EXPECT_EQ(line->text(), qs("はなこ：起床後 53.4Kg を保存しました（9:00）"));
        clickEntry(f.find<QListWidget>("lstAct"), 1);  // until the next action
        EXPECT_EQ(line->text(), QString());
    }
}

TEST(MorningRoutine, APartnerNeverRegisteredGetsNoWeighing) {
    for (const int slot : {1, 2}) {
        ShellFixture f;
        f.writeCouple();
        std::remove((f.folder.path() / (slot == 1 ? "ﾌﾟﾗｲﾍﾞｰﾄ1.txt" : "ﾌﾟﾗｲﾍﾞｰﾄ2.txt")).c_str());
        f.folder.writeCp932(slot == 1 ? "データ2.txt" : "データ1.txt", kHabit);
        f.start();
        f.click("cmdMain");
        f.click(slot == 1 ? "cmdUser1" : "cmdUser2");
        const FolderFiles before = folderFiles(f.folder);
        clickEntry(f.find<QListWidget>("lstAct"), 0);
        typeInto(f, "txtTaiInp", "53.4");
        typeInto(f, "txtShiInp", "25");
        f.click("cmdTaiHozon");
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << slot;
        EXPECT_EQ(f.dialogs.shown[0].text, qs(slot == 1 ? "一人目" : "二人目") +
                                               qs("がまだ登録されていません。編集画面の新規"
                                                  "スタートで登録してください。"));
        EXPECT_EQ(folderFiles(f.folder), before);
        // The meters of a partner without data show nothing, not the other's figures.
        EXPECT_EQ(f.find<QLabel>("lblMHyouka")->text(), QString());
        EXPECT_TRUE(f.find<QLabel>("Image1")->isHidden());
    }
}

}  // namespace
}  // namespace pairly::testing
