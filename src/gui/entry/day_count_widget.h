#pragma once
// The day count of one partner, shown beside the partner's button: lblUser<slot> with the
// number of weighings on the selected day and one of four pictures.
#include <QWidget>
#include <array>

#include "core/entry/day_view.h"

class QLabel;

namespace pairly::gui::entry {

class DayCountWidget : public QWidget {
    Q_OBJECT
public:
    explicit DayCountWidget(int slot, QWidget* parent = nullptr);
    void render(const pairly::entry::DayCount& count);

private:
    QLabel* label_ = nullptr;
    std::array<QLabel*, 4> pictures_{};  // imgNon, imgKura, imgNi, imgWarai
};

}  // namespace pairly::gui::entry
