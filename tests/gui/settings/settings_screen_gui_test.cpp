// The settings screen driven through its controls: situation list editing, scale steps,
// automatic time and the BMI simulator.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "core/store/situation_list.h"
#include "gui/widgets/grid.h"
#include "gui_support/screens_fixture.h"

namespace pairly::testing {
namespace {

class SettingsScreenTest : public ::testing::Test {
protected:
    void SetUp() override { f.writeSituations("A\r\nB\r\nC\r\nD\r\n"); }
    QListWidget* lstKoumoku() const { return f.find<QListWidget>("lstKoumoku"); }
    QListWidget* lstAct() const { return f.find<QListWidget>("lstAct"); }
    QColor sortColour() const {
        return f.find<QPushButton>("cmdSort")->palette().color(QPalette::Button);
    }
    static QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }
    bool entryButtonsEnabled() const {
        return f.find<QPushButton>("cmdSort")->isEnabled() &&
               f.find<QPushButton>("cmdDel")->isEnabled() &&
               f.find<QPushButton>("cmdChg")->isEnabled();
    }
    bool entryButtonsDisabled() const {
        return !f.find<QPushButton>("cmdSort")->isEnabled() &&
               !f.find<QPushButton>("cmdDel")->isEnabled() &&
               !f.find<QPushButton>("cmdChg")->isEnabled();
    }

    ScreensFixture f;
};

TEST_F(SettingsScreenTest, DragReordersOnlyTheEditListUntilSaved) {
    f.build();
    struct Case {
        int from, to;
        QStringList expected;
        bool changed;
    };
    const Case cases[] = {{0, 2, {"B", "A", "C", "D"}, true},
                          {3, 1, {"A", "D", "B", "C"}, true},
                          {0, 1, {"A", "B", "C", "D"}, false},
                          {2, 2, {"A", "B", "C", "D"}, false}};
    for (const Case& c : cases) {
        f.settings->loadSituationList();
        f.find<QPushButton>("cmdSort")->setPalette(QPalette());
        ScreensFixture::drag(lstKoumoku(), c.from, c.to);
        EXPECT_EQ(ScreensFixture::items(lstKoumoku()), c.expected) << c.from << "->" << c.to;
        EXPECT_EQ(sortColour(), c.changed ? QColor(255, 224, 192) : buttonFace());
        EXPECT_EQ(ScreensFixture::items(lstAct()), QStringList({"A", "B", "C", "D"}));
        EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n");
    }

    ScreensFixture::drag(lstKoumoku(), 3, 0);
    f.click("cmdSort");
    EXPECT_EQ(f.situations(), "D\r\nA\r\nB\r\nC\r\n");
    EXPECT_EQ(ScreensFixture::items(lstAct()), QStringList({"D", "A", "B", "C"}));
    EXPECT_EQ(sortColour(), buttonFace());
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("並び替えた順番で状況リストを作成しました"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("並び替え完了"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);
}

TEST_F(SettingsScreenTest, AddedTextWithACommaStaysOneEntry) {
    f.build();
    f.dialogs.inputs = {qs("朝,夜")};
    f.click("cmdNew2");
    EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n\"朝,夜\"\r\n");
    EXPECT_EQ(ScreensFixture::items(lstKoumoku()).last(), qs("朝,夜"));
    // Saving the order keeps it whole too.
    ScreensFixture::clickItem(lstKoumoku(), 0);
    f.click("cmdSort");
    EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n\"朝,夜\"\r\n");
    EXPECT_EQ(store::loadSituationList(f.folder.path()).back(), "朝,夜");
}

