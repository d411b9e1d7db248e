// The grid and the chart on the largest data a screen hands them: a list of every weighing
// of a maximal log (32,766 rows × 12 columns, change colours in two columns) and a trend
// graph of 32,766 points in three series. Each refill is timed with its first paint.
#include <QList>
#include <QStringList>
#include <cmath>

#include "bench/bench_data.h"
#include "bench/window_timing.h"
#include "core/store/measurement_log.h"
#include "core/text/numbers.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"

namespace pairly::bench {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QList<QStringList> listRows(const std::vector<store::MeasurementRecord>& log) {
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(log.size()));
    int n = 0;
    for (const auto& r : log) {
        rows.append({QString::number(++n), q(r.date), q(r.situation),
                     q(text::formatNumber(r.weight, "0.0Kg")),
                     q(text::formatNumber(r.bodyFat, "0.0")) + "%",
                     QString::number(r.basalMetabolism), QString::number(r.visceralFat),
                     q(text::formatNumber(r.muscleMass, "0.0Kg")), QString::number(r.muscleScore),
                     q(text::formatNumber(r.boneMass, "0.0Kg")),
                     r.weight > 70 ? QStringLiteral("↑") : QStringLiteral("↓"), q(r.comment)});
    }
    return rows;
}

void timeGrid(TimingTable& table, int runs, const std::vector<store::MeasurementRecord>& log) {
    const QList<QStringList> rows = listRows(log);
    gui::widgets::Grid grid;
    grid.setColumns({"回", "日付", "行動", "体重", "体脂肪", "基礎代謝", "脂肪", "筋肉量", "筋ス",
                     "骨量", "差", "コメント"});
    for (int c = 0; c < 12; ++c) {
        grid.setColumnWidthTwips(c, c == 11 ? 3000 : 1000);
        grid.setColumnAlignment(c, c == 1 || c == 2 || c == 11 ? gui::widgets::Align::Left
                                                               : gui::widgets::Align::Right);
    }
    grid.resize(1200, 500);
    grid.show();
    settle();
    const QColor up(255, 192, 192), down(192, 255, 192);
    // One untimed fill first: a screen refills a grid that already holds its rows.
    for (int run = 0; run <= runs; ++run) {
        settle();
        {
            PaintWatch watch(&grid);
            const Stopwatch fill;
            grid.clearRows();
            grid.addRows(rows);
            grid.scrollLastRowToTopIfMoreThan(20);
            finishWithPaint(&grid, watch);
            if (run > 0) table.add("Grid 32,766 rows x 12 columns", fill.elapsed());
        }
        {
            PaintWatch watch(&grid);
            const Stopwatch colours;
            for (int r = 1; r <= grid.rowCount(); ++r)
                grid.setCellColor(r, 10, log[std::size_t(r - 1)].weight > 70 ? up : down);
            finishWithPaint(&grid, watch);
            if (run > 0) table.add("Grid colours of 32,766 cells", colours.elapsed());
        }
    }
}

// Every `gap`-th point missing (0: none), the first `lead` points missing.
chart::Series withGaps(const std::vector<double>& values, int gap, int lead) {
    chart::Series out;
    out.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool missing = int(i) < lead || (gap > 0 && i % std::size_t(gap) == 0);
        out.push_back(missing ? std::nan("") : values[i]);
    }
    return out;
}

void timeChart(TimingTable& table, int runs, const std::vector<store::MeasurementRecord>& log,
               const std::string& name, int gap) {
    std::vector<double> weight, average, fat;
    double sum = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        weight.push_back(std::round(log[i].weight * 10) / 10);
        fat.push_back(std::round(log[i].bodyFat * 10) / 10);
        sum += weight.back();
        if (i >= 10) sum -= weight[i - 10];
        average.push_back(std::round(sum / 10 * 100) / 100);
    }
    const chart::Series s1 = withGaps(weight, gap, 0);
    const chart::Series s2 = withGaps(average, gap, 9);
    const chart::Series s3 = withGaps(fat, gap, 0);

    gui::widgets::Chart chart;
    chart.resize(1200, 500);
    chart.show();
    settle();
    for (int run = 0; run <= runs; ++run) {
        settle();
        PaintWatch watch(&chart);
        const Stopwatch fill;
        chart.setPointCount(0);
        chart.setPointCount(static_cast<int>(s1.size()));
        chart.setSeriesValues(1, s1);
        chart.setSeriesValues(2, s2);
        chart.setSeriesValues(3, s3);
        chart.setSeriesAxis(3, gui::widgets::Axis::Right);
        chart.setAxisRange(gui::widgets::Axis::Left, 60, 90);
        chart.setAxisDivisions(gui::widgets::Axis::Left, 10);
        chart.setAxisRange(gui::widgets::Axis::Right, 15, 35);
        finishWithPaint(&chart, watch);
        if (run > 0) table.add(name, fill.elapsed());
    }
}

}  // namespace

void timeGridAndChart(TimingTable& table, int runs) {
    const auto log = makeLog(1, store::kMaxRecords);
    timeGrid(table, runs, log);
    timeChart(table, runs, log, "Chart 32,766 points x 3 series", 0);
    timeChart(table, runs, log, "Chart 32,766 points x 3 series, every 3rd missing", 3);
}

}  // namespace pairly::bench
