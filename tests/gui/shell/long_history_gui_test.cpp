// Grids that open on their newest rows, in the real window: a long history fills the view
// down to its last row, a short one stays at its top.
#include <gtest/gtest.h>

#include <QApplication>

#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

// `days` weighings, one a day from 2026/09/01, 0.3 kg less each day.
std::string history(int days, float first) {
    std::string log;
    text::Date day{2026, 9, 1};
    for (int i = 0; i < days; ++i) {
        log += "\"" + text::formatDate(day) + "\",\"起床後\"," + text::floatText(first - 0.3f * i) +
               ",25,1400,8,45.3,5,2.8,\"\",\"\"\r\n";
        day = text::addDays(day, 1);
    }
    return log;
}

struct GridCase {
    const char* menu;  // nullptr: the start screen
    const char* grid;
};
const GridCase kGrids[] = {
    {nullptr, "msgAvgtai"},  {"cmdBunseki", "msgB1"},    {"cmdBunseki", "msgB2"},
    {"cmdBunseki", "msgB3"}, {"cmdMemo", "msgMemoList"},
};

// The newest row ends exactly at the bottom edge of the grid's view.
bool lastRowEndsAtBottomEdge(const gui::widgets::Grid& g) {
    const int last = g.rowCount() - 1;
    return g.rowViewportPosition(last) + g.rowHeight(last) == g.viewport()->height();
}

TEST(LongHistory, GridsOpenOnAFullViewEndingWithTheNewestRow) {
    for (const int days : {60, 5}) {
        ShellFixture f;
        f.writeCouple();
        f.folder.writeCp932("データ1.txt", history(days, 72));
        f.folder.writeCp932("データ2.txt", history(days, 60));
        f.start();
        for (const GridCase& c : kGrids) {
            if (c.menu) f.click(c.menu);
            QApplication::processEvents();
            gui::widgets::Grid& g = *f.find<gui::widgets::Grid>(c.grid);
            ASSERT_GT(g.rowCount(), 0) << c.grid;
            const int fit = g.viewport()->height() / g.rowHeight(0);
            if (g.rowCount() <= fit) {
                // Everything fits: the first row at the top.
                EXPECT_EQ(g.topVisibleRow(), 1) << c.grid << " " << days;
                continue;
            }
            // The newest row is the last one shown, at the bottom edge, and the rows
            // before it fill the view.
            EXPECT_EQ(g.bottomVisibleRow(), g.rowCount()) << c.grid << " " << days;
            EXPECT_TRUE(lastRowEndsAtBottomEdge(g)) << c.grid << " " << days;
            EXPECT_GE(g.bottomVisibleRow() - g.topVisibleRow() + 1, fit) << c.grid << " " << days;
        }
        // The analysis grids show the same after a change of partner.
        f.click("cmdBunseki");
        f.click("cmdUser2");
        QApplication::processEvents();
        if (days == 60) {
            for (const char* name : {"msgB1", "msgB2", "msgB3"}) {
                gui::widgets::Grid& g = *f.find<gui::widgets::Grid>(name);
                EXPECT_EQ(g.bottomVisibleRow(), g.rowCount()) << name;
                EXPECT_TRUE(lastRowEndsAtBottomEdge(g)) << name;
            }
        }
    }
}

}  // namespace
}  // namespace pairly::testing
