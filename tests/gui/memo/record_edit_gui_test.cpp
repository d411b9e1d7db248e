// Correcting and deleting a weighing on the one-line diary screen: what the log holds
// afterwards byte for byte, what the table shows, and every refusal and failing write.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <cstdio>
#include <map>
#include <optional>

#include "core/disk/file_notices.h"
#include "core/memo/comment_table.h"
#include "core/store/record_edit.h"
#include "gui/memo/memo_screen.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"
#include "gui_support/window_actions.h"
#include "support/faults.h"

namespace pairly::testing {
namespace {

const char* const kValues = "22.5,1400,8,45.3,5,2.8";

std::string rec(const std::string& date, const std::string& situation, const std::string& weight,
                const std::string& comment, const std::string& reserved = "",
                const std::string& rest = kValues) {
    return "\"" + date + "\",\"" + situation + "\"," + weight + "," + rest + ",\"" + comment +
           "\",\"" + reserved + "\"\r\n";
}

const std::string kA = rec("2026/12/05", "朝食前", "65.3", "", "旧");
const std::string kB = rec("2026/12/06", "朝食前", "65.32", "7:05:09");
const std::string kC = rec("2026/12/07", "夕食後", "64.9", "a, b");
const std::string kD = rec("2026/12/07", "起床後", "64.5", "x");
const std::string kLog = kA + kB + kC + kD;

class RecordEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeCouple();
        f.folder.writeCp932("データ1.txt", kLog);
        f.folder.writeCp932("データ2.txt", rec("2026/12/07", "起床後", "55", "ひとつ"));
        f.start();
        f.click("cmdMemo");
    }
    gui::memo::MemoScreen& screen() const { return *f.window->memoScreen(); }
    gui::widgets::Grid& grid() const { return *f.find<gui::widgets::Grid>("msgMemoList"); }
    QLineEdit* field(const char* name) const { return f.find<QLineEdit>(name); }
    bool panelShown() const { return !f.find<QWidget>("fraSyusei")->isHidden(); }
    std::string log1() const { return f.folder.readCp932("データ1.txt"); }
    // The panel opened on `row` with the given fields typed over.
    void correct(int row, const std::map<std::string, std::string>& typed) const {
        screen().selectCommentRow(row);
        f.click("cmdSyusei");
        for (const auto& [name, text] : typed) field(name.c_str())->setText(qs(text.c_str()));
    }

    ShellFixture f;
};