TEST_F(SettingsScreenTest, AddDeleteAndDeleteAll) {
    f.build();
    // Add appends a bare line; a text that cannot be stored is refused; cancel adds nothing.
    f.dialogs.inputs = {qs("運動前"), qs("\"夜\""), QString()};
    for (int i = 0; i < 3; ++i) f.click("cmdNew2");
    EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n運動前\r\n");
    EXPECT_EQ(ScreensFixture::items(lstAct()).last(), qs("運動前"));
    EXPECT_EQ(ScreensFixture::items(lstKoumoku()).last(), qs("運動前"));
    ASSERT_EQ(f.dialogs.shown.size(), 4u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("追加したい状況を入力して下さい"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("状況追加"));
    EXPECT_EQ(f.dialogs.shown[2].title, qs("入力エラー"));
    EXPECT_EQ(f.dialogs.shown[2].icon, gui::widgets::Icon::Warning);
    f.dialogs.shown.clear();

    // Nothing selected: delete does nothing at all.
    f.click("cmdDel");
    EXPECT_TRUE(f.dialogs.shown.empty());

    ScreensFixture::clickItem(lstKoumoku(), 1);
    EXPECT_TRUE(entryButtonsEnabled());
    f.dialogs.answers = {gui::widgets::Answer::Cancel};
    f.click("cmdDel");
    EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n運動前\r\n");
    f.click("cmdDel");
    EXPECT_EQ(f.situations(), "A\r\nC\r\nD\r\n運動前\r\n");
    EXPECT_EQ(ScreensFixture::items(lstAct()), QStringList({"A", "C", "D", qs("運動前")}));
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[1].text, qs("Bを削除します。よろしいですか？"));
    EXPECT_EQ(f.dialogs.shown[1].title, qs("クリア確認"));
    EXPECT_EQ(f.dialogs.shown[1].buttons, gui::widgets::Buttons::OkCancel);
    EXPECT_EQ(f.dialogs.shown[2].text, qs("選択したデータを削除しました"));
    EXPECT_EQ(f.dialogs.shown[2].title, qs("削除完了"));
    f.dialogs.shown.clear();

    f.click("cmdDel2");
    EXPECT_EQ(f.situations(), "");
    EXPECT_EQ(lstAct()->count(), 0);
    EXPECT_EQ(lstKoumoku()->count(), 0);
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("状況リストを全削除します。よろしいですか？"));
    EXPECT_EQ(f.dialogs.shown[1].text,
              qs("状況リストを削除しました。\n\n任意の状況をあらためて登録してください。"));
}

TEST_F(SettingsScreenTest, RenameTouchesOnlyTheActivePartner) {
    f.writeSituations("\"朝食前\"\r\n夕食後\r\n朝食前\r\n");
    const std::string log1 = logLine("2026/12/06", "朝食前", "60.3,25,1400,8,45.3,5,2.8", "a,b") +
                             logLine("2026/12/07", "朝食前", "60.1,25,1400,8,45.3,5,2.8");
    const std::string log2 = logLine("2026/12/07", "朝食前", "70,20,1600,10,55,8,3.1");
    f.writeLog(1, log1);
    f.writeLog(2, log2);
    f.build();
    auto* txtChg = f.find<QLineEdit>("txtChg");

    ScreensFixture::clickItem(lstKoumoku(), 0);
    f.click("cmdChg");  // no new text
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("変更したいコメントを入力してください"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("変更後コメント未入力"));

    txtChg->setText(qs("朝ごはん前"));
    f.click("cmdChg");
    EXPECT_EQ(f.log(1), logLine("2026/12/06", "朝ごはん前", "60.3,25,1400,8,45.3,5,2.8", "a,b") +
                            logLine("2026/12/07", "朝ごはん前", "60.1,25,1400,8,45.3,5,2.8"));
    EXPECT_EQ(f.log(2), log2);
    EXPECT_EQ(f.situations(), "\"朝ごはん前\"\r\n\"夕食後\"\r\n\"朝ごはん前\"\r\n");
    EXPECT_EQ(ScreensFixture::items(lstAct()),
              QStringList({qs("朝ごはん前"), qs("夕食後"), qs("朝ごはん前")}));
    // The day view shows the renamed situation at once.
    EXPECT_EQ(f.find<gui::widgets::Grid>("msgDayList")->text(1, 1), qs("朝ごはん前"));
    EXPECT_EQ(txtChg->text(), qs("朝ごはん前"));
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[1].text,
              qs("『朝食前』 を 『朝ごはん前』 に変更します。よろしいですか？"));
    EXPECT_EQ(f.dialogs.shown[2].text, qs("コメントを入れ替えました。"));
    EXPECT_EQ(f.dialogs.shown[2].title, qs("コメント変更終了"));

    // A new text with a quote is refused before anything is asked or written.
    ScreensFixture::clickItem(lstKoumoku(), 1);
    txtChg->setText(qs("夕\"食"));
    f.click("cmdChg");
    EXPECT_EQ(f.dialogs.shown.back().title, qs("入力エラー"));
    EXPECT_EQ(f.situations(), "\"朝ごはん前\"\r\n\"夕食後\"\r\n\"朝ごはん前\"\r\n");
}

