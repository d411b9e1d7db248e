#pragma once
// The measurement list screen fraTaijyu: every weighing of the selected partner, narrowed
// by period, weekday and situation, with the main chart and the small charts.
#include <QColor>
#include <array>
#include <vector>

#include "core/list/measurement_list.h"
#include "core/store/measurement_log.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace pairly::gui::common {
class SituationList;
}  // namespace pairly::gui::common
namespace pairly::gui::widgets {
class Chart;
class Grid;
}  // namespace pairly::gui::widgets

namespace pairly::gui::list {

class FilterBar;
class QtTexts;

class MeasurementListScreen : public common::Screen {
    Q_OBJECT
public:
    // lstAct2 shows `situations`.
    MeasurementListScreen(common::AppContext& ctx, const common::SituationList& situations,
                          QWidget* parent = nullptr);

    // The menu button's preparation: the whole log, weight chart option, the three "全部"
    // buttons pressed, no weekday, small-chart captions cleared.
    void openMeasurementList();
    void open() override { openMeasurementList(); }

    void buildUnfilteredList();
    // Reads the log and runs the filtered build the filter state asks for.
    void dispatchListFilters();

    // Handlers, by control.
    void periodClicked(int index);               // index into kPeriodButtons
    void weekdayClicked(int weekday);            // 0..6, or kAllWeekdays for cmdAllWeek
    void allSituationsClicked();                 // cmdAllact
    void situationPicked(const QString& entry);  // a click in lstAct2
    void keyEntered();                           // Enter in txtKey

    enum class Overlay { Weight, Metabolism, Muscle, Bone };  // cmdTai1, cmdTai2, cmdKin, cmdKotu
    void showOverlay(Overlay overlay);

    int selectedWeekday() const;
    const pairly::list::MeasurementList& model() const { return model_; }

    static const QColor& kPressedColour;

protected:
    // After a change of partner: the whole log of the new partner, "全部" pressed, no
    // weekday; chart option and captions stay.
    void fill() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFilterRow();
    QWidget* buildSideColumn();
    QWidget* buildTables();
    QWidget* buildCharts();

    pairly::list::ListFilters currentFilters() const;
    void runFilteredBuild(const std::vector<store::MeasurementRecord>& log);
    void render();
    void renderTables();
    void renderMainChart(QtTexts& texts);
    void drawVisibleSmallCharts();
    void fillPeriodLists();
    void applySeriesOption();
    void showAllFilters();
    void press(QPushButton* button, bool pressed);

    common::AppContext& ctx_;
    pairly::list::MeasurementList model_;

    FilterBar* filterBar_ = nullptr;
    QPushButton* cmdAllact_ = nullptr;
    QLineEdit* txtKey_ = nullptr;
    QListWidget* lstAct2_ = nullptr;
    QRadioButton* optTai2_ = nullptr;
    QRadioButton* optShi2_ = nullptr;
    QRadioButton* optKon2_ = nullptr;
    QLabel* lblG21_ = nullptr;
    QLabel* lblG22_ = nullptr;
    widgets::Grid* msgBunseki_ = nullptr;
    widgets::Grid* msgBunseki2_ = nullptr;
    widgets::Chart* mcrBunseki_ = nullptr;
    std::array<widgets::Chart*, 3> smallCharts_{};  // basal metabolism, muscle, bone
    std::array<bool, 3> smallChartsDrawn_{};        // with the current model
};

}  // namespace pairly::gui::list
