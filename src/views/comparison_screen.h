#pragma once
// The couple comparison screen fraAvgTai, the start screen.
#include <QWidget>

#include "ui/app_context.h"

namespace pairly::views {

class ComparisonScreen : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonScreen(ui::AppContext& ctx, QWidget* parent = nullptr);

    void resetDailyAverageTable();
    // Re-reads both logs and fills statistics, share bar, list and charts.
    void refreshComparisonScreen();
    // Start-up state of the graph options: separate axes, lower bound automatic, actual values.
    void prepareForStartup();

private:
    ui::AppContext& ctx_;
};

}  // namespace pairly::views