TEST_F(SettingsScreenTest, EntryButtonsWaitForAClick) {
    f.build();
    EXPECT_TRUE(entryButtonsDisabled());
    ScreensFixture::clickItem(lstKoumoku(), 2);
    EXPECT_TRUE(entryButtonsEnabled());
    f.settings->openSettings();
    EXPECT_TRUE(entryButtonsDisabled());
    ScreensFixture::clickItem(lstKoumoku(), 2);
    f.settings->refresh();
    EXPECT_TRUE(entryButtonsDisabled());
    EXPECT_TRUE(f.find<QPushButton>("cmdNew2")->isEnabled() &&
                f.find<QPushButton>("cmdDel2")->isEnabled());
}

TEST_F(SettingsScreenTest, ScaleStepsFromFileOptionsAndFreeFields) {
    f.folder.writeCp932("体重計刻み.txt", "0.25\r\n0.5\r\n");
    f.writeLog(1, logLine("2026/12/07", "A", "60,25,1400,8,45.3,5,2.8"));
    f.build();
    const auto weightOptions =
        std::array{f.find<QRadioButton>("optKizami_1"), f.find<QRadioButton>("optKizami_2"),
                   f.find<QRadioButton>("optKizami_3")};
    for (QRadioButton* o : weightOptions) EXPECT_FALSE(o->isChecked());
    EXPECT_EQ(f.find<QLineEdit>("txtKizami")->text(), "0.25");
    EXPECT_TRUE(f.find<QRadioButton>("optKizami1_3")->isChecked());
    EXPECT_EQ(f.find<QLineEdit>("txtKizami2")->text(), "");
    EXPECT_EQ(f.fileStartingWith("体重計刻み"), "0.25\r\n0.5\r\n");

    // During start-up an option sets and writes nothing.
    f.ctx->startupInProgress = true;
    f.click("optKizami_2");
    f.ctx->startupInProgress = false;
    EXPECT_EQ(f.ctx->steps.weightStep, "0.25");
    EXPECT_EQ(f.fileStartingWith("体重計刻み"), "0.25\r\n0.5\r\n");

    f.click("optKizami_1");
    EXPECT_EQ(f.fileStartingWith("体重計刻み"), "0.1\r\n0.5\r\n");
    EXPECT_FALSE(weightOptions[1]->isChecked());
    // Typing alone writes nothing; Enter takes the text.
    auto* txtKizami2 = f.find<QLineEdit>("txtKizami2");
    txtKizami2->setText("0.3");
    EXPECT_EQ(f.fileStartingWith("体重計刻み"), "0.1\r\n0.5\r\n");
    keyClick(txtKizami2, Qt::Key_Return);
    EXPECT_EQ(f.fileStartingWith("体重計刻み"), "0.1\r\n0.3\r\n");
    EXPECT_FALSE(f.find<QRadioButton>("optKizami1_3")->isChecked());
    // A checked option cannot be clicked off.
    f.click("optKizami_1");
    EXPECT_TRUE(weightOptions[0]->isChecked());

    // The next press of a stepper uses the new step.
    f.click("cmdJikan");
    f.click("cmdDn1");
    f.click("cmdUp");
    EXPECT_EQ(f.find<QLineEdit>("txtShiInp")->text(), "24.7");
    EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), "60.1");
}

