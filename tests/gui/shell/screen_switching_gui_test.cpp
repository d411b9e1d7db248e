// Menu buttons, explanation boxes and the help-tour check box.
#include <gtest/gtest.h>

#include "core/disk/data_folder.h"
#include "core/shell/help_texts.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

using shell::Screen;

struct MenuCase {
    const char* button;
    const char* panel;
    Screen screen;
};

// Comparison last: it is the screen shown after start-up.
const MenuCase kMenu[] = {
    {"cmdMain", "fraMain", Screen::Input},          {"cmdTaijyu", "fraTaijyu", Screen::List},
    {"cmdBunseki", "fraBunseki", Screen::Analysis}, {"cmdCale", "fraCale", Screen::Calendar},
    {"cmdMemo", "fraMemo", Screen::Memo},           {"cmdRentai", "fraRenTai", Screen::Trend},
    {"cmdSettei", "fraSettei", Screen::Settings},   {"cmdAvgtai", "fraAvgTai", Screen::Comparison},
};

void expectOnlyVisible(const ShellFixture& f, const char* panel) {
    for (const MenuCase& m : kMenu) {
        EXPECT_EQ(!f.find<QWidget>(m.panel)->isHidden(), std::string(m.panel) == panel)
            << m.panel << " while " << panel << " should be shown";
    }
}

TEST(ShellMenu, CaptionsOfTheTopRow) {
    ShellFixture f;
    f.writeCouple();
    f.start();
    const std::pair<const char*, const char*> captions[] = {
        {"cmdMain", "入力"},          {"cmdTaijyu", "範囲指定"}, {"cmdAvgtai", "比較"},
        {"cmdBunseki", "分析リスト"}, {"cmdCale", "カレンダー"}, {"cmdMemo", "一言日記"},
        {"cmdRentai", "全グラフ"},    {"cmdSettei", "編集"},     {"cmdHelp", "ヘルプ"},
        {"cmdOwari", "終了"},         {"cmdPrint", "画面印刷"},  {"cmdPrint1", "用紙印刷"},
    };
    for (const auto& [name, caption] : captions) {
        ASSERT_NE(f.find(name), nullptr) << name;
        EXPECT_EQ(f.find(name)->text(), qs(caption)) << name;
    }
    EXPECT_EQ(f.find<QCheckBox>("chkHelp")->toolTip(), qs("ヘルプツアーのＯｎ／Ｏｆｆです"));
}

TEST(ShellMenu, EachButtonShowsItsScreenWithoutBoxesWhenTheTourIsOff) {
    ShellFixture f;
    f.writeCouple(0);
    f.start();
    const auto filesBefore = f.folder.fileNames();
    for (const MenuCase& m : kMenu) {
        f.click(m.button);
        expectOnlyVisible(f, m.panel);
        Screen visible;
        ASSERT_TRUE(f.window->visibleScreen(&visible));
        EXPECT_EQ(visible, m.screen);
    }
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.folder.fileNames(), filesBefore);
}

TEST(ShellMenu, TourExplainsEachScreenOnceAndNotTheVisibleOne) {
    ShellFixture f;
    f.writeCouple(1);
    f.start();
    f.dialogs.shown.clear();

    // The comparison screen is already shown: its button does nothing.
    f.click("cmdAvgtai");
    EXPECT_TRUE(f.dialogs.shown.empty());

    for (const MenuCase& m : kMenu) {
        f.click(m.button);
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << m.button;
        const auto box = f.dialogs.shown.front();
        EXPECT_EQ(box.text.toStdString(), shell::screenHelpText(m.screen)) << m.button;
        EXPECT_EQ(box.title, qs("ヘルプツアー"));
        EXPECT_EQ(box.icon, gui::widgets::Icon::Information);
        f.dialogs.shown.clear();

        f.click(m.button);  // already visible
        EXPECT_TRUE(f.dialogs.shown.empty()) << m.button;
        expectOnlyVisible(f, m.panel);
    }
}

