#include "gui/entry/input_screen.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/entry/entry_logic.h"
#include "core/entry/habit.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "gui/common/bmi_meter_widget.h"
#include "gui/common/situation_list.h"
#include "gui/common/write_notice.h"
#include "gui/entry/day_count_widget.h"
#include "gui/entry/day_view_panel.h"
#include "gui/entry/entry_panel.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/chart_accessible.h"

namespace pairly::gui::entry {

InputScreen::InputScreen(common::AppContext& ctx, common::SituationList& situations,
                         QWidget* parent)
    : Screen(ctx.session, WhenHidden::KeepContent, parent), ctx_(ctx) {
    setObjectName("fraMain");
    entry_ = new EntryPanel(ctx_, situations, this);
    dayView_ = new DayViewPanel(this);

    mtvmain_ = new QCalendarWidget(this);
    mtvmain_->setObjectName("mtvmain");
    mtvmain_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    mtvmain_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    mtvmain_->setFixedSize(280, 200);
    widgets::nameCalendarParts(mtvmain_);

    lblMHyouka_ = new QLabel(this);
    lblMHyouka_->setObjectName("lblMHyouka");
    lblMHyouka_->setAlignment(Qt::AlignCenter);
    lblMHyouka_->setFrameShape(QFrame::Panel);
    lblMHyouka_->setFrameShadow(QFrame::Sunken);
    meter_ =
        new common::BmiMeterWidget(body::kInputMeterUnitTwips, "Shape1", "Image1", false, this);
    auto* meterBox = new QVBoxLayout;
    meterBox->addStretch(1);
    meterBox->addWidget(lblMHyouka_);
    meterBox->addWidget(meter_, 0, Qt::AlignHCenter);

    // The day counts live beside the partner buttons of the main window, which adopts them.
    for (int i = 0; i < 2; ++i) dayCount_[i] = new DayCountWidget(i + 1);

    auto* calendarRow = new QHBoxLayout;
    calendarRow->addWidget(mtvmain_);
    calendarRow->addLayout(meterBox);
    auto* left = new QVBoxLayout;
    left->addWidget(entry_, 1);
    left->addLayout(calendarRow);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 0);
    body->addWidget(dayView_, 1);
    auto* box = new QVBoxLayout(this);
    box->addWidget(dayView_->headerRow());
    box->addLayout(body, 1);

    connect(entry_, &EntryPanel::saveRequested, this, &InputScreen::saveMeasurement);
    connect(entry_, &EntryPanel::autoSituationToggled, this, &InputScreen::autoSituationToggled);
    connect(entry_, &EntryPanel::viewRequested, dayView_, &DayViewPanel::showView);
    connect(dayView_, &DayViewPanel::mainChartClicked, this, &InputScreen::cycleMarkerMode);
    // A rename changes the situations of the day shown.
    connect(&situations, &common::SituationList::situationRenamed, this,
            &InputScreen::refreshDayView);
    // A change that came while something was typed is shown once the entry is done.
    connect(entry_, &EntryPanel::emptiedOrSaved, this, [this] {
        if (isStale() && isShown()) refreshSoon();
    });
    connect(mtvmain_, &QCalendarWidget::clicked, this, [this] { dateClicked(); });
    // Keyboard moves in the calendar show the day they select, so a save never goes to a
    // day other than the one in view.
    connect(mtvmain_, &QCalendarWidget::selectionChanged, this, [this] {
        if (settingDate_) return;
        refreshDayView();
        // A click that changes the day reports the click right after, in the same event.
        refreshedBySelection_ = selectedDay();
        QTimer::singleShot(0, this, [this] { refreshedBySelection_.clear(); });
    });
}

InputScreen::~InputScreen() {
    for (const auto& w : dayCount_)
        if (w && !w->parent()) delete w.data();
}

void InputScreen::prepareForStartup() {
    dayView_->clearLegend();
    const text::Date today = ctx_.clock.today();
    settingDate_ = true;
    mtvmain_->setSelectedDate(QDate(today.year, today.month, today.day));
    settingDate_ = false;
    ctx_.session.setEntryDay(selectedDay());
    dayView_->resetDayGrids();
}

std::string InputScreen::selectedDay() const {
    const QDate d = mtvmain_->selectedDate();
    return text::formatDate({d.year(), d.month(), d.day()});
}

std::optional<float> InputScreen::lastRecordWeight() const {
    if (!model_.lastRecord) return std::nullopt;
    return model_.lastRecord->weight;
}

void InputScreen::refreshDayView() {
    showDayView(*common::loadLogForScreen(ctx_, ctx_.currentSlot), true);
}

