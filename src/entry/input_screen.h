#pragma once
// The input screen fraMain: entry panel and day view of the selected partner.
#include <QWidget>

#include "ui/app_context.h"

namespace pairly::entry {

class InputScreen : public QWidget {
    Q_OBJECT
public:
    explicit InputScreen(ui::AppContext& ctx, QWidget* parent = nullptr);

    // Start-up preparation: clear lblG1/lblG2, mtvmain to today, grid headers.
    void prepareForStartup();
    void refreshDayView();
    // BMI and obesity labels, formula labels and the meter.
    void refreshBmi();
    // Applies ctx.markerMode to the seven series of the small charts.
    void applyMarkerMode();
    void disableSteppers();
    void selectMixedOption();
    void redrawMainChart();
    // lblUser<slot> with its four pictures; the main window puts it beside cmdUser<slot>.
    QWidget* dayCountWidget(int slot);

private:
    ui::AppContext& ctx_;
    QWidget* dayCount_[2] = {nullptr, nullptr};
};

}  // namespace pairly::entry
