// The session in the window: each log is read once per click that fills screens, the
// partner and menu buttons are exclusive groups, and the window may go in any order.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QStackedWidget>

#include "gui/shell/main_window.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

using shell::kScreenCount;
using shell::Screen;

void writeTwoDiaries(const ShellFixture& f) {
    f.writeCouple(0);
    f.folder.writeCp932("データ1.txt",
                        diaryLine("2026/11/20", "起床後", "62,26,1380,9,44.8,4,2.7") +
                            diaryLine("2026/12/07", "起床後", "61.5,25.5,1390,9,45,4,2.7"));
    f.folder.writeCp932("データ2.txt",
                        diaryLine("2026/12/07", "起床後", "83.7,20,1600,10,55,8,3.1"));
}

TEST(ShellSession, EachLogIsReadAtMostOncePerClick) {
    ShellFixture f;
    writeTwoDiaries(f);
    f.start();
    session::Session& s = f.window->context().session;
    // Start-up fills the input and comparison screens from one reading of each log.
    EXPECT_EQ(s.logReads(1), 1);
    EXPECT_EQ(s.logReads(2), 1);

    // The clicks in order, and the readings of each log each one makes.
    const struct {
        const char* button;
        long log1;
        long log2;
    } clicks[] = {
        {"cmdTaijyu", 1, 0}, {"cmdAvgtai", 1, 1}, {"cmdBunseki", 1, 0}, {"cmdCale", 1, 0},
        {"cmdMemo", 1, 0},   {"cmdRentai", 1, 0},
        // The input screen filled at start-up is still what the meter shows.
        {"cmdSettei", 0, 0},
        // The meter reads the selected partner's log; the hidden input screen waits.
        {"cmdUser2", 0, 1},
        {"cmdMain", 1, 1},   {"cmdUser1", 1, 1},  {"cmdCale", 1, 0},  {"cmdUser2", 0, 1},
        {"cmdRentai", 0, 1}, {"cmdUser1", 1, 0},  {"cmdAvgtai", 1, 1},
        // The comparison shows both partners whoever is selected.
        {"cmdUser2", 0, 0},
        // Selected since start-up changed: the input screen is filled anew.
        {"cmdMain", 1, 1},
    };
    for (const auto& c : clicks) {
        const long before1 = s.logReads(1);
        const long before2 = s.logReads(2);
        f.click(c.button);
        EXPECT_EQ(s.logReads(1) - before1, c.log1) << c.button;
        EXPECT_EQ(s.logReads(2) - before2, c.log2) << c.button;
    }
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(ShellSession, PartnerAndMenuButtonsAreExclusiveChoices) {
    ShellFixture f;
    writeTwoDiaries(f);
    f.start();
    const char* partners[] = {"cmdUser1", "cmdUser2"};
    const char* menu[] = {"cmdMain", "cmdTaijyu", "cmdAvgtai", "cmdBunseki",
                          "cmdCale", "cmdMemo",   "cmdRentai", "cmdSettei"};
    auto checked = [&f](const auto& names) {
        std::vector<std::string> out;
        for (const char* name : names)
            if (f.find(name)->isChecked()) out.push_back(name);
        return out;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(checked(partners), Names{"cmdUser1"});
    EXPECT_EQ(checked(menu), Names{"cmdAvgtai"});

    const struct {
        const char* button;
        Names partner;
        Names screen;
    } steps[] = {
        {"cmdCale", {"cmdUser1"}, {"cmdCale"}},
        {"cmdUser2", {"cmdUser2"}, {"cmdCale"}},
        {"cmdUser2", {"cmdUser2"}, {"cmdCale"}},  // a second click changes nothing
        {"cmdCale", {"cmdUser2"}, {"cmdCale"}},
        {"cmdSettei", {"cmdUser2"}, {"cmdSettei"}},
        {"cmdUser1", {"cmdUser1"}, {"cmdSettei"}},
    };
    for (const auto& step : steps) {
        f.click(step.button);
        EXPECT_EQ(checked(partners), step.partner) << step.button;
        EXPECT_EQ(checked(menu), step.screen) << step.button;
        // The selected partner still shows in its button's colour, the other in the face.
        const int slot = step.partner[0] == "cmdUser1" ? 1 : 2;
        EXPECT_EQ(f.window->context().currentSlot, slot);
        EXPECT_EQ(f.buttonColour(partners[slot - 1]), QColor(255, 255, 240));
        EXPECT_EQ(f.buttonColour(partners[2 - slot]), ShellFixture::defaultColour());
        // Exactly the screen of the checked button is shown.
        Screen visible{};
        ASSERT_TRUE(f.window->visibleScreen(&visible));
        EXPECT_EQ(f.window->screenPanel(visible),
                  f.find<QStackedWidget>("screenArea")->currentWidget());
    }
}

TEST(ShellSession, TheWindowGoesWhicheverScreenGoesFirst) {
    // Deleting one screen (or the top row holding the input screen's day counts) before
    // the window leaves nothing that points to it.
    for (int first = 0; first <= kScreenCount; ++first) {
        SCOPED_TRACE(first);
        ShellFixture f;
        writeTwoDiaries(f);
        f.start();
        f.click("cmdUser2");
        if (first < kScreenCount) {
            delete f.window->screenPanel(static_cast<Screen>(first));
        } else {
            delete f.find<QWidget>("topRow");
        }
        f.window.reset();
    }
}

}  // namespace
}  // namespace pairly::testing