void InputScreen::showDayView(const store::LoadedLog& active, bool clearEntry) {
    markFresh();
    ctx_.session.setEntryDay(selectedDay());
    const session::SharedLog other = common::loadLogForScreen(ctx_, ctx_.otherSlot());
    model_ = pairly::entry::computeDayView(active.records, other->records, ctx_.profile().heightCm,
                                           selectedDay(), ctx_.currentSlot);
    dayView_->render(model_);
    entry_->setPreviousValues(model_.previousValues);
    showCurrentBmi();
    if (clearEntry) {
        entry_->clearEntry();
        // The steppers of a pick made for the user go with it, as if it had never been made.
        if (autoPicked_) entry_->setSteppersEnabled(false);
        autoPicked_.reset();
        entry_->showSavedLine(QString());
    }
    renderDayCounts(model_.dayCounts);
    // A typed entry kept through a refused save is not overwritten by a pick.
    if (clearEntry) pickUsualSituation(active.records);
}

void InputScreen::renderDayCounts(const std::array<pairly::entry::DayCount, 2>& counts) {
    for (int i = 0; i < 2; ++i)
        if (dayCount_[i]) dayCount_[i]->render(counts[i]);
}

void InputScreen::pickUsualSituation(const std::vector<store::MeasurementRecord>& records) {
    // The check box shows the preference as read (at start-up, after a restore).
    const bool on = ctx_.session.preferences().autoSituation;
    entry_->setAutoSituation(on);
    const std::string today = text::formatDate(ctx_.clock.today());
    if (!on || selectedDay() != today) return;
    std::vector<std::string> situations;
    QListWidget* list = entry_->situationList();
    for (int row = 0; row < list->count(); ++row)
        situations.push_back(list->item(row)->text().toStdString());
    const auto usual = pairly::entry::habitualSituation(records, today, situations);
    if (!usual) return;
    // As a click on the entry picks it: fields filled, steppers on, the weight focused.
    entry_->pickForUser(entry_->rowOfSituation(QString::fromStdString(*usual)));
    autoPicked_.emplace(entry_->selectedSituation(), entry_->fieldTexts());
}

void InputScreen::autoSituationToggled(bool on) {
    const disk::WriteStatus status = store::writeAutoSituation(ctx_.dataFolder, on ? 1 : 0);
    if (!common::settingWritten(ctx_, status, "状況自動.txt",
                                QStringLiteral("自動で選ぶ設定を保存できませんでした。"))) {
        entry_->setAutoSituation(!on);
        return;
    }
    ctx_.session.preferences().autoSituation = on;
    // Switched on with nothing typed yet: the pick it stands for, at once.
    if (on && !holdsTypedEntry())
        pickUsualSituation(common::loadLogForScreen(ctx_, ctx_.currentSlot)->records);
}

bool InputScreen::partnerRegistered() const {
    // As the import judges it: neither a profile nor a log was ever written.
    return disk::fileExists(ctx_.dataFolder, store::profileFileName(ctx_.currentSlot)) ||
           disk::fileExists(ctx_.dataFolder, store::logFileName(ctx_.currentSlot));
}

void InputScreen::showCurrentBmi() {
    if (!model_.bmi) {
        // No usable height: the meters keep their state. No weighing at all: nothing to show.
        if (model_.recordCount == 0) {
            meter_->pointer()->hide();
            lblMHyouka_->clear();
            widgets::setBackColour(lblMHyouka_, QColor());
        }
        return;
    }
    meter_->pointer()->show();
    const body::CurrentBmi& bmi = *model_.bmi;
    meter_->setPointerLeftTwips(bmi.inputPointerLeftTwips);
    lblMHyouka_->setText(QString::fromStdString(bmi.category.text));
    widgets::setBackColour(lblMHyouka_, widgets::toQColor(bmi.category.colour));
}

void InputScreen::refreshBmi() { showCurrentBmi(); }

void InputScreen::fill() {
    refreshDayView();
    refreshBmi();
}

void InputScreen::refreshIfStale() {
    if (!isStale()) return;
    refresh();
    disableSteppers();  // the entry was emptied: nothing to step until the next pick
}

bool InputScreen::concerns(const session::Event&) const { return true; }

void InputScreen::followShown(const session::Event& event) {
    if (event.what == session::Change::Profile)
        markStale();
    else
        Screen::followShown(event);
}

bool InputScreen::holdsTypedEntry() const {
    if (autoPicked_ && autoPicked_->first == entry_->selectedSituation() &&
        autoPicked_->second == entry_->fieldTexts())
        return false;
    if (!entry_->selectedSituation().isEmpty()) return true;
    for (const std::string& text : entry_->fieldTexts())
        if (!text.empty()) return true;
    return false;
}

void InputScreen::followHidden(const session::Event& event) {
    Screen::followHidden(event);
    if (event.what != session::Change::Log) return;
    // Within a refresh the logs are read once for every screen, and an unread one is told.
    if (ctx_.session.refreshing()) {
        recountDay(common::loadLogForScreen(ctx_, ctx_.currentSlot),
                   common::loadLogForScreen(ctx_, ctx_.otherSlot()));
        return;
    }
    // Otherwise after the change is done, without a word: a log that cannot be read is
    // told when the screen shows it, and a save that fails part way tells its own failure.
    if (recountPending_) return;
    recountPending_ = true;
    QTimer::singleShot(0, this, [this] {
        recountPending_ = false;
        if (isStale())
            recountDay(ctx_.session.log(ctx_.currentSlot), ctx_.session.log(ctx_.otherSlot()));
    });
}

