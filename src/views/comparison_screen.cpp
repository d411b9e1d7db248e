#include "views/comparison_screen.h"

namespace pairly::views {

ComparisonScreen::ComparisonScreen(ui::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName("fraAvgTai");
}

void ComparisonScreen::resetDailyAverageTable() {}
void ComparisonScreen::refreshComparisonScreen() {}
void ComparisonScreen::prepareForStartup() {}

}  // namespace pairly::views