TEST_F(RecordEditTest, ButtonsWaitForAClickedRowAndThePanelShowsItsValues) {
    EXPECT_FALSE(f.find("cmdSyusei")->isEnabled());
    EXPECT_FALSE(f.find("cmdSakujo")->isEnabled());
    f.click("cmdSyusei");
    EXPECT_FALSE(panelShown());
    screen().selectCommentRow(2);
    EXPECT_TRUE(f.find("cmdSyusei")->isEnabled());
    EXPECT_TRUE(f.find("cmdSakujo")->isEnabled());
    f.click("cmdSyusei");
    ASSERT_TRUE(panelShown());
    const std::pair<const char*, const char*> shown[] = {
        {"txtSyuDate", "2026/12/06"}, {"txtSyuJyou", "朝食前"}, {"txtSyuTai", "65.32"},
        {"txtSyuShi", "22.5"},        {"txtSyuTaisya", "1400"}, {"txtSyuNaizo", "8"},
        {"txtSyuKinr", "45.3"},       {"txtSyuKins", "5"},      {"txtSyuKotu", "2.8"}};
    for (const auto& [name, text] : shown) EXPECT_EQ(field(name)->text(), qs(text)) << name;
    // Captioned as on the entry screen, each caption the field's buddy.
    std::map<QString, QString> captions;
    for (QLabel* label : f.find<QWidget>("fraSyusei")->findChildren<QLabel*>())
        if (label->buddy()) captions[label->buddy()->objectName()] = label->text();
    const std::map<QString, QString> expected = {
        {"txtSyuDate", qs("日付")}, {"txtSyuJyou", qs("状況")},   {"txtSyuTai", qs("体重")},
        {"txtSyuShi", qs("体脂")},  {"txtSyuTaisya", qs("代謝")}, {"txtSyuNaizo", qs("内脂")},
        {"txtSyuKinr", qs("筋量")}, {"txtSyuKins", qs("筋ス")},   {"txtSyuKotu", qs("骨量")}};
    EXPECT_EQ(captions, expected);
    // Another click while the panel is open brings that row's values.
    screen().selectCommentRow(4);
    EXPECT_EQ(field("txtSyuJyou")->text(), qs("起床後"));
    // やめる writes nothing and brings back the comment editor.
    field("txtSyuTai")->setText("70");
    f.click("cmdSyuYame");
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(log1(), kLog);
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST_F(RecordEditTest, ACorrectionRewritesItsRecordAndKeepsEveryOtherLine) {
    const struct {
        const char* what;
        int row;
        std::map<std::string, std::string> typed;
        std::string log;
        int nowAt;
        const char* ctrlEnterIn = nullptr;  // saved by Ctrl+Enter in this field
    } cases[] = {
        {"middle",
         2,
         {{"txtSyuTai", "65.2"}, {"txtSyuJyou", "昼食前"}},
         kA + rec("2026/12/06", "昼食前", "65.2", "7:05:09") + kC + kD,
         2},
        {"end",
         4,
         {{"txtSyuTai", "64.4"}, {"txtSyuShi", "21"}, {"txtSyuKotu", ""}},
         kA + kB + kC + rec("2026/12/07", "起床後", "64.4", "x", "", "21,1400,8,45.3,5,0"),
         4,
         "txtSyuShi"},
        {"start, reserved field kept",
         1,
         {{"txtSyuTai", "65"}},
         rec("2026/12/05", "朝食前", "65", "", "旧") + kB + kC + kD,
         1},
        {"date moves back, after the records of that day",
         4,
         {{"txtSyuDate", "2026/12/5"}},
         kA + rec("2026/12/05", "起床後", "64.5", "x") + kB + kC,
         2},
        {"date moves on",
         2,
         {{"txtSyuDate", "2026/12/08"}},
         kA + kC + kD + rec("2026/12/08", "朝食前", "65.32", "7:05:09"),
         4},
    };
    for (const auto& c : cases) {
        f.folder.writeCp932("データ1.txt", kLog);
        screen().fillCommentTable();
        f.dialogs.shown.clear();
        correct(c.row, c.typed);
        c.ctrlEnterIn ? pressEnter(field(c.ctrlEnterIn), Qt::ControlModifier)
                      : f.click("cmdSyuHozon");
        EXPECT_EQ(log1(), c.log) << c.what;
        EXPECT_TRUE(f.dialogs.shown.empty()) << c.what;
        EXPECT_FALSE(panelShown()) << c.what;
        // The table shows the log as written, the corrected weighing picked at its place.
        EXPECT_EQ(grid().rowCount(), 4) << c.what;
        EXPECT_EQ(screen().selectedCommentRow(), c.nowAt) << c.what;
        EXPECT_EQ(grid().currentGridRow(), c.nowAt) << c.what;
    }
    // The last correction is in the log every screen reads from.
    EXPECT_EQ(f.window->context().session.log(1)->records.back().date, "2026/12/08");
}

TEST_F(RecordEditTest, RefusedValuesWriteNothingAndKeepThePanel) {
    using store::EditRefusal;
    const struct {
        int row;
        const char* name;
        const char* text;
        std::string says, title;
    } cases[] = {
        {2, "txtSyuTai", "abc", "", "体重入力エラー"},
        {2, "txtSyuTai", "", "体重が入力されていません", "体重未入力"},
        {2, "txtSyuJyou", "", "行動が指定されていません", "行動未入力"},
        {2, "txtSyuJyou", "a\"b", "", "行動入力エラー"},
        {2, "txtSyuDate", "2026/02/30", "日付が正しくありません", "日付エラー"},
        {2, "txtSyuDate", "2026/12/04", store::editRefusalText(EditRefusal::BeforeStart),
         "修正中止"},
        {1, "txtSyuDate", "2026/12/07", store::editRefusalText(EditRefusal::StartAfterNext),
         "修正中止"},
    };
    for (const auto& c : cases) {
        f.dialogs.shown.clear();
        correct(c.row, {{c.name, c.text}});
        f.click("cmdSyuHozon");
        EXPECT_EQ(log1(), kLog) << c.name << " " << c.text;
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.text;
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_EQ(f.dialogs.shown[0].title, qs(c.title.c_str())) << c.text;
        if (!c.says.empty()) {
            EXPECT_EQ(f.dialogs.shown[0].text, qs(c.says.c_str())) << c.text;
        }
        EXPECT_TRUE(panelShown()) << c.text;
        f.click("cmdSyuYame");
    }
}

TEST_F(RecordEditTest, DeletionAsksFirstAndRemovesOnlyItsRecord) {
    const struct {
        int row;
        gui::widgets::Answer answer;
        const char* question;
        std::string log;
    } cases[] = {
        {2, gui::widgets::Answer::Yes, "はなこの 2026/12/06 朝食前 65.32kg の測定を削除しますか？",
         kA + kC + kD},
        {4, gui::widgets::Answer::Yes, "はなこの 2026/12/07 起床後 64.5kg の測定を削除しますか？",
         kA + kB + kC},
        {3, gui::widgets::Answer::No, "はなこの 2026/12/07 夕食後 64.9kg の測定を削除しますか？",
         kLog},
    };
    for (const auto& c : cases) {
        f.folder.writeCp932("データ1.txt", kLog);
        screen().fillCommentTable();
        f.dialogs.shown.clear();
        f.dialogs.answers = {c.answer};
        screen().selectCommentRow(c.row);
        f.click("cmdSakujo");
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.row;
        EXPECT_EQ(f.dialogs.shown[0].text, qs(c.question));
        EXPECT_EQ(f.dialogs.shown[0].title, qs("削除確認"));
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Question);
        EXPECT_EQ(f.dialogs.shown[0].buttons, gui::widgets::Buttons::YesNo);
        EXPECT_EQ(log1(), c.log) << c.row;
        EXPECT_EQ(grid().rowCount(), c.answer == gui::widgets::Answer::Yes ? 3 : 4) << c.row;
    }
}

