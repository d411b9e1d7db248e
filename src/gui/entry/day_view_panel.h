#pragma once
// The day view of the input screen: the two day grids, the four small charts with their
// content options and legend captions, the progress labels and the day face.
#include <QWidget>
#include <array>

#include "core/entry/day_view.h"
#include "gui/entry/entry_panel.h"

class QLabel;
class QRadioButton;

namespace pairly::gui::widgets {
class Chart;
class Grid;
}  // namespace pairly::gui::widgets

namespace pairly::gui::entry {

class DayViewPanel : public QWidget {
    Q_OBJECT
public:
    explicit DayViewPanel(QWidget* parent = nullptr);

    // The day face and progress labels, placed by the input screen along its top.
    QWidget* headerRow() const { return header_; }

    // Both grids back to the header row, headers, alignment, widths and font set.
    void resetDayGrids();
    void render(const pairly::entry::DayViewModel& model);
    void showView(DayViewKind view);
    DayViewKind view() const { return view_; }
    void clearLegend();
    // 0 none, 1 circle, 2 ball on series 1 and 2 of weightChart..3 and series 1 of boneChart.
    void applyMarkerMode(int mode);
    void selectMixedOption();
    void redrawMainChart();

signals:
    void mainChartClicked();

private:
    void applyContentOption();
    void renderChart(widgets::Chart* chart, const pairly::entry::DayChart& data, bool rightAxis);

    QWidget* header_ = nullptr;
    std::array<QLabel*, 4> faces_{};  // imgwara, imgniko, imgkana, imgNashi
    QLabel* lblDspNissuu_ = nullptr;
    QLabel* lblDspTai_ = nullptr;
    QLabel* lblDspBmi_ = nullptr;
    QLabel* lblDspHiman_ = nullptr;
    widgets::Grid* msgDayList_ = nullptr;
    widgets::Grid* msgDayList2_ = nullptr;
    std::array<widgets::Chart*, 4>
        charts_{};  // weightChart, metabolismChart, muscleChart, boneChart
    QLabel* lblG1_ = nullptr;
    QLabel* lblG2_ = nullptr;
    QLabel* mainLegend_ = nullptr;  // weightChart's: which line is which
    QRadioButton* optTai_ = nullptr;
    QRadioButton* optShi_ = nullptr;
    QRadioButton* optKon_ = nullptr;
    DayViewKind view_ = DayViewKind::Weight;
};

}  // namespace pairly::gui::entry
