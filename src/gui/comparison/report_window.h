#pragma once
// The weekly and monthly report frmReport: a window of its own beside the main window, with
// one tab per kind of period, each a grid of both partners' figures and a chart of their
// means. It follows the data: a change of a log or a profile made in this window refills it
// once, on the next turn of the event loop while it is shown, or when it is shown again.
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "core/comparison/period_report.h"
#include "gui/common/app_context.h"
#include "gui/widgets/printing.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace pairly::gui::widgets {
class Chart;
class Grid;
}  // namespace pairly::gui::widgets

namespace pairly::gui::comparison {

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    // Asks `question`, then prints one page drawn by `draw` where prints of `kind` go.
    using PagePrinter =
        std::function<void(const QString& question, const QString& kind, widgets::PageOrientation,
                           const widgets::PageDrawer& draw)>;

    // A window owned by `owner`, closed and deleted with it.
    ReportWindow(common::AppContext& ctx, QWidget* owner);
    ~ReportWindow() override;

    // Without one the print button stays disabled.
    void setPagePrinter(PagePrinter printer);

    // Reads both logs and fills both tabs.
    void refreshReport();
    // cmdReportPrint: the shown tab on one page.
    void printReport();

    // The rows last shown in a tab (for tests).
    const std::vector<pairly::comparison::ReportRow>& rows(
        pairly::comparison::ReportPeriod period) const {
        return tab(period).rows;
    }

    // The page of the shown tab on a device: title, the latest rows that fit, the chart.
    void drawPage(QPainter& painter, const QRectF& page, double dpi) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Tab {
        pairly::comparison::ReportPeriod period = pairly::comparison::ReportPeriod::Week;
        widgets::Grid* grid = nullptr;
        widgets::Chart* chart = nullptr;
        QLabel* legend = nullptr;
        std::vector<pairly::comparison::ReportRow> rows;
    };
    Tab& tab(pairly::comparison::ReportPeriod period) {
        return tabs_[period == pairly::comparison::ReportPeriod::Week ? 0 : 1];
    }
    const Tab& tab(pairly::comparison::ReportPeriod period) const {
        return tabs_[period == pairly::comparison::ReportPeriod::Week ? 0 : 1];
    }
    QWidget* buildTab(Tab& tab, const char* gridName, const char* chartName,
                      const char* legendName);
    void fillTab(Tab& tab);
    void sizeColumns(Tab& tab);
    const Tab& shownTab() const;

    common::AppContext& ctx_;
    QTabWidget* tabWidget_;
    QPushButton* cmdReportPrint_;
    std::array<Tab, 2> tabs_;
    std::array<QString, 2> names_;
    PagePrinter printer_;
    // A change of the data since the last fill.
    bool stale_ = true;
    int listener_ = 0;
};

}  // namespace pairly::gui::comparison
