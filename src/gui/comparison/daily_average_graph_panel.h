#pragma once
// The two-partner daily average graph of the comparison screen: the separate-axes chart
// mcrAvgtai, the same-axis chart mcrAvgtai2, the percent-from-start chart mcrAvgHi and the
// options that steer them.
#include <QWidget>
#include <initializer_list>

#include "core/comparison/daily_average.h"
#include "gui/common/app_context.h"

class QFrame;
class QLabel;
class QRadioButton;

namespace pairly::gui::widgets {
class Chart;
}  // namespace pairly::gui::widgets

namespace pairly::gui::comparison {

// Partner colours shared by the statistics table, the share bar and the charts.
QColor partnerColor(int slot);

// Shows an explanation box of the help tour (one text line per item, each ended by a line
// break) when the tour is on.
void showHelpTourText(common::AppContext& ctx, std::initializer_list<const char*> lines);

class DailyAverageGraphPanel : public QWidget {
    Q_OBJECT
public:
    explicit DailyAverageGraphPanel(common::AppContext& ctx, QWidget* parent = nullptr);

    // New averages after a refresh: the separate axes with automatic lower bounds and the
    // same-axis chart with real values, whatever options are selected.
    void setAverages(const pairly::comparison::DailyAverages& daily, const QString& name1,
                     const QString& name2);
    // Separate axes shown, "下限自動" and "実際の値のまま" selected.
    void prepareForStartup();

    void rebuildSameAxisChart();
    void overlaySameAxisChart();
    void setSeparateLowerBounds(pairly::comparison::LowerBoundMode mode);
    void showSameAxisView();
    void showSeparateAxesView();
    void showPercentView();

    const pairly::comparison::AverageChart& separateChart() const { return separate_; }
    const pairly::comparison::AverageChart& sameAxisChart() const { return same_; }
    const pairly::comparison::AverageChart& percentChart() const { return percent_; }

private:
    void renderSeparate();
    void renderSame(bool overlaid);
    void updateLegend();

    common::AppContext& ctx_;
    widgets::Chart* mcrAvgtai_;
    widgets::Chart* mcrAvgtai2_;
    widgets::Chart* mcrAvgHi_;
    QLabel* legend_;
    QRadioButton* optGra1_;
    QRadioButton* optGra2_;
    QRadioButton* optGra3_;
    QFrame* fraDgr_;
    QFrame* fraDgr2_;
    QRadioButton* optG1_;
    QRadioButton* optG2_;
    QRadioButton* optG3_;
    QRadioButton* optG4_;

    pairly::comparison::AverageChart separate_;
    pairly::comparison::AverageChart same_;
    pairly::comparison::AverageChart percent_;
    int automaticLowerBound1_ = 0, automaticLowerBound2_ = 0;
    QString name1_, name2_;
};

}  // namespace pairly::gui::comparison
