// The trend and analysis screens inside the main window: menu buttons, partner changes,
// the count read at start-up and the log taken anew on every opening.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "gui/trend/trend_screen.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

std::string line(const char* date, const char* weight) {
    return std::string("\"") + date + "\",\"起床後\"," + weight +
           ",22.5,1400,8,40.5,2,2.6,\"\",\"\"\r\n";
}

void writeLogs(const ShellFixture& f) {
    f.folder.writeCp932("データ1.txt", line("2026/11/01", "55.2") + line("2026/11/02", "54.9") +
                                           line("2026/11/03", "55"));
    f.folder.writeCp932("データ2.txt", line("2026/10/01", "72.4") + line("2026/11/30", "70.1"));
}

TEST(TrendShell, PartnerChangeRedrawsTheVisibleTrendOrAnalysis) {
    ShellFixture f;
    f.writeCouple();  // targets 50 (partner 1) and 65 (partner 2)
    writeLogs(f);
    f.start();

    f.click("cmdRentai");
    auto* chart = f.find<gui::widgets::Chart>("mcrRentai");
    EXPECT_EQ(chart->pointCount(), 3);
    f.click("cmdMokuChk");
    EXPECT_EQ(chart->axisMinimum(gui::widgets::Axis::Left), 50);
    f.click("cmdTaisya");
    EXPECT_FALSE(f.find<QWidget>("mcrRentai2")->isHidden());

    // Partner 2: its weighings, the weight chart in front, the goal mode with its target.
    f.click("cmdUser2");
    EXPECT_FALSE(f.find<QWidget>("fraRenTai")->isHidden());
    EXPECT_EQ(chart->pointCount(), 2);
    EXPECT_TRUE(f.find<QLabel>("lblNichis")->text().startsWith("2026/10/01 ( 72.4Kg )"));
    EXPECT_TRUE(f.find<QWidget>("mcrRentai2")->isHidden());
    EXPECT_EQ(f.find<QLabel>("lblG11")->text(), "");
    EXPECT_EQ(chart->axisMinimum(gui::widgets::Axis::Left), 65);
    EXPECT_EQ(f.buttonColour("cmdMokuChk"), QColor(255, 224, 192));
    EXPECT_EQ(f.find("cmdMokuChk")->text(), qs("目標まで残り　5.1Kg"));

    f.click("cmdBunseki");
    auto* series = f.find<gui::widgets::Grid>("msgB1");
    ASSERT_EQ(series->rowCount(), 2);
    EXPECT_EQ(series->text(2, 2), qs("70.1Kg"));
    f.click("cmdUser1");
    EXPECT_FALSE(f.find<QWidget>("fraBunseki")->isHidden());
    ASSERT_EQ(series->rowCount(), 3);
    EXPECT_EQ(series->text(2, 3), qs("-0.3Kg"));
    // Partner 1 reached no milestone after partner 2's 2.3 kg: no summary left over.
    EXPECT_EQ(f.find<QLabel>("Label5_0")->text(), "");
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(TrendShell, CountFromStartUpAndTheLogTakenAnewOnEveryOpening) {
    ShellFixture f;
    f.writeCouple();
    writeLogs(f);
    f.folder.writeCp932("移動平均.txt", "2\r\n");
    f.start();
    EXPECT_EQ(f.find<QComboBox>("cboIdou")->currentText(), "2");

    // The list read the log on its opening; another window adds a weighing after that.
    f.click("cmdTaijyu");
    f.folder.writeCp932("データ1.txt", line("2026/11/01", "55.2") + line("2026/11/02", "54.9") +
                                           line("2026/11/03", "55") + line("2026/11/04", "54"));
    f.click("cmdRentai");
    auto* chart = f.find<gui::widgets::Chart>("mcrRentai");
    ASSERT_EQ(chart->pointCount(), 4);
    EXPECT_EQ(chart->value(2, 1), "");
    EXPECT_NE(chart->value(2, 2), "");
    EXPECT_TRUE(f.find<QLabel>("lblKiro")->text().contains("2026/11/04"));
    f.click("cmdBunseki");
    EXPECT_EQ(f.find<gui::widgets::Grid>("msgB1")->rowCount(), 4);
    EXPECT_TRUE(f.dialogs.shown.empty());

    // A log that cannot be read: one warning for the opening, and the grids show what
    // could be read (nothing here).
    {
        auto faults = InjectFaults::always({disk::fileops::Op::Read});
        f.click("cmdRentai");
    }
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("読み込みエラー"));
    EXPECT_EQ(chart->pointCount(), 0);
}

}  // namespace
}  // namespace pairly::testing