// After an edit the edited place is in view, and near the end of a long log the table
// stays full down to its last row instead of showing empty lines under it.
TEST_F(RecordEditTest, TheTableStaysFullAfterAnEditNearItsEnd) {
    std::string log;
    for (int d = 1; d <= 40; ++d) {
        char date[16];
        std::snprintf(date, sizeof date, "2026/%02d/%02d", d <= 31 ? 10 : 11, d <= 31 ? d : d - 31);
        log += rec(date, "朝食前", std::to_string(70 - d / 10), "");
    }
    const struct {
        const char* button;
        int row;
        int rows;  // afterwards
    } cases[] = {{"cmdSyuHozon", 39, 40}, {"cmdSakujo", 40, 39}, {"cmdSyuHozon", 20, 40}};
    for (const auto& c : cases) {
        f.folder.writeCp932("データ1.txt", log);
        screen().fillCommentTable();
        f.dialogs.answers = {gui::widgets::Answer::Yes};
        if (std::string(c.button) == "cmdSyuHozon") {
            correct(c.row, {{"txtSyuTai", "66.6"}});
        } else {
            screen().selectCommentRow(c.row);
        }
        f.click(c.button);
        ASSERT_EQ(grid().rowCount(), c.rows) << c.button << c.row;
        EXPECT_LE(grid().topVisibleRow(), std::min(c.row, c.rows)) << c.row;
        EXPECT_GE(grid().bottomVisibleRow(), std::min(c.row, c.rows)) << c.row;
        // A full view: as many rows below the top as the table shows.
        EXPECT_GE(grid().bottomVisibleRow() - grid().topVisibleRow() + 1,
                  memo::kCommentVisibleRows - 2)
            << c.row;
    }
}

// Quitting with a correction typed and not saved asks, like unsaved text does.
TEST_F(RecordEditTest, QuittingWithAnOpenCorrectionAsksToSaveIt) {
    const std::string corrected = kA + rec("2026/12/06", "朝食前", "64.8", "7:05:09") + kC + kD;
    const char* const question = "測定値の変更が保存されていません。\n\n保存しますか？";
    const struct {
        const char* name;
        const char* weight;  // typed into the panel; nullptr: the panel opened, nothing typed
        std::optional<gui::widgets::Answer> answer;
        bool closed;
        std::string log;
        int boxes;  // the question and what follows it
    } cases[] = {
        {"untouched", nullptr, {}, true, kLog, 0},
        {"yes", "64.8", gui::widgets::Answer::Yes, true, corrected, 1},
        {"no", "64.8", gui::widgets::Answer::No, true, kLog, 1},
        {"cancel", "64.8", gui::widgets::Answer::Cancel, false, kLog, 1},
        {"yes, refused value", "abc", gui::widgets::Answer::Yes, false, kLog, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.window.reset();
        f.folder.writeCp932("データ1.txt", kLog);
        f.start();
        f.click("cmdMemo");
        if (c.weight) {
            correct(2, {{"txtSyuTai", c.weight}});
        } else {
            correct(2, {});
        }
        f.dialogs.shown.clear();
        if (c.answer) f.dialogs.answers.push_back(*c.answer);
        f.click("cmdOwari");
        EXPECT_EQ(f.window->isVisible(), !c.closed);
        EXPECT_EQ(log1(), c.log);
        ASSERT_EQ(f.dialogs.shown.size(), std::size_t(c.boxes));
        if (c.boxes > 0) {
            EXPECT_EQ(f.dialogs.shown[0].text, qs(question));
            EXPECT_EQ(f.dialogs.shown[0].title, qs("終了確認"));
        }
        if (c.boxes > 1) {
            EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning);
        }
    }
}

