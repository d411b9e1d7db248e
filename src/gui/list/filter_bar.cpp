#include "gui/list/filter_bar.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>

#include "gui/widgets/back_colour.h"
#include "gui/widgets/push_button.h"
#include "gui/widgets/text.h"

namespace pairly::gui::list {

const QColor FilterBar::kPressedColour(255, 255, 192);

namespace {

using widgets::q;

}  // namespace

QPushButton* FilterBar::makeFilterButton(const QString& name, const QString& caption,
                                         QWidget* parent) {
    QPushButton* button = widgets::makeFittedButton(name, caption, parent, 16);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void FilterBar::press(QPushButton* button, bool pressed) {
    widgets::setBackColour(button, pressed ? kPressedColour : QColor());
}

FilterBar::FilterBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* period = new QGroupBox(QStringLiteral("期間"), this);
    period->setObjectName("fraKikan");
    auto* periodRow = new QHBoxLayout(period);
    periodRow->setSpacing(3);
    for (std::size_t i = 0; i < pairly::list::kPeriodButtons.size(); ++i) {
        const pairly::list::PeriodButton& b = pairly::list::kPeriodButtons[i];
        QPushButton* button = makeFilterButton(q(b.name), q(b.caption), period);
        periodButtons_[i] = button;
        const int index = static_cast<int>(i);
        connect(button, &QPushButton::clicked, this, [this, index] { emit periodClicked(index); });
        if (b.kind == pairly::list::PeriodKind::Typed) {
            // "任意" goes after the two combo boxes it reads.
            periodRow->addSpacing(8);
            periodRow->addWidget(cboStdate_ = new QComboBox(period));
            auto* tilde = new QLabel(QStringLiteral("～"), period);
            tilde->setObjectName("lblKikan");
            periodRow->addWidget(tilde);
            periodRow->addWidget(cboEddate_ = new QComboBox(period));
        }
        periodRow->addWidget(button);
    }
    periodDates_ = new QStringListModel(this);
    cboStdate_->setObjectName("cboStdate");
    cboEddate_->setObjectName("cboEddate");
    for (QComboBox* combo : {cboStdate_, cboEddate_}) {
        combo->setEditable(true);
        combo->setAccessibleName(combo == cboStdate_ ? QStringLiteral("期間の始め")
                                                     : QStringLiteral("期間の終わり"));
        combo->lineEdit()->setAccessibleName(combo->accessibleName());
        combo->setInsertPolicy(QComboBox::NoInsert);  // a typed period is not a log date
        combo->setModel(periodDates_);
        // Sizing by contents would measure every date of a long log.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(10);
        combo->setMaxVisibleItems(20);
        if (auto* view = qobject_cast<QListView*>(combo->view())) view->setUniformItemSizes(true);
    }

    auto* weekdays = new QGroupBox(QStringLiteral("曜日"), this);
    weekdays->setObjectName("fraWeek");
    auto* weekRow = new QHBoxLayout(weekdays);
    weekRow->setSpacing(3);
    for (int i = 0; i < 7; ++i) {
        QPushButton* button =
            makeFilterButton(QString("cmdWeek_%1").arg(i),
                             q(pairly::list::kWeekdayNames[static_cast<std::size_t>(i)]), weekdays);
        weekdayButtons_[static_cast<std::size_t>(i)] = button;
        connect(button, &QPushButton::clicked, this, [this, i] { emit weekdayClicked(i); });
        weekRow->addWidget(button);
    }
    cmdAllWeek_ = makeFilterButton("cmdAllWeek", QStringLiteral("全部"), weekdays);
    connect(cmdAllWeek_, &QPushButton::clicked, this,
            [this] { emit weekdayClicked(pairly::list::kAllWeekdays); });
    weekRow->addSpacing(6);
    weekRow->addWidget(cmdAllWeek_);

    layout->addWidget(period);
    layout->addWidget(weekdays);
    layout->addStretch(1);
}

pairly::list::PeriodTexts FilterBar::periodTexts() const {
    return {cboStdate_->currentText().toStdString(), cboEddate_->currentText().toStdString()};
}

void FilterBar::setPeriodTexts(const pairly::list::PeriodTexts& texts) {
    cboStdate_->setEditText(q(texts.start));
    cboEddate_->setEditText(q(texts.end));
}

void FilterBar::setPeriodDates(const std::vector<pairly::list::Text>& dates) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(dates.size()));
    for (pairly::list::Text date : dates) list << q(date);
    periodDates_->setStringList(list);
    cboStdate_->setEditText(list.isEmpty() ? QString() : list.front());
    cboEddate_->setEditText(list.isEmpty() ? QString() : list.back());
}

void FilterBar::releasePeriods() {
    for (QPushButton* b : periodButtons_) press(b, false);
}

void FilterBar::pressPeriod(int index) {
    if (index < 0 || index >= static_cast<int>(periodButtons_.size())) return;
    press(periodButtons_[static_cast<std::size_t>(index)], true);
}

QPushButton* FilterBar::weekdayButton(int weekday) const {
    if (weekday == pairly::list::kAllWeekdays) return cmdAllWeek_;
    if (weekday < 0 || weekday > 6) return nullptr;
    return weekdayButtons_[static_cast<std::size_t>(weekday)];
}

void FilterBar::chooseWeekday(int weekday) {
    if (!weekdayButton(weekday)) return;
    press(cmdAllWeek_, false);
    for (QPushButton* b : weekdayButtons_) press(b, false);
    selectedWeekday_ = weekday;
}

void FilterBar::pressWeekday(int weekday) {
    if (QPushButton* button = weekdayButton(weekday)) press(button, true);
}

void FilterBar::showAll() {
    releasePeriods();
    for (QPushButton* button : weekdayButtons_) press(button, false);
    press(periodButtons_[8], true);  // cmdAllDay
    press(cmdAllWeek_, true);
    selectedWeekday_ = pairly::list::kAllWeekdays;
}

}  // namespace pairly::gui::list