TEST_F(SettingsScreenTest, AutomaticTimeFollowsTheCheckBox) {
    f.folder.writeCp932("自動時間.TXT", " 1 \r\n");
    f.build();
    auto* chk = f.find<QCheckBox>("chkJikan");
    EXPECT_TRUE(chk->isChecked());
    EXPECT_TRUE(f.input->autoTime());
    EXPECT_EQ(chk->text(), qs("一言日記に自動的に時間を記録"));
    chk->click();
    EXPECT_FALSE(f.input->autoTime());
    EXPECT_EQ(f.fileStartingWith("自動時間"), " 0 \r\n");
    chk->click();
    EXPECT_EQ(f.fileStartingWith("自動時間"), " 1 \r\n");
}

TEST_F(SettingsScreenTest, BmiMetersFollowTheDayAndTheScrollBar) {
    // 16.0 at 168.5 cm: below the meter.
    f.writeLog(1, logLine("2026/12/07", "A", "45.4276,25,1400,8,45.3,5,2.8"));
    f.build(168.5f);
    auto* bar = f.find<QScrollBar>("HScroll1");
    auto text = [this](const char* name) { return f.find<QLabel>(name)->text(); };
    EXPECT_EQ(text("lblMHyouka"), qs("やせ過ぎ"));
    EXPECT_EQ(bar->value(), 170);
    EXPECT_EQ(text("lblHyouka"), qs("やせ気味"));
    // The simulator runs last at start-up and shows the bar's BMI.
    EXPECT_EQ(text("lblBmiValue"), "17.0");
    EXPECT_EQ(text("lblBmiHeight"), "1.685");
    EXPECT_EQ(f.find<QLabel>("lblMHyouka")->palette().color(QPalette::Window),
              QColor(192, 192, 255));

    bar->setValue(220);  // as a user move
    EXPECT_EQ(text("lblBmiValue"), "22.0");
    EXPECT_EQ(text("lblBmiWeight"), "62.5");
    EXPECT_EQ(text("lblTai"), "62.5");
    EXPECT_EQ(text("lblHyojun_0"), "62.5");
    EXPECT_EQ(text("lblHyojun_1"), "62.5");
    EXPECT_EQ(text("lblHiman"), "0.0");
    EXPECT_EQ(text("lblHyouka"), qs("スタンダード"));

    // A save moves both meters to the new weight; the simulated weight stays.
    f.click("cmdJikan");
    f.find<QLineEdit>("txtTaiInp")->setText("85.2");
    f.click("cmdTaiHozon");
    EXPECT_EQ(bar->value(), 300);
    EXPECT_EQ(text("lblMHyouka"), qs("でぶフォルテシモ"));
    EXPECT_EQ(text("lblBmiValue"), "30.0");
    EXPECT_EQ(text("lblBmiWeight"), "62.5");
}