// Spot checks of the texts against what the user is meant to read, including the line
// breaks at the ends and the ideographic spaces.
TEST(ShellMenu, ExplanationTextsKeepTheirLineBreaks) {
    const auto text = [](Screen s) { return QString::fromStdString(shell::screenHelpText(s)); };
    EXPECT_EQ(text(Screen::Comparison), qs("日毎の平均体重をリストとグラフに表示します。\n\n"));
    EXPECT_TRUE(text(Screen::Input).startsWith(qs("体重を入力する画面です。\n\nまずは")));
    EXPECT_TRUE(text(Screen::Input).contains(qs("になります。\n\n\n<入力方法>\n①")));
    EXPECT_TRUE(text(Screen::Input)
                    .endsWith(qs("\n\n一日の終わりを「笑い」か「ニコ」で締めくくろう！\n\n")));
    EXPECT_TRUE(
        text(Screen::List)
            .contains(qs(
                "\n\u3000※状況欄に直接任意の語句を入力することができます。（入力後Enter）\n\n")));
    EXPECT_TRUE(text(Screen::List).endsWith(qs("切り替えることができます\n")));
    EXPECT_FALSE(text(Screen::List).endsWith(qs("\n\n")));
    EXPECT_TRUE(
        text(Screen::Analysis).contains(qs("\n\u3000・区切り経過\u3000\u3000\u3000：０．５Ｋｇ")));
    EXPECT_TRUE(
        text(Screen::Analysis).contains(qs("\n\u3000・体重平均推移\u3000\u3000：体重推移")));
    EXPECT_TRUE(
        text(Screen::Analysis)
            .endsWith(qs("！？\n\n\nこれらの情報を利用してダイエットの励みにしましょう。")));
    EXPECT_TRUE(
        text(Screen::Calendar).endsWith(qs("\n\n赤色以外を増やすようにがんばりましょう！")));
    EXPECT_TRUE(text(Screen::Memo).endsWith(qs("書き留めてもいいと思います。\n\n")));
    EXPECT_TRUE(text(Screen::Trend).startsWith(qs("ルンルンログを開始した日から")));
    EXPECT_TRUE(text(Screen::Trend).endsWith(qs("グラフが切り替わります。\n\n")));
    EXPECT_TRUE(text(Screen::Settings).endsWith(qs("チェックを入れてください。\n\n")));
    // Every text is its own.
    for (int a = 0; a < shell::kScreenCount; ++a)
        for (int b = a + 1; b < shell::kScreenCount; ++b)
            EXPECT_NE(text(Screen(a)), text(Screen(b)));
}

TEST(ShellHelpTour, CheckBoxOffAndOnShowsTheMessagesAndWritesTheFlag) {
    ShellFixture f;
    f.writeCouple(1);
    f.start();
    f.dialogs.shown.clear();
    QCheckBox* chk = f.find<QCheckBox>("chkHelp");
    ASSERT_TRUE(chk->isChecked());

    chk->click();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("ヘルプツアー機能をオフにします。"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("ヘルプツアーＯＦＦ"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(f.folder.readCp932("設定.txt"), "\"ヘルプツアー\",0\r\n");
    EXPECT_EQ(f.window->context().helpTourFlag, 0);

    // Off: switching explains nothing.
    f.click("cmdMain");
    EXPECT_EQ(f.dialogs.shown.size(), 1u);

    chk->click();
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].text, qs("ヘルプツアー機能をオンにします。"));
    EXPECT_EQ(f.dialogs.shown[1].title, qs("ヘルプツアーＯＮ"));
    EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Information);
    // Label in quotes, a comma and the flag; CP932 bytes, CR LF.
    EXPECT_EQ(f.folder.readBytes("設定.txt"),
              "\"\x83\x77\x83\x8b\x83\x76\x83\x63\x83\x41\x81\x5b\",1\r\n");
    EXPECT_EQ(f.window->context().helpTourFlag, 1);

    // The change shows no box for the screen in view; the next switch does.
    f.click("cmdSettei");
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[2].text.toStdString(), shell::screenHelpText(Screen::Settings));
}

TEST(ShellHelpTour, CheckBoxDuringStartUpIsIgnored) {
    ShellFixture f;
    f.writeCouple(0);
    gui::shell::MainWindow& w = f.start();
    const std::string before = f.folder.readBytes("設定.txt");

    w.context().startupInProgress = true;
    f.find<QCheckBox>("chkHelp")->setChecked(true);
    w.context().startupInProgress = false;

    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.folder.readBytes("設定.txt"), before);
    EXPECT_EQ(w.context().helpTourFlag, 0);
}

TEST(ShellHelpTour, FailedFlagWriteWarnsAndKeepsTheFile) {
    ShellFixture f;
    f.writeCouple(1);
    f.start();
    f.dialogs.shown.clear();
    const std::string before = f.folder.readBytes("設定.txt");

    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Write});
        f.find<QCheckBox>("chkHelp")->click();
    }

    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("ヘルプツアーＯＦＦ"));
    EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(f.folder.readBytes("設定.txt"), before);
    EXPECT_EQ(f.folder.fileNames().size(), 4u);  // no temporary file left behind
}

}  // namespace
}  // namespace pairly::testing
