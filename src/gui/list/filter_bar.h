#pragma once
// The list screen's filter bar: the period buttons with the two date combo boxes (fraKikan)
// and the weekday buttons (fraWeek). It shows which filter is pressed and holds the
// period texts and the chosen weekday; the screen reacts to the clicks and builds.
#include <QColor>
#include <QWidget>
#include <array>
#include <vector>

#include "core/list/measurement_list.h"

class QComboBox;
class QPushButton;
class QStringListModel;

namespace pairly::gui::list {

class FilterBar : public QWidget {
    Q_OBJECT
public:
    explicit FilterBar(QWidget* parent = nullptr);

    // The back colour of a pressed filter button.
    static const QColor kPressedColour;
    // A command button in the bar's style (also for the screen's other filter buttons).
    static QPushButton* makeFilterButton(const QString& name, const QString& caption,
                                         QWidget* parent);
    static void press(QPushButton* button, bool pressed);

    // The period as typed or set: both combo boxes' texts.
    pairly::list::PeriodTexts periodTexts() const;
    void setPeriodTexts(const pairly::list::PeriodTexts& texts);
    // The dates both combo lists offer; the texts become the first and the last of them.
    void setPeriodDates(const std::vector<pairly::list::Text>& dates);

    int selectedWeekday() const { return selectedWeekday_; }

    // Every period button released; then the one of kPeriodButtons[index] pressed.
    void releasePeriods();
    void pressPeriod(int index);
    // Every weekday button released and `weekday` (0..6 or kAllWeekdays) chosen; then its
    // button pressed.
    void chooseWeekday(int weekday);
    void pressWeekday(int weekday);
    // "全部" pressed for the period and the weekday, nothing else.
    void showAll();

signals:
    void periodClicked(int index);     // index into kPeriodButtons
    void weekdayClicked(int weekday);  // 0..6, or kAllWeekdays for cmdAllWeek

private:
    QPushButton* weekdayButton(int weekday) const;

    int selectedWeekday_ = pairly::list::kAllWeekdays;
    std::array<QPushButton*, 10> periodButtons_{};
    std::array<QPushButton*, 7> weekdayButtons_{};
    QPushButton* cmdAllWeek_ = nullptr;
    QComboBox* cboStdate_ = nullptr;
    QComboBox* cboEddate_ = nullptr;
    QStringListModel* periodDates_ = nullptr;
};

}  // namespace pairly::gui::list