// A free step must be a positive number up to 10; anything else is refused and the step
// file keeps its bytes. Accepted steps are kept as plain number text.
TEST_F(SettingsScreenTest, TypedStepsAreStoredOrRefused) {
    f.folder.writeCp932("体重計刻み.txt", "0.1\r\n0.2\r\n");
    f.build();
    const std::string file = "0.1\r\n0.2\r\n";
    struct Case {
        const char* typed;
        const char* stored;  // nullptr: refused, naming the range
    } cases[] = {
        {"abc", nullptr},   {"53,5", nullptr},
        {"2\"8", nullptr},  {"-5", nullptr},
        {"-0.5", nullptr},  {"0", nullptr},
        {"600.1", nullptr}, {"99999999999999999999", nullptr},
        {"", nullptr},      {"１２３．４", nullptr},
        {"０．３", "0.3"},  {" 0.25 ", "0.25"},
        {"10", "10"},       {".5", "0.5"},
    };
    for (const char* name : {"txtKizami", "txtKizami2"}) {
        const bool weight = std::string(name) == "txtKizami";
        for (const Case& c : cases) {
            f.folder.writeCp932("体重計刻み.txt", file);
            const store::LoadedScaleSteps steps = store::loadScaleSteps(f.folder.path());
            f.ctx->steps = steps.steps;
            f.ctx->stepsStamp = steps.stamp;
            f.dialogs.shown.clear();
            auto* field = f.find<QLineEdit>(name);
            field->setText(qs(c.typed));
            keyClick(field, Qt::Key_Return);
            if (!c.stored) {
                ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.typed;
                EXPECT_EQ(f.dialogs.shown[0].title, qs("刻み入力エラー"));
                EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
                EXPECT_EQ(f.dialogs.shown[0].text,
                          qs("刻みは0より大きく10以下の数値で入力してください"))
                    << c.typed;
                EXPECT_EQ(f.fileStartingWith("体重計刻み"), file) << c.typed;
                EXPECT_EQ(f.ctx->steps.weightStep, "0.1");
                EXPECT_EQ(f.ctx->steps.bodyFatStep, "0.2");
                continue;
            }
            EXPECT_TRUE(f.dialogs.shown.empty()) << c.typed;
            EXPECT_EQ(f.fileStartingWith("体重計刻み"),
                      weight ? std::string(c.stored) + "\r\n0.2\r\n"
                             : "0.1\r\n" + std::string(c.stored) + "\r\n")
                << c.typed;
        }
    }
    // A plain 0.5 typed selects its option.
    auto* field = f.find<QLineEdit>("txtKizami");
    field->setText(qs(" ０．５"));
    keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(f.find<QRadioButton>("optKizami_3")->isChecked());
}

// A step left in the file by an older version that could not be typed today does nothing
// on a press instead of stepping backwards.
TEST_F(SettingsScreenTest, UnusableStepFromTheFileLeavesTheFieldAlone) {
    f.folder.writeCp932("体重計刻み.txt", "-0.5\r\nabc\r\n");
    f.writeLog(1, logLine("2026/12/07", "A", "60,25,1400,8,45.3,5,2.8"));
    f.build();
    f.click("cmdJikan");
    f.click("cmdUp");
    f.click("cmdUp1");
    EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), "60");
    EXPECT_EQ(f.find<QLineEdit>("txtShiInp")->text(), "25");
    EXPECT_EQ(f.find<QLineEdit>("txtKizami")->text(), "-0.5");  // shown, to be mended
}

TEST_F(SettingsScreenTest, FailedStepWritesKeepTheFileAndSaySo) {
    f.folder.writeCp932("体重計刻み.txt", "0.1\r\n0.2\r\n");
    f.build();
    using Op = disk::fileops::Op;
    for (Op op : {Op::Open, Op::Write, Op::Fsync, Op::Close, Op::Rename}) {
        f.dialogs.shown.clear();
        {
            auto fail = InjectFaults::once(1, {op});
            f.find<QLineEdit>("txtKizami")->setText("0.3");
            keyClick(f.find<QLineEdit>("txtKizami"), Qt::Key_Return);
        }
        EXPECT_EQ(f.fileStartingWith("体重計刻み"), "0.1\r\n0.2\r\n") << int(op);
        EXPECT_EQ(f.folder.fileNames().size(), 2u) << int(op);  // no temporary file left
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << int(op);
        EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
        EXPECT_EQ(f.ctx->steps.weightStep, "0.1");
        EXPECT_TRUE(f.find<QRadioButton>("optKizami_1")->isChecked());
    }
}

}  // namespace
}  // namespace pairly::testing