TEST_F(RecordEditTest, TheStartRecordIsDeletedOnlyWhenItIsTheLastOne) {
    screen().selectCommentRow(1);
    f.click("cmdSakujo");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);  // refused without a question
    EXPECT_EQ(f.dialogs.shown[0].text,
              qs(store::editRefusalText(store::EditRefusal::StartRecord).c_str()));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("削除中止"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(log1(), kLog);

    f.click("cmdUser2");
    f.dialogs.shown.clear();
    f.dialogs.answers = {gui::widgets::Answer::Yes};
    screen().selectCommentRow(1);
    f.click("cmdSakujo");
    EXPECT_EQ(f.folder.readCp932("データ2.txt"), "");
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_FALSE(f.find("cmdSakujo")->isEnabled());
}

TEST_F(RecordEditTest, ALogChangedElsewhereIsNotOverwrittenAndIsShownAgain) {
    const std::string outside = kLog + rec("2026/12/08", "起床後", "64", "");
    const disk::FileNotice stale = disk::staleFileNotice("データ1.txt", false);
    for (const bool deleting : {false, true}) {
        f.folder.writeCp932("データ1.txt", kLog);
        screen().fillCommentTable();
        f.dialogs.shown.clear();
        if (deleting) {
            screen().selectCommentRow(2);
            f.dialogs.answers = {gui::widgets::Answer::Yes};
        } else {
            correct(2, {{"txtSyuTai", "60"}});
        }
        f.folder.writeCp932("データ1.txt", outside);
        f.click(deleting ? "cmdSakujo" : "cmdSyuHozon");
        EXPECT_EQ(log1(), outside) << deleting;
        ASSERT_FALSE(f.dialogs.shown.empty());
        EXPECT_EQ(f.dialogs.shown.back().title, qs(stale.title.c_str())) << deleting;
        EXPECT_EQ(f.dialogs.shown.back().text, qs(stale.text.c_str())) << deleting;
        EXPECT_EQ(grid().rowCount(), 5) << deleting;
        EXPECT_FALSE(panelShown());
    }
}

TEST_F(RecordEditTest, EveryFailingStepOfAnEditEndsOldOrNewWithAMessage) {
    const struct {
        bool deleting;
        std::string after;
        const char* row2Date;  // what the table shows in row 2 after the edit
    } cases[] = {
        {false, kA + rec("2026/12/05", "起床後", "64.5", "x") + kB + kC, "2026/12/05"},
        {true, kA + kC + kD, "2026/12/07"},
    };
    const auto namesBefore = f.folder.fileNames();
    for (const auto& c : cases) {
        // Opens the edit and, for a deletion, answers its question.
        const auto edit = [&] {
            f.folder.writeCp932("データ1.txt", kLog);
            screen().fillCommentTable();
            f.dialogs.shown.clear();
            if (c.deleting) {
                screen().selectCommentRow(2);
                f.dialogs.answers = {gui::widgets::Answer::Yes};
            } else {
                correct(4, {{"txtSyuDate", "2026/12/05"}});
            }
        };
        const char* button = c.deleting ? "cmdSakujo" : "cmdSyuHozon";
        long steps = 0;
        {
            edit();
            auto count = InjectFaults::from(1000000);
            f.click(button);
            steps = count.seen();
        }
        ASSERT_EQ(log1(), c.after) << c.deleting;
        int failures = 0;
        for (long n = 1; n <= steps; ++n) {
            edit();
            {
                auto fail = InjectFaults::once(n);
                f.click(button);
            }
            const bool saved = log1() == c.after;
            EXPECT_TRUE(saved || log1() == kLog) << c.deleting << " step " << n;
            EXPECT_EQ(f.folder.fileNames(), namesBefore) << "step " << n;
            // The question, then one warning.
            const std::size_t warning = c.deleting ? 1 : 0;
            ASSERT_EQ(f.dialogs.shown.size(), warning + 1) << c.deleting << " step " << n;
            EXPECT_EQ(f.dialogs.shown[warning].icon, gui::widgets::Icon::Warning);
            // The table shows what the file holds.
            EXPECT_EQ(grid().text(2, 1), saved ? c.row2Date : "2026/12/06") << "step " << n;
            if (saved) {
                EXPECT_EQ(f.dialogs.shown[warning].title, qs("書き込み確認エラー")) << "step " << n;
                continue;
            }
            ++failures;
            EXPECT_EQ(f.dialogs.shown[warning].title, qs("保存エラー")) << "step " << n;
            EXPECT_EQ(panelShown(), !c.deleting) << "step " << n;
        }
        EXPECT_GE(failures, 3) << c.deleting;
    }
}

}  // namespace
}  // namespace pairly::testing
