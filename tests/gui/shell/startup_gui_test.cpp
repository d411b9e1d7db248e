// Start-up, partner selection and quitting of the main window.
#include <gtest/gtest.h>

#include <QTextBrowser>

#include "gui/widgets/help_viewer.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

using shell::Screen;

const QColor kSelected(255, 255, 240);

const char* const kPanels[] = {"fraMain", "fraTaijyu", "fraAvgTai", "fraBunseki",
                               "fraCale", "fraMemo",   "fraRenTai", "fraSettei"};

// Names of the panels that are not hidden.
QStringList shownPanels(const ShellFixture& f) {
    QStringList shown;
    for (const char* name : kPanels) {
        QWidget* panel = f.find<QWidget>(name);
        EXPECT_NE(panel, nullptr) << name;
        if (panel && !panel->isHidden()) shown << QString::fromLatin1(name);
    }
    return shown;
}

TEST(ShellStartUp, SelectsPartnerOneAndShowsTheComparisonScreen) {
    ShellFixture f;
    f.writeCouple();
    const auto filesBefore = f.folder.fileNames();
    const std::string flagBefore = f.folder.readBytes("設定.txt");

    gui::shell::MainWindow& w = f.start();

    EXPECT_EQ(f.find("cmdUser1")->text(), qs("はなこ"));
    EXPECT_EQ(f.find("cmdUser2")->text(), qs("たろう"));
    EXPECT_EQ(f.buttonColour("cmdUser1"), kSelected);
    EXPECT_EQ(f.buttonColour("cmdUser2"), ShellFixture::defaultColour());
    EXPECT_EQ(w.windowTitle(), qs(" はなこ のデータ"));
    EXPECT_EQ(shownPanels(f), QStringList{"fraAvgTai"});
    EXPECT_TRUE(w.isVisible());

    const gui::common::AppContext& ctx = w.context();
    EXPECT_EQ(ctx.currentSlot, 1);
    EXPECT_EQ(ctx.profile().nickname, "はなこ");
    EXPECT_FLOAT_EQ(ctx.profile().heightCm, 158.5f);
    EXPECT_FLOAT_EQ(ctx.profileOf(1).targetWeightKg, 50.f);
    EXPECT_FLOAT_EQ(ctx.profileOf(2).targetWeightKg, 65.f);
    EXPECT_EQ(ctx.profileOf(2).nickname, "たろう");
    EXPECT_FALSE(ctx.startupInProgress);
    EXPECT_EQ(ctx.helpTourFlag, 0);

    // The splash stayed up for more than 1.5 s of the clock.
    EXPECT_GT(f.clock.monotonicMs(), 1500);
    // Tour off: no box at all; nothing written.
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.folder.fileNames(), filesBefore);
    EXPECT_EQ(f.folder.readBytes("設定.txt"), flagBefore);
    EXPECT_FALSE(f.find<QCheckBox>("chkHelp")->isChecked());
}

TEST(ShellStartUp, EmptyNicknameGivesTheProgramTitle) {
    ShellFixture f;
    f.writeCouple();
    f.writeProfile(1, "", "160", "55");
    gui::shell::MainWindow& w = f.start();
    EXPECT_EQ(w.windowTitle(), qs(" ペアリー☆ログ"));
    EXPECT_FALSE(f.find("cmdUser1")->text().isEmpty());  // still something to press
    EXPECT_EQ(f.find("cmdUser1")->text(), qs("パートナー１"));
    EXPECT_EQ(w.context().profileOf(1).nickname, "");
}

