#pragma once
// The analysis screen fraBunseki: four grids msgB1..msgB4 (time series, milestones,
// average trend, band ranking) computed from the selected partner's weight series, made
// anew from the session's log on every opening of this screen.
#include <array>

#include "core/trend/analyses.h"
#include "core/trend/weight_trend.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QGroupBox;
class QLabel;
class QRadioButton;

namespace pairly::gui::widgets {
class Grid;
}  // namespace pairly::gui::widgets

namespace pairly::gui::trend {

class AnalysisScreen : public common::Screen {
    Q_OBJECT
public:
    explicit AnalysisScreen(common::AppContext& ctx, QWidget* parent = nullptr);

    // Start-up state: "前回との差" and "１.０Ｋｇ刻み" selected, grids with headers only.
    void prepareForStartup();
    // Makes the weight series from the log and fills the four analyses; also the refresh
    // after a change of partner.
    void openAnalysisScreen();

    void fillTimeSeries();
    void fillMilestones();
    void fillAverageTrend();
    void fillBandRanking();

protected:
    void fill() override { openAnalysisScreen(); }

private:
    QGroupBox* buildFrame(const char* name, const QString& title, widgets::Grid*& grid,
                          const char* gridName, const QStringList& headers,
                          const std::array<int, 4>& widths, QWidget* side, QLabel* summary);
    const pairly::trend::WeightSeries& series() const;

    common::AppContext& ctx_;
    pairly::trend::WeightSeries series_;
    widgets::Grid* msgB1_ = nullptr;
    widgets::Grid* msgB2_ = nullptr;
    widgets::Grid* msgB3_ = nullptr;
    widgets::Grid* msgB4_ = nullptr;
    QGroupBox* bandFrame_ = nullptr;
    QRadioButton* option1_[2] = {};
    QRadioButton* option2_[2] = {};
    QLabel* label5_[2] = {};
};

}  // namespace pairly::gui::trend
