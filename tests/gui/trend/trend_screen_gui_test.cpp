#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <cstdlib>

#include "core/text/numbers.h"
#include "gui_support/trend_screens_fixture.h"
#include "support/faults.h"

namespace pairly::testing {
namespace {

using gui::widgets::Axis;

const std::string kFiveWeighings = weighing("2004/03/28", "65.3", "25.5", "1376,9,40.5,2,2.5") +
                                   weighing("2004/04/02", "64", "25.1", "1523,8,41.2,3,2.8") +
                                   weighing("2004/04/10", "62.8", "24.8", "1400,8,40.01,2,2.6") +
                                   weighing("2004/04/20", "63.5", "24.9", "1410,8,40.3,2,2.7") +
                                   weighing("2004/05/01", "63.1", "24.6", "1390,8,40.2,2,2.6");

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

TEST_F(TrendScreensTest, OpensWithTheWeightChartInFront) {
    writeLog(kFiveWeighings);
    openTrend();
    EXPECT_EQ(text("lblNichis"), qs("2004/03/28 ( 65.3Kg ) でスタート ～ 2004/05/01 ( 63.1Kg ) "
                                    "まで 34日経過 _ 2.2Kg 減"));
    EXPECT_EQ(text("lblKiro"), qs("最小記録 2004/04/10 の 62.8Kg   初日から 2.5Kg 減"));
    EXPECT_EQ(text("cmdMokuChk"), qs("目標まで残り　3.1Kg"));

    gui::widgets::Chart& c = chart("mcrRentai");
    ASSERT_EQ(c.pointCount(), 5);
    EXPECT_EQ(series("mcrRentai", 1), (QStringList{"65.3", "64", "62.8", "63.5", "63.1"}));
    EXPECT_EQ(series("mcrRentai", 3), (QStringList{"25.5", "25.1", "24.8", "24.9", "24.6"}));
    // Three weighings to an average: the line starts at the third.
    const QStringList average = series("mcrRentai", 2);
    EXPECT_EQ(average[0], "");
    EXPECT_EQ(average[1], "");
    EXPECT_NEAR(average[2].toDouble(), (65.3 + 64 + 62.8) / 3, 1e-5);
    EXPECT_EQ(c.seriesAxis(3), Axis::Right);
    EXPECT_EQ(c.axisMinimum(Axis::Left), 62);
    EXPECT_EQ(c.axisMaximum(Axis::Left), 66);
    EXPECT_EQ(c.axisMinimum(Axis::Right), 20);
    EXPECT_EQ(c.axisMaximum(Axis::Right), 29);

    // The weight view: weight and average on the left axis, body fat hidden.
    EXPECT_TRUE(find<QRadioButton>("optTai1")->isChecked());
    EXPECT_TRUE(c.isAxisVisible(Axis::Left));
    EXPECT_FALSE(c.isAxisVisible(Axis::Right));
    EXPECT_TRUE(c.isSeriesVisible(1) && c.isSeriesVisible(2));
    EXPECT_FALSE(c.isSeriesVisible(3));
    for (const char* metric : {"mcrRentai2", "mcrRentai3", "mcrRentai4"})
        EXPECT_FALSE(shown(metric));
    EXPECT_EQ(text("lblG11"), "");
    EXPECT_EQ(text("lblG12"), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TrendScreensTest, GoalModeAndViewOptions) {
    writeLog(kFiveWeighings);
    openTrend();
    gui::widgets::Chart& c = chart("mcrRentai");
    const QColor face = find<QPushButton>("cmdMokuChk")->palette().color(QPalette::Button);

    find<QPushButton>("cmdMokuChk")->click();
    EXPECT_TRUE(trend->goalMode());
    EXPECT_EQ(c.axisMinimum(Axis::Left), 60);
    EXPECT_EQ(c.axisMaximum(Axis::Left), 66);
    EXPECT_EQ(find<QPushButton>("cmdMokuChk")->palette().color(QPalette::Button),
              QColor(255, 224, 192));
    find<QPushButton>("cmdMokuChk")->click();
    EXPECT_EQ(c.axisMinimum(Axis::Left), 62);
    EXPECT_EQ(find<QPushButton>("cmdMokuChk")->palette().color(QPalette::Button), face);

    const struct {
        const char* option;
        bool left, right, weight, fat;
        const char* legend;  // the captions of what is drawn, and only those
    } views[] = {{"optShi1", false, true, false, true, "体脂肪率"},
                 {"optKon1", true, true, true, true, "体重移動平均体脂肪率（右軸）"},
                 {"optTai1", true, false, true, false, "体重移動平均"}};
    for (const auto& v : views) {
        find<QRadioButton>(v.option)->click();
        EXPECT_EQ(c.isAxisVisible(Axis::Left), v.left) << v.option;
        EXPECT_EQ(c.isAxisVisible(Axis::Right), v.right) << v.option;
        EXPECT_EQ(c.isSeriesVisible(1), v.weight) << v.option;
        EXPECT_EQ(c.isSeriesVisible(2), v.weight) << v.option;
        EXPECT_EQ(c.isSeriesVisible(3), v.fat) << v.option;
        EXPECT_EQ(find<QLabel>("lblRentaiLegend")
                      ->text()
                      .remove(QRegularExpression("<[^>]*>|━|- - -|&nbsp;| ")),
                  qs(v.legend));
    }

    // Opening again selects the weight view and keeps the goal mode, re-applied after
    // the rebuild put the lower bound back to the lowest weight.
    find<QRadioButton>("optShi1")->click();
    find<QPushButton>("cmdMokuChk")->click();
    openTrend();
    EXPECT_TRUE(find<QRadioButton>("optTai1")->isChecked());
    EXPECT_FALSE(c.isSeriesVisible(3));
    EXPECT_EQ(c.axisMinimum(Axis::Left), 60);
    EXPECT_EQ(find<QPushButton>("cmdMokuChk")->palette().color(QPalette::Button),
              QColor(255, 224, 192));
}

TEST_F(TrendScreensTest, MetricChartsAreRebuiltFromTheLogOnEachPress) {
    writeLog(kFiveWeighings);
    openTrend();
    const struct {
        const char* button;
        const char* chart;
        const char* legend1;
        const char* legend2;
        double minimum, maximum;
        int divisions;
    } cases[] = {{"cmdTaisya", "mcrRentai2", "基礎代謝", "内臓脂肪", 1360, 1530, 10},
                 {"cmdKinr", "mcrRentai3", "筋肉量", "筋肉スコア", 40, 42, 10},
                 {"cmdKotur", "mcrRentai4", "骨量", "", 2.4, 2.9, 5}};
    for (const auto& m : cases) {
        find<QPushButton>(m.button)->click();
        for (const char* other : {"mcrRentai2", "mcrRentai3", "mcrRentai4"})
            EXPECT_EQ(shown(other), std::string(other) == m.chart) << m.button;
        gui::widgets::Chart& c = chart(m.chart);
        EXPECT_EQ(c.pointCount(), 5);
        EXPECT_NEAR(c.axisMinimum(Axis::Left), m.minimum, 1e-6) << m.button;
        EXPECT_NEAR(c.axisMaximum(Axis::Left), m.maximum, 1e-6) << m.button;
        EXPECT_EQ(c.axisDivisions(Axis::Left), m.divisions) << m.button;
        EXPECT_EQ(text("lblG11"), qs(m.legend1));
        EXPECT_EQ(text("lblG12"), qs(m.legend2));
    }
    EXPECT_EQ(series("mcrRentai2", 1), (QStringList{"1376", "1523", "1400", "1410", "1390"}));
    EXPECT_EQ(series("mcrRentai3", 2), (QStringList{"2", "3", "2", "2", "2"}));

    // A weighing saved meanwhile shows on the next press.
    writeLog(kFiveWeighings + weighing("2004/05/02", "63", "24.5", "1391,8,40.2,2,3.4"));
    find<QPushButton>("cmdKotur")->click();
    EXPECT_EQ(chart("mcrRentai4").pointCount(), 6);
    EXPECT_NEAR(chart("mcrRentai4").axisMaximum(Axis::Left), 3.5, 1e-6);

    find<QPushButton>("cmdTai")->click();
    for (const char* metric : {"mcrRentai2", "mcrRentai3", "mcrRentai4"})
        EXPECT_FALSE(shown(metric));
    EXPECT_TRUE(shown("mcrRentai"));
    EXPECT_EQ(text("lblG11"), "");
}

TEST_F(TrendScreensTest, MovingAverageCountPickedTypedOrRefused) {
    writeLog(kFiveWeighings);
    openTrend();
    EXPECT_EQ(find<QComboBox>("cboIdou")->count(), 30);

    pickCount(4);  // "5"
    EXPECT_EQ(series("mcrRentai", 2).indexOf(QRegularExpression(".+")), 4);
    EXPECT_EQ(countFile(), "5\r\n");

    // 2.5 averages over two weighings; box and file keep the number typed.
    typeCount("2.5");
    const QStringList two = series("mcrRentai", 2);
    EXPECT_EQ(two[0], "");
    EXPECT_EQ(two[1].toStdString(), text::doubleText((65.3f + 64.0f) / 2.0));
    EXPECT_EQ(find<QComboBox>("cboIdou")->currentText(), "2.5");
    EXPECT_EQ(countFile(), "2.5\r\n");
    EXPECT_TRUE(dialogs.shown.empty());

    // Below 1, beyond 16 bits or not a number and nothing else: refused, naming the field
    // and its range, the box cleared, nothing written.
    for (const char* refused : {"0", "-3", "0.5", "40000", "abc", "10kg", "1e3", "2 0"}) {
        dialogs.shown.clear();
        typeCount(refused);
        EXPECT_EQ(find<QComboBox>("cboIdou")->currentText(), "") << refused;
        ASSERT_EQ(dialogs.shown.size(), 1u) << refused;
        EXPECT_EQ(dialogs.shown[0].text, qs("移動平均の回数は1～32767の数値で入力してください"));
        EXPECT_EQ(dialogs.shown[0].title, qs("移動平均の回数入力エラー"));
        EXPECT_EQ(dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_EQ(countFile(), "2.5\r\n");
        EXPECT_EQ(series("mcrRentai", 2), two) << refused;
    }

    // Enter in an empty box does nothing at all.
    dialogs.shown.clear();
    typeCount("");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(countFile(), "2.5\r\n");

    // Full-width digits and blanks around are the plain number in the box and the file.
    for (const auto& [typed, stored] : {std::pair{"３", "3"}, std::pair{" 4 ", "4"}}) {
        typeCount(qs(typed));
        EXPECT_TRUE(dialogs.shown.empty()) << typed;
        EXPECT_EQ(find<QComboBox>("cboIdou")->currentText(), stored) << typed;
        EXPECT_EQ(countFile(), std::string(stored) + "\r\n") << typed;
        EXPECT_EQ(series("mcrRentai", 2).indexOf(QRegularExpression(".+")), std::atoi(stored) - 1)
            << typed;
    }
}

// Enter is taken by a filter on the box; what it starts (a redraw, a file write, maybe a
// box) runs from the event loop afterwards, never inside the key's delivery.
TEST_F(TrendScreensTest, EnterInTheCountBoxSpinsNoEventLoopInsideTheFilter) {
    writeLog(kFiveWeighings);
    openTrend();
    for (const char* typed : {"3", "abc"}) {
        for (bool toField : {true, false}) {
            bool ranInside = false;
            QMetaObject::invokeMethod(
                qApp, [&] { ranInside = true; }, Qt::QueuedConnection);
            auto* combo = find<QComboBox>("cboIdou");
            combo->lineEdit()->setText(qs(typed));
            QWidget* target = toField ? static_cast<QWidget*>(combo->lineEdit()) : combo;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
            QApplication::sendEvent(target, &press);
            EXPECT_FALSE(ranInside) << typed << " " << toField;
            QApplication::processEvents();
            EXPECT_TRUE(ranInside);
        }
    }
    EXPECT_EQ(countFile(), "3\r\n");
    EXPECT_EQ(dialogs.shown.size(), 2u);  // "abc" refused once per target
}

TEST_F(TrendScreensTest, CountThatCannotBeSavedIsReportedOnce) {
    writeLog(kFiveWeighings);
    folder.writeCp932("移動平均.txt", "3\r\n");
    openTrend();
    for (bool toField : {true, false}) {
        dialogs.shown.clear();
        {
            auto faults = InjectFaults::always();
            // "4" is also a list item: Enter must not count as a pick as well.
            typeCount("4", toField);
        }
        ASSERT_EQ(dialogs.shown.size(), 1u) << toField;
    }
    EXPECT_EQ(dialogs.shown[0].title, qs("保存エラー"));
    EXPECT_EQ(dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(countFile(), "3\r\n");
    EXPECT_EQ(folder.fileNames().size(), 2u);  // no temporary file left behind
    // The chart already shows the new count; the box keeps it.
    EXPECT_EQ(series("mcrRentai", 2).indexOf(QRegularExpression(".+")), 3);
    EXPECT_EQ(find<QComboBox>("cboIdou")->currentText(), "4");
}

TEST_F(TrendScreensTest, EmptyOrUnreadableLog) {
    openTrend();  // no log at all
    EXPECT_EQ(chart("mcrRentai").pointCount(), 0);
    for (const char* name : {"lblNichis", "lblKiro", "cmdMokuChk"})
        EXPECT_EQ(text(name), "") << name;
    find<QPushButton>("cmdMokuChk")->click();
    EXPECT_EQ(chart("mcrRentai").axisMinimum(Axis::Left), 60);
    find<QPushButton>("cmdKotur")->click();
    EXPECT_EQ(chart("mcrRentai4").pointCount(), 0);
    typeCount("5");
    EXPECT_TRUE(dialogs.shown.empty());

    writeLog(kFiveWeighings);
    {
        auto faults = InjectFaults::always({disk::fileops::Op::Read});
        openTrend();
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, qs("読み込みエラー"));
    EXPECT_EQ(folder.readCp932("データ1.txt"), kFiveWeighings);
}

}  // namespace
}  // namespace pairly::testing
