// The new start and the profile edit of the settings screen, driven through the real main
// window: messages, the files byte for byte, the backups, the end of the program and the
// first run in an empty folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "core/disk/file_ops.h"
#include "gui/settings/new_start_panel.h"
#include "gui/settings/settings_screen.h"
#include "gui_support/layout_check.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

using shell::Screen;

const char* const kFields[] = {"txtPriData1", "txtSincyou1",  "txtMokuTai1", "txtNowTai",
                               "txtNowShi",   "txtNowTaisya", "txtNowNaizo", "txtNowKinr",
                               "txtNowKins",  "txtNowKotu",   "txtNowJyou"};
using Texts = std::array<const char*, 11>;
const Texts kHanako = {"はなこ", "158.5", "50", "65.30", "28.5",      "1350",
                       "7",      "36.1",  "-2", "2.4",   "がんばるぞ"};
const Texts kTarou = {"たろう", "172", "65", "70", "20", "1600", "10", "55", "4", "3.1", nullptr};

const char kOpening[] =
    "新規にペアリーログをスタートさせます。\n\n"
    "一人目のの名前（ニックネーム）を入力してください。（※必須です）\n\n"
    "身長と目標体重を半角文字で入力してください。（※必須です）\n\n"
    "現在（スタート時）の体重を入力してください。（※必須です）\n\n"
    "現在（スタート時）の体脂肪率を入力してください。（※必須です）\n\n"
    "同様にその他のデータを入力してください。（※必須です）\n\n"
    "初期の状況として記録したい言葉を入力してください。\n"
    "デフォルトでは「はじめの一歩」と入れていますが自由に変更できます。（※必須です）\n\n"
    "入力し準備ができたら新規登録ボタンを押してください。二人目の登録に移ります。\n";

const std::string kOldLog1 = "\"2026/11/01\",\"起床後\",60,25,1400,8,45.3,5,2.8,\"\",\"\"\r\n";
const std::string kOldLog2 = "\"2026/11/02\",\"起床後\",70,20,1600,10,55,8,3.1,\"\",\"\"\r\n";

class NewStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeCouple();
        f.folder.writeCp932("データ1.txt", kOldLog1);
        f.folder.writeCp932("データ2.txt", kOldLog2);
    }
    gui::shell::MainWindow& startOnSettings() {
        gui::shell::MainWindow& w = f.start();
        w.switchToScreen(Screen::Settings);
        return w;
    }
    QLineEdit* field(int i) const { return f.find<QLineEdit>(kFields[i]); }
    void fill(const Texts& texts) const {
        for (int i = 0; i < 11; ++i)
            if (texts[i]) field(i)->setText(qs(texts[i]));
    }
    QStringList fieldTexts() const {
        QStringList t;
        for (int i = 0; i < 11; ++i) t << field(i)->text();
        return t;
    }
    bool panelShown() const { return f.find<QWidget>("fraNew")->isVisible(); }
    std::string bytes(const char* name) const { return f.folder.readBytes(name); }
    // The four files of the couple, to compare before and after.
    std::array<std::string, 4> couple() const {
        return {bytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), bytes("データ1.txt"), bytes("ﾌﾟﾗｲﾍﾞｰﾄ2.txt"),
                bytes("データ2.txt")};
    }

    ShellFixture f;
};