void InputScreen::recountDay(const session::SharedLog& active, const session::SharedLog& other) {
    renderDayCounts(
        pairly::entry::countDay(active->records, other->records, selectedDay(), ctx_.currentSlot));
}

void InputScreen::applyMarkerMode() { dayView_->applyMarkerMode(ctx_.markerMode); }

void InputScreen::cycleMarkerMode() {
    const int next = pairly::entry::nextMarkerMode(ctx_.markerMode);
    const disk::WriteStatus status = store::writeMarkerMode(ctx_.dataFolder, next);
    if (!common::written(ctx_, status, "マーカー.txt")) {
        if (!common::tellBlocked(ctx_, status, "マーカー.txt"))
            ctx_.dialogs.warn(QStringLiteral("マーカーの設定を保存できませんでした。"),
                              QStringLiteral("保存エラー"));
        return;
    }
    ctx_.markerMode = next;
    applyMarkerMode();
}

void InputScreen::disableSteppers() {
    // A situation picked for the user keeps its steppers, as a click would have left them.
    if (!entry_->selectedSituation().isEmpty()) return;
    entry_->setSteppersEnabled(false);
}
void InputScreen::selectMixedOption() { dayView_->selectMixedOption(); }
void InputScreen::redrawMainChart() { dayView_->redrawMainChart(); }

QWidget* InputScreen::dayCountWidget(int slot) { return dayCount_[slot == 2 ? 1 : 0]; }

void InputScreen::saveMeasurement() {
    if (!partnerRegistered()) {
        ctx_.dialogs.warn(
            QString::fromUtf8(ctx_.currentSlot == 2 ? "二人目" : "一人目") +
                QStringLiteral(
                    "がまだ登録されていません。編集画面の新規スタートで登録してください。"),
            QStringLiteral("保存中止"));
        return;
    }
    pairly::entry::SaveRequest request;
    request.situation = entry_->selectedSituation().toStdString();
    request.fieldTexts = entry_->fieldTexts();
    request.selectedDay = selectedDay();
    request.autoTime = autoTime();
    request.timeText = text::longTimeText(ctx_.clock.secondsSinceMidnight());
    const pairly::entry::CheckedEntry entry = pairly::entry::checkEntry(std::move(request));
    // A day after today is most likely a slip on the calendar: asked once the entry is valid.
    if (!entry.refusal) {
        if (const auto question = pairly::entry::futureDayQuestion(
                entry.request.selectedDay, text::formatDate(ctx_.clock.today()))) {
            if (ctx_.dialogs.message(
                    QString::fromStdString(question->text), QString::fromStdString(question->title),
                    widgets::Icon::Question, widgets::Buttons::YesNo) != widgets::Answer::Yes)
                return;
        }
    }
    pairly::entry::SaveOutcome outcome =
        pairly::entry::saveMeasurement(ctx_.dataFolder, ctx_.currentSlot, entry);
    if (!outcome.saved) {
        // The log another window changed is shown; the weighing stays in the panel.
        if (outcome.stale) showDayView(*common::loadLogForScreen(ctx_, ctx_.currentSlot), false);
        if (outcome.message) {
            ctx_.dialogs.warn(QString::fromStdString(outcome.message->text),
                              QString::fromStdString(outcome.message->title));
            if (outcome.message->field) entry_->focusField(*outcome.message->field);
        }
        return;
    }
    ctx_.noteDataChanged(ctx_.currentSlot);
    // The day view shows the log as the save wrote it.
    showDayView(*outcome.written, true);
    disableSteppers();
    entry_->showSavedLine(QString::fromStdString(
        pairly::entry::savedLine(store::partnerCaption(ctx_.profile(), ctx_.currentSlot),
                                 outcome.plan->record, ctx_.clock.secondsSinceMidnight())));
    // Saved, with a word about it (the disk did not confirm the write).
    if (outcome.message)
        ctx_.dialogs.warn(QString::fromStdString(outcome.message->text),
                          QString::fromStdString(outcome.message->title));
}

void InputScreen::showDay(const text::Date& day) {
    settingDate_ = true;
    mtvmain_->setSelectedDate(QDate(day.year, day.month, day.day));
    settingDate_ = false;
    refreshDayView();
}

void InputScreen::dateClicked() {
    // A click on another day reports the selection change first, which has read and drawn
    // the day already; a click on the day shown reads it again.
    if (refreshedBySelection_ != selectedDay()) refreshDayView();
    if (ctx_.focusActivePartnerButton) ctx_.focusActivePartnerButton();
}

}  // namespace pairly::gui::entry
