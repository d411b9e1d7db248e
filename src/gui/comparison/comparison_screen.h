#pragma once
// The couple comparison screen fraAvgTai, the start screen.
#include <QPointer>
#include <QWidget>
#include <array>

#include "gui/common/app_context.h"
#include "core/comparison/comparison.h"
#include "gui/comparison/report_window.h"

class QLabel;
class QPushButton;

namespace pairly::ui {
class Grid;
}
namespace pairly::gui::widgets {
class ElidedLabel;
}

namespace pairly::views {

class DailyAverageGraphPanel;
class ShareBar;

class ComparisonScreen : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonScreen(ui::AppContext& ctx, QWidget* parent = nullptr);
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
    const ComparisonModel& model() const { return model_; }

private:
    void fillStatistics();
    void fillDailyAverageTable();

    ui::AppContext& ctx_;
    std::array<QLabel*, 8> lblD1_{};
    std::array<QLabel*, 8> lblD2_{};
    std::array<QLabel*, 8> imgD1_{};  // index 0 unused
    std::array<QLabel*, 8> imgD2_{};
    ShareBar* shareBar_;
    // The nicknames over the figures (lblD1_0, lblD2_0) and beside the share bar.
    gui::widgets::ElidedLabel* name1_;
    gui::widgets::ElidedLabel* name2_;
    gui::widgets::ElidedLabel* shareName1_;
    gui::widgets::ElidedLabel* shareName2_;
    ui::Grid* msgAvgtai_;
    DailyAverageGraphPanel* graph_;
    QPushButton* cmdReport_;
    QPointer<ReportWindow> report_;
    ReportWindow::PagePrinter reportPrinter_;
    ComparisonModel model_;
};

}  // namespace pairly::views
