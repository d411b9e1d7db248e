#pragma once
// The couple comparison screen fraAvgTai, the start screen: the statistics of both
// partners, the share bar, the couple's goal (lblFutari), this week's check-in (fraShukan),
// the daily averages and their graph.
#include <QPointer>
#include <array>

#include "core/comparison/comparison.h"
#include "core/comparison/weekly_checkin.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"
#include "gui/comparison/report_window.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace pairly::gui::widgets {
class Grid;
}  // namespace pairly::gui::widgets
namespace pairly::gui::widgets {
class ElidedLabel;
}  // namespace pairly::gui::widgets

namespace pairly::gui::comparison {

class DailyAverageGraphPanel;
class ShareBar;

class ComparisonScreen : public common::Screen {
    Q_OBJECT
public:
    explicit ComparisonScreen(common::AppContext& ctx, QWidget* parent = nullptr);
    ~ComparisonScreen() override;

    void resetDailyAverageTable();
    // Re-reads both logs and fills statistics, share bar, list and charts.
    void refreshComparisonScreen();
    // Start-up state of the graph options: separate axes, lower bound automatic, actual values.
    void prepareForStartup();

    // cmdReport: the report window with the figures of now, opened once and raised after.
    void openReport();
    // The report window, once opened (for tests).
    ReportWindow* reportWindow() const { return report_.data(); }
    void closeReportWindow();
    // What the report's print button prints with.
    void setReportPrinter(ReportWindow::PagePrinter printer);

    // The figures last shown (for tests and printing).
    const pairly::comparison::ComparisonModel& model() const { return model_; }

protected:
    // What the menu does: the daily-average list's headers, then the whole screen.
    void fill() override;
    bool concerns(const session::Event& event) const override;
    void followShown(const session::Event& event) override;

private:
    void fillStatistics();
    void fillDailyAverageTable();
    QGroupBox* buildCheckInPanel();
    void fillCoupleGoal(const session::SharedLog& log1, const session::SharedLog& log2);
    void fillCheckIn(const pairly::comparison::WeeklyCheckIn& week);

    common::AppContext& ctx_;
    std::array<QLabel*, 8> lblD1_{};
    std::array<QLabel*, 8> lblD2_{};
    std::array<QLabel*, 8> imgD1_{};  // index 0 unused
    std::array<QLabel*, 8> imgD2_{};
    ShareBar* shareBar_;
    // The nicknames over the figures (lblD1_0, lblD2_0) and beside the share bar.
    widgets::ElidedLabel* name1_;
    widgets::ElidedLabel* name2_;
    widgets::ElidedLabel* shareName1_;
    widgets::ElidedLabel* shareName2_;
    widgets::Grid* msgAvgtai_;
    DailyAverageGraphPanel* graph_;
    QPushButton* cmdReport_;
    QLabel* lblFutari_;
    // fraShukan: the week, and per partner the name, the days weighed and the change.
    QLabel* weekDates_;
    std::array<widgets::ElidedLabel*, 2> weekNames_{};
    std::array<QLabel*, 2> weekDays_{};
    std::array<QLabel*, 2> weekChanges_{};
    QLabel* weekStreak_;
    QPointer<ReportWindow> report_;
    ReportWindow::PagePrinter reportPrinter_;
    pairly::comparison::ComparisonModel model_;
};

}  // namespace pairly::gui::comparison
