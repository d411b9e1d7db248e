#pragma once
// The trend screen fraRenTai: the weight chart mcrRentai (weight, moving average, body fat
// and, with chkTrend, the smoothed trend) with its period and lowest-weight summaries, the
// goal button and line, the goal forecast with its fan and the stall flag, the situation
// correction (chkHosei, msgHosei), and the three metric charts mcrRentai2..4 laid over it.
//
// The weight series is made from the session's log on every opening and partner change.
// A hidden screen defers drawing the points until it is shown.
#include <array>

#include "core/trend/forecast.h"
#include "core/trend/forecast_chart.h"
#include "core/trend/situation_correction.h"
#include "core/trend/weight_trend.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pairly::gui::widgets {
class Chart;
class Grid;
}  // namespace pairly::gui::widgets

namespace pairly::gui::trend {

enum class TrendChart { Weight, Metabolism, Muscle, Bone };
enum class WeightView { Weight, BodyFat, Mixed };

class TrendScreen : public common::Screen {
    Q_OBJECT
public:
    explicit TrendScreen(common::AppContext& ctx, QWidget* parent = nullptr);

    // Puts the moving-average count read at start-up into cboIdou.
    void prepareForStartup();

    // Takes the selected partner's log, replaces the weight series and the daily trend,
    // sets the weight chart's axes (lower bound Int(minimum weight)), its points, the three
    // texts, the forecast and the correction table. With chkHosei the series, moving
    // average, trend, forecast and axes come from the corrected weights; the texts always
    // from the stored ones.
    void rebuildWeightChart();
    // Redraws the three series from the series in memory with the current count.
    void refillMovingAverage();
    // The menu's steps after hiding the screens: rebuild, weight chart in front, goal
    // mode re-applied, weight view.
    void openTrendScreen();
    void open() override { openTrendScreen(); }

    void showMetricChart(TrendChart chart);
    void toggleGoalMode();
    void setWeightChartView(WeightView view);
    // chkTrend: shows or hides the trend line (computed by the last rebuild).
    void setTrendLineShown(bool shown);
    // cboIdou: an item picked or Enter pressed.
    void acceptMovingAverage();
    // chkHosei: writes the setting, then draws the chart anew; when the file cannot be
    // written the box goes back and nothing changes.
    void setSituationCorrection(bool on);

    const pairly::trend::WeightSeries& weightSeries() const { return series_; }
    bool goalMode() const { return goalMode_; }

protected:
    // After a change of partner while shown: as opening, but the view option stays.
    void fill() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSideColumn();
    void fillWeightChart();
    void applyGoalMode();
    void applyGoalLine();
    void bringWeightChartToFront();
    void syncCountListIndex();
    void fillCorrectionTable(const std::vector<pairly::trend::CorrectionRow>& rows);
    // The legend of the weight chart: an entry for each line drawn.
    void updateWeightLegend();

    common::AppContext& ctx_;
    widgets::Chart* mcrRentai_;
    std::array<widgets::Chart*, 3> metricCharts_{};  // mcrRentai2..4
    QLabel* lblNichis_;
    QLabel* lblKiro_;
    QPushButton* cmdMokuChk_;
    QComboBox* cboIdou_;
    QRadioButton* optTai1_;
    QRadioButton* optShi1_;
    QRadioButton* optKon1_;
    QLabel* lblG11_;
    QLabel* lblG12_;
    QLabel* weightLegend_;
    QCheckBox* chkTrend_;
    QLabel* lblYosoku_;
    QLabel* lblTeitai_;
    QCheckBox* chkHosei_;
    widgets::Grid* msgHosei_;

    pairly::trend::WeightSeries series_;  // as drawn: corrected with chkHosei
    chart::Series trendPoints_;           // the trend of each weighing's day
    pairly::trend::FanSeries fan_;        // empty without a dated forecast
    // What the last fill drew of the moving average and the trend.
    bool averageDrawn_ = false, trendDrawn_ = false;
    WeightView view_ = WeightView::Weight;
    chart::AxisRange leftAxis_;  // as the last rebuild set it, before the goal mode
    bool goalMode_ = false;
    bool pointsPending_ = false;
};

}  // namespace pairly::gui::trend
