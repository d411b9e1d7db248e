// Every control a screen reader reaches has a name, and every chart reads as a table.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <filesystem>
#include <limits>

#include "gui/shell/main_window.h"
#include "gui/widgets/chart.h"
#include "gui_support/shell_fixture.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

namespace fs = std::filesystem;

const shell::Screen kScreens[] = {
    shell::Screen::Comparison, shell::Screen::Input, shell::Screen::List,  shell::Screen::Analysis,
    shell::Screen::Calendar,   shell::Screen::Memo,  shell::Screen::Trend, shell::Screen::Settings};

bool isControl(QWidget* w) {
    // A view's own scroll bars and headers are read through the view.
    if (qobject_cast<QScrollBar*>(w) || qobject_cast<QHeaderView*>(w)) return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           qobject_cast<QAbstractSlider*>(w) || qobject_cast<QAbstractItemView*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<gui::widgets::Chart*>(w);
}

QString describe(QWidget* w) {
    return (w->objectName().isEmpty() ? QStringLiteral("(unnamed object)") : w->objectName()) +
           " " + w->metaObject()->className();
}

// Controls shown in the window that a screen reader would announce without a name, and
// charts it could not read as a table of their points.
QStringList problems(QWidget* window) {
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || !isControl(w)) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a) {
            out << describe(w) + ": no accessible interface";
            continue;
        }
        if (a->text(QAccessible::Name).trimmed().isEmpty()) out << describe(w) + ": no name";
        auto* chart = qobject_cast<gui::widgets::Chart*>(w);
        if (!chart) continue;
        QAccessibleTableInterface* table = a->tableInterface();
        if (!table) {
            out << describe(w) + ": no table";
            continue;
        }
        int visible = 0;
        for (int s = 1; s <= gui::widgets::Chart::kSeriesCount; ++s)
            visible += chart->isSeriesVisible(s);
        if (table->rowCount() != chart->pointCount() || table->columnCount() != visible)
            out << describe(w) + QStringLiteral(": table %1x%2 for %3 points, %4 series")
                                     .arg(table->rowCount())
                                     .arg(table->columnCount())
                                     .arg(chart->pointCount())
                                     .arg(visible);
        if (!a->text(QAccessible::Description).contains(QStringLiteral("左軸")))
            out << describe(w) + ": no axis limits in the description";
    }
    return out;
}

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path demo = fs::path(PAIRLY_DEMO_DIR);
        for (const auto& entry : fs::directory_iterator(demo))
            fs::copy_file(entry.path(), f.folder.path() / entry.path().filename());
    }
    ShellFixture f;
};

TEST_F(Accessibility, EveryControlHasANameAndEveryChartReadsAsATable) {
    gui::shell::MainWindow& w = f.start();
    w.resize(1366, 768);
    w.show();
    for (shell::Screen screen : kScreens) {
        w.switchToScreen(screen);
        QApplication::processEvents();
        const QStringList found = problems(&w);
        EXPECT_TRUE(found.isEmpty()) << w.screenPanel(screen)->objectName().toStdString() << ":\n"
                                     << found.join('\n').toStdString();
    }
}

TEST_F(Accessibility, TheReportWindowsControlsHaveNamesInBothTabs) {
    gui::shell::MainWindow& w = f.start();
    w.show();
    QTabWidget* tabs = openReportTabs(f);
    ASSERT_NE(tabs, nullptr);
    QWidget* report = tabs->window();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        const QStringList found = problems(report);
        EXPECT_TRUE(found.isEmpty()) << tab << ":\n" << found.join('\n').toStdString();
    }
}

// The table gives the values a chart draws, point by point, and only for the series shown.
TEST_F(Accessibility, AChartsTableHoldsItsPointsAndAxisLimits) {
    gui::widgets::Chart chart;
    chart.setAccessibleName(QStringLiteral("テスト"));
    chart.setPointCount(3);
    const double missing = std::numeric_limits<double>::quiet_NaN();
    chart.setSeriesValues(1, {72.5, missing, 71});
    chart.setSeriesValues(2, {25.1, 24.9, 25});
    chart.setSeriesAxis(2, gui::widgets::Axis::Right);
    chart.setSeriesName(2, QStringLiteral("体脂肪率"));
    chart.setSeriesVisible(3, false);
    chart.setAxisRange(gui::widgets::Axis::Left, 70, 74);
    chart.setAxisRange(gui::widgets::Axis::Right, 20, 30);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(a, nullptr);
    QAccessibleTableInterface* table = a->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Table);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("テスト"));
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("左軸 70～74、右軸 20～30、3点"));
    ASSERT_EQ(table->rowCount(), 3);
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("系列1"));
    EXPECT_EQ(table->columnDescription(1), QStringLiteral("体脂肪率"));
    EXPECT_EQ(table->rowDescription(2), QStringLiteral("3"));
    const struct {
        int row, column;
        const char* text;
    } cells[] = {{0, 0, "72.5"}, {1, 0, ""}, {2, 0, "71"}, {0, 1, "25.1"}, {2, 1, "25"}};
    for (const auto& c : cells) {
        QAccessibleInterface* cell = table->cellAt(c.row, c.column);
        ASSERT_NE(cell, nullptr) << c.row << "," << c.column;
        EXPECT_EQ(cell->text(QAccessible::Name), QString::fromUtf8(c.text))
            << c.row << "," << c.column;
        EXPECT_EQ(cell->tableCellInterface()->rowIndex(), c.row);
    }
    EXPECT_EQ(table->cellAt(3, 0), nullptr);
    EXPECT_EQ(table->cellAt(0, 2), nullptr);

    // A hidden series leaves the table; the right axis goes with the last series on it.
    chart.setSeriesVisible(2, false);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("左軸 70～74、3点"));
}

}  // namespace
}  // namespace pairly::testing