TEST(ShellStartUp, FirstRunInAnEmptyFolderWritesOnlyTheSituationList) {
    ShellFixture f;
    gui::shell::MainWindow& w = f.start();

    EXPECT_EQ(f.folder.fileNames(), std::vector<std::string>{"状況リスト.txt"});
    EXPECT_FALSE(f.folder.readBytes("状況リスト.txt").empty());
    EXPECT_EQ(w.windowTitle(), qs(" ペアリー☆ログ"));
    EXPECT_EQ(f.buttonColour("cmdUser1"), kSelected);
    // The couple begins by entering themselves.
    EXPECT_EQ(shownPanels(f), QStringList{"fraSettei"});
    EXPECT_TRUE(f.find<QWidget>("fraNew")->isVisible());
    // No error box: the welcome tour, which is on until switched off, then the new start's
    // opening message.
    for (const auto& box : f.dialogs.shown)
        EXPECT_EQ(box.icon, gui::widgets::Icon::Information) << box.text.toStdString();
    ASSERT_EQ(f.dialogs.shown.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(f.dialogs.shown[i].title, qs("ヘルプツアー"));
    EXPECT_EQ(f.dialogs.shown[3].title, qs("データを登録しましょう"));
}

TEST(ShellStartUp, TourBoxesFollowTheStoredFlag) {
    {
        ShellFixture f;
        f.writeCouple(1);
        f.start();
        ASSERT_EQ(f.dialogs.shown.size(), 3u);
        EXPECT_TRUE(f.dialogs.shown[0].text.startsWith(
            qs("ペアリー☆ログに興味をもっていただきありがとうございます。(^o^)／\n\n")));
        EXPECT_TRUE(f.dialogs.shown[0].text.contains(qs("継続を促します。 \n\n一人では")));
        EXPECT_EQ(
            f.dialogs.shown[1].text,
            qs("入力欄左隣の各種見出しラベルをクリックすると表示データを切り替えられます。\n\n"));
        EXPECT_TRUE(f.dialogs.shown[2].text.startsWith(
            qs("＜登録が億劫にならず長続きするためのワンポイント＞\n\n")));
        EXPECT_TRUE(f.dialogs.shown[2].text.endsWith(qs("大きく変動しないようですので。\n")));
        for (const auto& box : f.dialogs.shown) {
            EXPECT_EQ(box.title, qs("ヘルプツアー"));
            EXPECT_EQ(box.icon, gui::widgets::Icon::Information);
            EXPECT_EQ(box.buttons, gui::widgets::Buttons::Ok);
        }
        // Checked from the flag without the on message and without touching the file.
        EXPECT_TRUE(f.find<QCheckBox>("chkHelp")->isChecked());
        EXPECT_EQ(f.folder.readCp932("設定.txt"), "\"ヘルプツアー\",1\r\n");
    }
    {
        ShellFixture f;
        f.writeCouple(0);
        f.start();
        EXPECT_TRUE(f.dialogs.shown.empty());
    }
}

TEST(ShellPartners, SwitchingChangesColoursTitleAndProfile) {
    ShellFixture f;
    f.writeCouple();
    gui::shell::MainWindow& w = f.start();

    f.click("cmdUser2");
    EXPECT_EQ(f.buttonColour("cmdUser2"), kSelected);
    EXPECT_EQ(f.buttonColour("cmdUser1"), ShellFixture::defaultColour());
    EXPECT_EQ(w.windowTitle(), qs(" たろう のデータ"));
    EXPECT_EQ(w.context().currentSlot, 2);
    EXPECT_FLOAT_EQ(w.context().profile().heightCm, 172.f);
    EXPECT_FLOAT_EQ(w.context().profile().targetWeightKg, 65.f);
    // The comparison screen shows both partners: it stays as it is.
    EXPECT_EQ(shownPanels(f), QStringList{"fraAvgTai"});

    // Clicking the selected partner again does nothing: a changed profile is not re-read.
    f.writeProfile(2, "じろう", "180", "70");
    f.click("cmdUser2");
    EXPECT_EQ(w.windowTitle(), qs(" たろう のデータ"));
    EXPECT_FLOAT_EQ(w.context().profile().heightCm, 172.f);

    f.click("cmdUser1");
    EXPECT_EQ(f.buttonColour("cmdUser1"), kSelected);
    EXPECT_EQ(f.buttonColour("cmdUser2"), ShellFixture::defaultColour());
    EXPECT_EQ(w.windowTitle(), qs(" はなこ のデータ"));
    EXPECT_EQ(w.context().currentSlot, 1);
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(ShellPartners, TheVisibleScreenStaysVisibleAcrossAPartnerChange) {
    ShellFixture f;
    f.writeCouple();
    f.start();
    for (const char* button : {"cmdMain", "cmdSettei", "cmdTaijyu", "cmdRentai"}) {
        f.click(button);
        const QStringList before = shownPanels(f);
        ASSERT_EQ(before.size(), 1);
        f.click(f.window->context().currentSlot == 1 ? "cmdUser2" : "cmdUser1");
        EXPECT_EQ(shownPanels(f), before) << button;
    }
}

TEST(ShellPartners, FocusGoesToTheSelectedPartnerButton) {
    ShellFixture f;
    f.writeCouple();
    gui::shell::MainWindow& w = f.start();
    w.activateWindow();
    f.click("cmdUser2");
    ASSERT_TRUE(w.context().focusActivePartnerButton);
    w.context().focusActivePartnerButton();
    EXPECT_EQ(QApplication::focusWidget(), f.find("cmdUser2"));
}

TEST(ShellQuit, QuitClosesHelpAndEndsTheProgram) {
    ShellFixture f;
    f.writeCouple();
    gui::shell::MainWindow& w = f.start();
    bool ended = false;
    QObject::connect(&w, &gui::shell::MainWindow::programEnded, [&] { ended = true; });

    f.click("cmdHelp");
    gui::widgets::HelpViewer* viewer = w.helpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->parentWidget(), &w);

    f.click("cmdOwari");
    EXPECT_TRUE(ended);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(viewer->isVisible());
}

TEST(ShellQuit, ClosingTheWindowEndsTheProgram) {
    ShellFixture f;
    f.writeCouple();
    gui::shell::MainWindow& w = f.start();
    bool ended = false;
    QObject::connect(&w, &gui::shell::MainWindow::programEnded, [&] { ended = true; });
    f.click("cmdHelp");
    w.close();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(w.helpViewer()->isVisible());
}

TEST(ShellHelp, HelpDocumentHasASectionPerScreen) {
    ShellFixture f;
    f.writeCouple();
    gui::shell::MainWindow& w = f.start();
    f.click("cmdHelp");
    f.click("cmdHelp");  // a second press reuses the window
    QTextBrowser* browser = w.helpViewer()->browser();
    const QString text = browser->toPlainText();
    ASSERT_FALSE(text.isEmpty());
    for (const char* heading : {"比較", "入力", "範囲指定", "分析リスト", "カレンダー", "一言日記",
                                "全グラフ", "編集", "ヘルプツアー"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading) + "\n")) << heading;
    }
    EXPECT_EQ(w.findChildren<gui::widgets::HelpViewer*>().size(), 1);
}

}  // namespace
}  // namespace pairly::testing
