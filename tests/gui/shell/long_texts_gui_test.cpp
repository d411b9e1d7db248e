// Nicknames and comments of any length: every screen keeps the window on the screen, a cut
// nickname is whole in its control's tooltip, and a grid draws a long comment from its start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "gui/memo/memo_screen.h"
#include "gui/widgets/elided_text.h"
#include "gui_support/shell_fixture.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

std::string repeated(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

TEST(LongTexts, EveryScreenStaysOnTheScreenAndShowsLongTextsCut) {
    const struct {
        int slot;
        std::string name;  // 3 characters a piece
        bool typed;        // in 編集 rather than in the profile file
        int commentBytes;  // CP932 bytes of the newest weighing's comment
    } cases[] = {
        {2, repeated("長い名", 100), false, 0},
        {2, repeated("長い名", 1000), false, 60 * 1024},
        {1, repeated("ab名", 101) + "x", true, 0},
    };
    for (const auto& c : cases) {
        ShellFixture f;
        writeDiary(f);
        // More characters than a line edit takes unless told otherwise.
        const std::string comment = repeated("a記", c.commentBytes / 3);
        f.folder.writeCp932(
            "データ1.txt",
            diaryLog1() + diaryLine("2026/12/07", "起床後", "60,25,1400,8,45,5,2.8", comment));
        if (!c.typed) f.writeProfile(c.slot, c.name, "172", "65");
        gui::shell::MainWindow& w = f.start();
        w.show();
        if (c.typed) {
            f.click("cmdSettei");
            typeInto(f, "txtPriData", c.name.c_str());
            f.click("cmdPHozon1");
        }
        const QString name = QString::fromStdString(c.name);
        const int screenWidth = QGuiApplication::primaryScreen()->availableSize().width();
        const int width = w.width();
        for (const char* menu : {"cmdMain", "cmdTaijyu", "cmdAvgtai", "cmdBunseki", "cmdCale",
                                 "cmdMemo", "cmdRentai", "cmdSettei", "cmdAvgtai"}) {
            f.click(menu);
            QApplication::processEvents();
            EXPECT_EQ(w.width(), width) << menu << " " << c.name.size();
            EXPECT_LE(w.minimumSizeHint().width(), std::max(screenWidth, 1280)) << menu;
            QWidget* quit = f.find("cmdOwari");
            EXPECT_LT(quit->geometry().right(), quit->parentWidget()->width()) << menu;
        }
        const std::string slot = std::to_string(c.slot);
        for (const std::string& control :
             {"cmdUser" + slot, "lblD" + slot + "_0", "lblShare" + slot}) {
            auto* shown = f.window->findChild<QWidget*>(QString::fromStdString(control));
            EXPECT_EQ(shown->toolTip(), name) << control;
        }
        EXPECT_TRUE(f.find<QLabel>(("lblD" + slot + "_0").c_str())->text().endsWith(QChar(0x2026)));
        EXPECT_TRUE(f.find<QLabel>("lblAvgtaiLegend")->toolTip().contains(name));

        QTabWidget* tabs = openReportTabs(f);
        ASSERT_NE(tabs, nullptr);
        QApplication::processEvents();
        EXPECT_LE(tabs->window()->width(), std::max(screenWidth, 1120));
        EXPECT_TRUE(f.find<QLabel>("lblWeekLegend")->toolTip().contains(name));
        EXPECT_TRUE(f.find<gui::widgets::Grid>("msgWeek")
                        ->headerToolTip(c.slot == 1 ? 1 : 6)
                        .startsWith(name));
        tabs->window()->close();

        // The comment table draws the beginning of the comment; its field edits all of it.
        f.click("cmdMemo");
        gui::widgets::Grid& table = *f.find<gui::widgets::Grid>("msgMemoList");
        const int row = table.rowCount();
        const QString drawn = table.text(row, 7);
        const QString whole = QString::fromStdString(comment);
        const int bound = gui::widgets::kShownTextChars;
        EXPECT_EQ(drawn.toStdString(),
                  (whole.size() > bound ? whole.left(bound) + QChar(0x2026) : whole).toStdString());
        w.memoScreen()->selectCommentRow(row);
        const QString edited = f.find<QLineEdit>("txtMemo")->text();
        EXPECT_TRUE(edited == whole) << edited.size() << " of " << whole.size() << " characters";
    }
}

}  // namespace
}  // namespace pairly::testing