TEST_F(NewStartTest, BothPartnersInTurnThenTheProgramEnds) {
    gui::shell::MainWindow& w = startOnSettings();
    int ended = 0;
    QObject::connect(&w, &gui::shell::MainWindow::programEnded, [&] { ++ended; });
    const auto old = couple();

    f.click("cmdNew1");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs(kOpening));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("データを登録しましょう"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(field(10)->text(), qs("はじめの一歩"));
    EXPECT_EQ(layoutProblems(&w), QStringList());  // the panel over the screen reads clearly

    fill(kHanako);
    f.click("cmdStHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[1].text, qs("入力した内容でデータを作ります。よろしいですか？"));
    EXPECT_EQ(f.dialogs.shown[1].title, qs("クリア確認"));
    EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(f.dialogs.shown[1].buttons, gui::widgets::Buttons::OkCancel);
    EXPECT_EQ(f.dialogs.shown[2].text,
              qs("二人目の名前（ニックネーム）を入力してください。\n\n"
                 "同様に身長と目標体重、体重、その他のデータを入力してください。\n\n"
                 "入力し準備ができたら新規登録ボタンを押してください。\n"));
    EXPECT_EQ(f.dialogs.shown[2].title, qs("データを登録しましょう"));

    // Partner 1 is replaced before partner 2 is entered; the old files are kept aside.
    const std::string profile1 = "\"氏名\",\"はなこ\"\r\n\"身長\",158.5\r\n\"目標体重\",50\r\n";
    const std::string log1 =
        "\"2026/12/07\",\"がんばるぞ\",65.3,28.5,1350,7,36.1,-2,2.4,\"\",\"\"\r\n";
    EXPECT_EQ(f.folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), profile1);
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), log1);
    EXPECT_EQ(bytes("ﾌﾟﾗｲﾍﾞｰﾄ2.txt"), old[2]);
    EXPECT_EQ(bytes("データ2.txt"), old[3]);
    EXPECT_EQ(bytes("バックアップ/ﾌﾟﾗｲﾍﾞｰﾄ1_20261207_090000.txt"), old[0]);
    EXPECT_EQ(bytes("バックアップ/データ1_20261207_090000.txt"), old[1]);
    // Partner 1 is the selected partner now, under the new name.
    EXPECT_EQ(w.context().currentSlot, 1);
    EXPECT_EQ(w.windowTitle(), qs(" はなこ のデータ"));
    // Ten fields empty, the start situation offered again.
    EXPECT_EQ(fieldTexts(),
              QStringList({"", "", "", "", "", "", "", "", "", "", qs("がんばるぞ")}));
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(ended, 0);

    fill(kTarou);
    f.click("cmdStHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 5u);
    EXPECT_EQ(
        f.dialogs.shown[4].text,
        qs("登録が終了しました。\n\n"
           "一旦プログラムを終了させていただきます。次の起動からペアリーログのスタートです！"));
    EXPECT_EQ(f.dialogs.shown[4].title, qs("新規登録終了"));
    EXPECT_EQ(f.dialogs.shown[4].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(f.folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ2.txt"),
              "\"氏名\",\"たろう\"\r\n\"身長\",172\r\n\"目標体重\",65\r\n");
    EXPECT_EQ(f.folder.readCp932("データ2.txt"),
              "\"2026/12/07\",\"がんばるぞ\",70,20,1600,10,55,4,3.1,\"\",\"\"\r\n");
    EXPECT_EQ(bytes("バックアップ/データ2_20261207_090000.txt"), old[3]);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(w.isVisible());
    // The situation list, the memo and the settings are kept.
    EXPECT_EQ(f.folder.readCp932("状況リスト.txt"), "\"起床後\"\r\n\"夕食後\"\r\n");
}

TEST_F(NewStartTest, RefusalsAndCancelWriteNothing) {
    startOnSettings();
    const auto old = couple();
    const auto files = f.folder.fileNames();
    f.click("cmdNew1");

    // The muscle score keeps the muscle mass's title.
    fill(kHanako);
    field(8)->clear();
    f.dialogs.shown.clear();
    f.click("cmdStHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("現在の筋肉スコアが入力されていません"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("現筋肉量未入力"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);

    // A height that is no number: the field and its range.
    fill(kHanako);
    field(1)->setText("abc");
    f.dialogs.shown.clear();
    f.click("cmdStHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("身長は0より大きい数値で入力してください"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("身長入力エラー"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);

    // A basal metabolism beyond 16 bits, a nickname with a quote.
    for (auto [i, text] : {std::pair{5, "40000"}, std::pair{0, "はな\"こ"}}) {
        fill(kHanako);
        field(i)->setText(qs(text));
        f.dialogs.shown.clear();
        f.click("cmdStHozon");
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << text;
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning) << text;
    }

    // Cancel at the question.
    fill(kHanako);
    f.dialogs.shown.clear();
    f.dialogs.answers = {gui::widgets::Answer::Cancel};
    f.click("cmdStHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("クリア確認"));
    EXPECT_EQ(couple(), old);
    EXPECT_EQ(f.folder.fileNames(), files);
    EXPECT_EQ(field(0)->text(), qs("はなこ"));  // ready for another try

    // キャンセル hides the panel.
    f.click("cmdYame");
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(couple(), old);
}

TEST_F(NewStartTest, EnterWalksTheElevenFieldsToTheEntryButton) {
    gui::shell::MainWindow& w = startOnSettings();
    f.click("cmdNew1");
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    for (int i = 0; i < 100 && !w.isActiveWindow(); ++i) QApplication::processEvents();
    ASSERT_TRUE(w.isActiveWindow());
    ASSERT_TRUE(field(0)->hasFocus());
    for (int i = 0; i < 11; ++i) {
        // An empty field passes the focus on too; only the entry button checks.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(field(i), &press);
        if (i + 1 < 11) {
            EXPECT_TRUE(field(i + 1)->hasFocus()) << i;
        }
    }
    EXPECT_TRUE(f.find<QPushButton>("cmdStHozon")->hasFocus());
}

TEST_F(NewStartTest, ThePanelSurvivesScreenSwitchesAndReopensOnPartnerOne) {
    gui::shell::MainWindow& w = startOnSettings();
    f.click("cmdNew1");
    fill(kHanako);
    f.click("cmdStHozon");  // partner 1 entered
    field(0)->setText(qs("たろ"));
    w.switchToScreen(Screen::Input);
    EXPECT_FALSE(panelShown());
    w.switchToScreen(Screen::Settings);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(field(0)->text(), qs("たろ"));
    EXPECT_EQ(w.settingsScreen()->newStartPanel().enteringSlot(), 2);

    // Cancelled in the middle: partner 1 stays new, partner 2 old; the next opening starts
    // again with partner 1.
    f.click("cmdYame");
    EXPECT_EQ(f.folder.readCp932("データ2.txt"), kOldLog2);
    f.click("cmdNew1");
    EXPECT_EQ(w.settingsScreen()->newStartPanel().enteringSlot(), 1);
    EXPECT_EQ(field(0)->text(), QString());
    EXPECT_EQ(field(10)->text(), qs("がんばるぞ"));
}

TEST_F(NewStartTest, FailedWritesLeaveBothFilesAsTheyWereAndSaySo) {
    startOnSettings();
    f.click("cmdNew1");
    using Op = disk::fileops::Op;
    for (Op op :
         {Op::Open, Op::Read, Op::Write, Op::Fsync, Op::Close, Op::Rename, Op::MakeFolder}) {
        for (long n : {1L, 3L, 5L}) {
            const auto old = couple();
            fill(kHanako);
            f.dialogs.shown.clear();
            {
                auto fail = InjectFaults::once(n, {op});
                f.click("cmdStHozon");
            }
            const std::string what = std::to_string(int(op)) + "#" + std::to_string(n);
            ASSERT_FALSE(f.dialogs.shown.empty()) << what;
            const auto& last = f.dialogs.shown.back();
            if (last.title == qs("保存エラー")) {
                EXPECT_EQ(last.icon, gui::widgets::Icon::Warning) << what;
                EXPECT_EQ(couple(), old) << what;
                EXPECT_EQ(f.window->settingsScreen()->newStartPanel().enteringSlot(), 1) << what;
                EXPECT_EQ(field(0)->text(), qs("はなこ")) << what;
            } else {
                // The fault hit an operation the entry did not need: it went through.
                EXPECT_EQ(last.title, qs("データを登録しましょう")) << what;
                EXPECT_EQ(f.folder.readCp932("データ1.txt").substr(0, 14), "\"2026/12/07\",\"")
                    << what;
                // Back to partner 1 with the old files for the next round.
                f.folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", old[0]);
                f.folder.writeBytes("データ1.txt", old[1]);
                f.click("cmdYame");
                f.click("cmdNew1");
            }
        }
    }
}

TEST_F(NewStartTest, FirstRunEndsOnTheNewStart) {
    ShellFixture empty;  // no files at all; the tour is on until switched off
    gui::shell::MainWindow& w = empty.start();
    ASSERT_EQ(empty.dialogs.shown.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(empty.dialogs.shown[i].title, qs("ヘルプツアー"));
    EXPECT_EQ(empty.dialogs.shown[3].text, qs(kOpening));
    EXPECT_TRUE(w.screenPanel(Screen::Settings)->isVisible());
    EXPECT_FALSE(w.screenPanel(Screen::Comparison)->isVisible());
    EXPECT_TRUE(empty.find<QWidget>("fraNew")->isVisible());
    EXPECT_EQ(empty.folder.fileNames(), std::vector<std::string>{"状況リスト.txt"});

    // The couple enters itself; the program ends; the next start shows both.
    for (const Texts& t : {kHanako, kTarou}) {
        for (int i = 0; i < 11; ++i)
            if (t[i]) empty.find<QLineEdit>(kFields[i])->setText(qs(t[i]));
        empty.click("cmdStHozon");
    }
    EXPECT_FALSE(w.isVisible());
    empty.window.reset();
    empty.dialogs.shown.clear();
    gui::shell::MainWindow& again = empty.start();
    EXPECT_TRUE(again.screenPanel(Screen::Comparison)->isVisible());
    EXPECT_FALSE(empty.find<QWidget>("fraNew")->isVisible());
    EXPECT_EQ(empty.find("cmdUser1")->text(), qs("はなこ"));
    EXPECT_EQ(empty.find("cmdUser2")->text(), qs("たろう"));
    EXPECT_EQ(empty.find<QLabel>("lblD1_0")->text(), qs("はなこ"));
    EXPECT_EQ(empty.find<QLabel>("lblD2_0")->text(), qs("たろう"));
}

// --- profile edit ------------------------------------------------------------------------

TEST_F(NewStartTest, ProfileEditSavesTheSelectedPartner) {
    f.writeProfile(1, "はなこ", "168.5", "65");
    gui::shell::MainWindow& w = startOnSettings();
    auto* name = f.find<QLineEdit>("txtPriData");
    auto* height = f.find<QLineEdit>("txtSincyou");
    auto* target = f.find<QLineEdit>("txtMokuTai");
    EXPECT_EQ(name->text(), qs("はなこ"));
    EXPECT_EQ(height->text(), "168.5");
    EXPECT_EQ(target->text(), "65");

    // An empty height has its message, a refused one names the field and its range; the
    // file stays as it was.
    const std::string before = bytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt");
    const struct {
        const char* height;
        const char* target;
        const char* text;
        const char* title;
    } refusals[] = {
        {"", "65", "身長が入力されていません", "身長未入力"},
        {"abc", "65", "身長は0より大きい数値で入力してください", "身長入力エラー"},
        {"-160", "65", "身長は0より大きい数値で入力してください", "身長入力エラー"},
        {"168.5", "9999", "目標体重は0より大きく600以下の数値で入力してください",
         "目標体重入力エラー"},
        {"168.5", "60kg", "目標体重は0より大きく600以下の数値で入力してください",
         "目標体重入力エラー"},
    };
    for (const auto& r : refusals) {
        height->setText(qs(r.height));
        target->setText(qs(r.target));
        f.dialogs.shown.clear();
        f.click("cmdPHozon1");
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << r.height << " " << r.target;
        EXPECT_EQ(f.dialogs.shown[0].text, qs(r.text)) << r.height << " " << r.target;
        EXPECT_EQ(f.dialogs.shown[0].title, qs(r.title)) << r.height << " " << r.target;
        EXPECT_EQ(bytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), before) << r.height << " " << r.target;
    }
    height->setText("168.5");
    target->clear();
    f.dialogs.shown.clear();
    f.click("cmdPHozon1");
    EXPECT_EQ(f.dialogs.shown.at(0).text, qs("目標体重が入力されていません"));
    EXPECT_EQ(f.dialogs.shown.at(0).title, qs("目標体重未入力"));
    EXPECT_EQ(bytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), before);

    // An empty nickname is allowed and gives the program's title.
    name->clear();
    target->setText("６０");
    f.dialogs.shown.clear();
    f.click("cmdPHozon1");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("保存が終了しました"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存終了"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(f.folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"),
              "\"氏名\",\"\"\r\n\"身長\",168.5\r\n\"目標体重\",60\r\n");
    EXPECT_EQ(w.windowTitle(), qs(" ペアリー☆ログ"));
    EXPECT_FLOAT_EQ(w.context().profile().targetWeightKg, 60.f);
    // The button follows at once, with the caption of a partner without a nickname.
    EXPECT_EQ(f.find("cmdUser1")->text(), qs("パートナー１"));
    EXPECT_FLOAT_EQ(w.context().profileOf(1).targetWeightKg, 60.f);

    // A partner change while shown fills the other partner's profile.
    f.click("cmdUser2");
    EXPECT_EQ(name->text(), qs("たろう"));
    EXPECT_EQ(height->text(), "172");
    name->setText(qs("たろう２"));
    f.click("cmdPHozon1");
    EXPECT_EQ(w.windowTitle(), qs(" たろう２ のデータ"));
    EXPECT_EQ(f.find("cmdUser2")->text(), qs("たろう２"));
    EXPECT_EQ(f.find("cmdUser1")->text(), qs("パートナー１"));
    EXPECT_EQ(f.folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ2.txt"),
              "\"氏名\",\"たろう２\"\r\n\"身長\",172\r\n\"目標体重\",65\r\n");
}

TEST_F(NewStartTest, FailedProfileSaveKeepsFileAndTitle) {
    gui::shell::MainWindow& w = startOnSettings();
    const std::string before = bytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt");
    const auto files = f.folder.fileNames();
    using Op = disk::fileops::Op;
    for (Op op : {Op::Open, Op::Write, Op::Fsync, Op::Close, Op::Rename}) {
        f.find<QLineEdit>("txtPriData")->setText(qs("はな"));
        f.dialogs.shown.clear();
        {
            auto fail = InjectFaults::once(1, {op});
            f.click("cmdPHozon1");
        }
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << int(op);
        EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_EQ(bytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), before) << int(op);
        EXPECT_EQ(w.windowTitle(), qs(" はなこ のデータ"));
        EXPECT_EQ(w.context().profile().nickname, "はなこ");
        EXPECT_EQ(f.find("cmdUser1")->text(), qs("はなこ"));
        EXPECT_EQ(f.folder.fileNames(), files) << int(op);  // no temporary file left
    }
}

}  // namespace
}  // namespace pairly::testing
