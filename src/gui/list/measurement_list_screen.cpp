#include "gui/list/measurement_list_screen.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <unordered_map>

#include "gui/common/situation_list.h"
#include "gui/list/filter_bar.h"
#include "gui/widgets/alignment.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/stored_text.h"
#include "gui/widgets/text.h"

namespace pairly::gui::list {

const QColor& MeasurementListScreen::kPressedColour = FilterBar::kPressedColour;

// Turns the texts of one build into QStrings, each distinct text once. The views are whole
// texts of the build's store (or literals), so a text's address names it.
class QtTexts {
public:
    const QString& operator()(pairly::list::Text text) {
        const auto [it, added] = map_.try_emplace(text.data());
        if (added) it->second = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return it->second;
    }
    QStringList list(const std::vector<pairly::list::Text>& texts) {
        QStringList out;
        out.reserve(static_cast<qsizetype>(texts.size()));
        for (pairly::list::Text t : texts) out << (*this)(t);
        return out;
    }

private:
    std::unordered_map<const char*, QString> map_;
};

namespace {

// The tables' font: the Japanese UI font, whose figures are narrower than the default
// Latin font's, at a size where the columns hold their longest figures ("-10.2Kg",
// "-12.3%", "1450kcal") without cutting them off.
constexpr const char* kTableFontFamily = "Noto Sans CJK JP";
constexpr int kTableFontPoints = 9;
// Short lists get point markers so that a lone weighing still shows as a dot.
constexpr int kMarkerPointLimit = 45;

using widgets::q;

QColor arrowQColour(base::Arrow arrow) { return widgets::toQColor(arrowColour(arrow)); }

template <std::size_t N>
widgets::Grid* makeTable(const char* name, const std::array<pairly::list::ListColumn, N>& columns,
                         QWidget* parent) {
    auto* grid = new widgets::Grid(parent);
    grid->setObjectName(name);
    QFont font = grid->font();
    font.setFamily(QString::fromLatin1(kTableFontFamily));
    grid->setFont(font);
    grid->setFontPointSize(kTableFontPoints);
    QStringList headers;
    for (const pairly::list::ListColumn& c : columns) headers << q(c.header);
    grid->setColumns(headers);
    int width = 0;
    for (int i = 0; i < static_cast<int>(N); ++i) {
        const pairly::list::ListColumn& c = columns[static_cast<std::size_t>(i)];
        grid->setColumnWidthTwips(i, c.twips);
        grid->setColumnAlignment(i, widgets::toUi(c.align));
        grid->setHeaderAlignment(i, widgets::Align::Center);
        width += grid->columnWidth(i);
    }
    // Room for the columns, the vertical scroll bar and the frame.
    grid->setFixedWidth(width + grid->verticalScrollBar()->sizeHint().width() +
                        2 * grid->frameWidth());
    grid->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return grid;
}

widgets::Chart* makeChart(const char* name, QWidget* parent) {
    auto* chart = new widgets::Chart(parent);
    chart->setObjectName(name);
    chart->setSeriesVisible(3, false);
    chart->setSeriesAxis(2, widgets::Axis::Right);
    chart->setMinimumSize(260, 200);
    return chart;
}

void applyAxis(widgets::Chart& chart, widgets::Axis axis, const chart::AxisRange& range,
               bool hasData) {
    if (!hasData) {
        chart.setAxisAuto(axis);
        return;
    }
    chart.setAxisRange(axis, range.minimum, range.maximum);
    // A division count the chart refuses leaves the previous one.
    if (range.majorDivisions > 0) (void)chart.setAxisDivisions(axis, range.majorDivisions);
}

void renderSmallChart(widgets::Chart& chart, const pairly::list::SmallChart& data) {
    chart.setPointCount(0);
    if (!data.hasData) {
        chart.setPointCount(1);  // one empty row
        chart.setAxisAuto(widgets::Axis::Left);
        chart.setAxisAuto(widgets::Axis::Right);
        return;
    }
    chart.setPointCount(static_cast<int>(data.series1.size()));
    chart.setSeriesValues(1, data.series1);
    chart.setSeriesValues(2, data.series2);
    chart.setMarker(data.series1.size() <= kMarkerPointLimit ? widgets::Marker::Circle
                                                             : widgets::Marker::None);
    applyAxis(chart, widgets::Axis::Left, data.left, true);
    if (data.series2.empty())
        chart.setAxisAuto(widgets::Axis::Right);
    else
        applyAxis(chart, widgets::Axis::Right, data.right, true);
}

}  // namespace

MeasurementListScreen::MeasurementListScreen(common::AppContext& ctx,
                                             const common::SituationList& situations,
                                             QWidget* parent)
    : Screen(ctx.session, WhenHidden::ReadAgain, parent), ctx_(ctx) {
    setObjectName("fraTaijyu");

    auto* body = new QHBoxLayout;
    body->addWidget(buildSideColumn());
    body->addWidget(buildTables());
    body->addWidget(buildCharts(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFilterRow());
    layout->addLayout(body, 1);
    common::showSituations(lstAct2_, situations.model());

    showOverlay(Overlay::Weight);
    optTai2_->setChecked(true);
    applySeriesOption();
}

// --- layout --------------------------------------------------------------------------------

QWidget* MeasurementListScreen::buildFilterRow() {
    filterBar_ = new FilterBar(this);
    connect(filterBar_, &FilterBar::periodClicked, this, &MeasurementListScreen::periodClicked);
    connect(filterBar_, &FilterBar::weekdayClicked, this, &MeasurementListScreen::weekdayClicked);
    return filterBar_;
}

QWidget* MeasurementListScreen::buildSideColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(170);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    // Which table and chart lie on top.
    auto* overlays = new QGroupBox(QStringLiteral("表示切替"), column);
    overlays->setObjectName("fraHyouji");
    auto* overlayGrid = new QGridLayout(overlays);
    overlayGrid->setSpacing(3);
    const struct {
        const char* name;
        const char* caption;
        Overlay overlay;
    } kOverlays[] = {{"cmdTai1", "体重", Overlay::Weight},
                     {"cmdTai2", "代謝", Overlay::Metabolism},
                     {"cmdKin", "筋肉", Overlay::Muscle},
                     {"cmdKotu", "骨量", Overlay::Bone}};
    int i = 0;
    for (const auto& o : kOverlays) {
        QPushButton* button = FilterBar::makeFilterButton(q(o.name), q(o.caption), overlays);
        const Overlay overlay = o.overlay;
        connect(button, &QPushButton::clicked, this, [this, overlay] { showOverlay(overlay); });
        overlayGrid->addWidget(button, i / 2, i % 2);
        ++i;
    }

    auto* situation = new QGroupBox(QStringLiteral("状況"), column);
    situation->setObjectName("fraJyoukyou");
    auto* situationBox = new QVBoxLayout(situation);
    txtKey_ = new QLineEdit(situation);
    txtKey_->setObjectName("txtKey");
    txtKey_->setToolTip(
        QStringLiteral("語句を入力してEnterキーを押すと、その語句を含む状況で絞り込みます"));
    txtKey_->installEventFilter(this);
    widgets::keepStoredForm(txtKey_);  // a typed 〜 finds the ～ that the log holds
    connect(txtKey_, &QLineEdit::returnPressed, this, &MeasurementListScreen::keyEntered);
    cmdAllact_ = FilterBar::makeFilterButton("cmdAllact", QStringLiteral("全部"), situation);
    connect(cmdAllact_, &QPushButton::clicked, this, &MeasurementListScreen::allSituationsClicked);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(txtKey_, 1);
    keyRow->addWidget(cmdAllact_);
    lstAct2_ = new QListWidget(situation);
    lstAct2_->setObjectName("lstAct2");
    lstAct2_->setAccessibleName(QStringLiteral("状況で絞り込み"));
    lstAct2_->setToolTip(QStringLiteral("クリックした状況で絞り込みます"));
    connect(lstAct2_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { situationPicked(item->text()); });
    situationBox->addLayout(keyRow);
    situationBox->addWidget(lstAct2_, 1);

    layout->addWidget(overlays);
    layout->addWidget(situation, 1);
    return column;
}

QWidget* MeasurementListScreen::buildTables() {
    auto* area = new QWidget(this);
    // The body-composition table lies exactly over the list table.
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    msgBunseki_ = makeTable("msgBunseki", pairly::list::kListTableColumns, area);
    msgBunseki2_ = makeTable("msgBunseki2", pairly::list::kCompositionTableColumns, area);
    msgBunseki_->setAccessibleName(QStringLiteral("測定の一覧"));
    msgBunseki2_->setAccessibleName(QStringLiteral("体組成の一覧"));
    stack->addWidget(msgBunseki_, 0, 0);
    stack->addWidget(msgBunseki2_, 0, 0);
    area->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return area;
}

QWidget* MeasurementListScreen::buildCharts() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    lblG21_ = new QLabel(area);
    lblG21_->setObjectName("lblG21");
    lblG22_ = new QLabel(area);
    lblG22_->setObjectName("lblG22");
    lblG22_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Each caption in the colour of its series.
    lblG21_->setStyleSheet(QStringLiteral("color: rgb(0, 0, 192); font-weight: bold"));
    lblG22_->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); font-weight: bold"));
    for (QLabel* label : {lblG21_, lblG22_}) label->setMinimumWidth(80);

    optTai2_ = new QRadioButton(QStringLiteral("体重"), area);
    optTai2_->setObjectName("optTai2");
    optShi2_ = new QRadioButton(QStringLiteral("体脂肪率"), area);
    optShi2_->setObjectName("optShi2");
    optKon2_ = new QRadioButton(QStringLiteral("混合"), area);
    optKon2_->setObjectName("optKon2");
    auto* options = new QButtonGroup(area);
    auto* header = new QHBoxLayout;
    header->addWidget(lblG21_);
    header->addStretch(1);
    for (QRadioButton* option : {optTai2_, optShi2_, optKon2_}) {
        options->addButton(option);
        header->addWidget(option);
        connect(option, &QRadioButton::clicked, this, &MeasurementListScreen::applySeriesOption);
    }
    header->addStretch(1);
    header->addWidget(lblG22_);

    // The three small charts lie exactly over the main chart.
    auto* stack = new QGridLayout;
    mcrBunseki_ = makeChart("mcrBunseki", area);
    mcrBunseki_->setSeriesColor(1, QColor(0, 0, 192));
    mcrBunseki_->setSeriesColor(2, QColor(192, 0, 0));
    stack->addWidget(mcrBunseki_, 0, 0);
    mcrBunseki_->setAccessibleName(QStringLiteral("一覧の体重と体脂肪率のグラフ"));
    const char* names[] = {"mcrBunseki2", "mcrBunseki3", "mcrBunseki4"};
    const char* readerNames[] = {"一覧の基礎代謝と内臓脂肪のグラフ",
                                 "一覧の筋肉量と筋肉スコアのグラフ", "一覧の骨量のグラフ"};
    for (std::size_t k = 0; k < smallCharts_.size(); ++k) {
        smallCharts_[k] = makeChart(names[k], area);
        smallCharts_[k]->setAccessibleName(QString::fromUtf8(readerNames[k]));
        smallCharts_[k]->setLabelFontPointSize(8);
        stack->addWidget(smallCharts_[k], 0, 0);
    }
    smallCharts_[2]->setSeriesVisible(2, false);  // bone mass alone

    layout->addLayout(header);
    layout->addLayout(stack, 1);
    return area;
}

bool MeasurementListScreen::eventFilter(QObject* watched, QEvent* event) {
    // Entering the situation field starts a new text; coming back to the window does not.
    if (watched == txtKey_ && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtKey_->clear();
    }
    return QWidget::eventFilter(watched, event);
}

// --- opening and refreshing ------------------------------------------------------------------

void MeasurementListScreen::openMeasurementList() {
    refreshIfStale();
    optTai2_->setChecked(true);
    applySeriesOption();
    lblG21_->clear();
    lblG22_->clear();
}

void MeasurementListScreen::fill() {
    buildUnfilteredList();
    showAllFilters();
}

// The unfiltered list shows every weighing, and the buttons say so: the three "全部"
// pressed, every other filter button released and no situation text left behind that a
// later filter would apply unseen.
void MeasurementListScreen::showAllFilters() {
    filterBar_->showAll();
    press(cmdAllact_, true);
    txtKey_->clear();
    lstAct2_->clearSelection();
}

void MeasurementListScreen::press(QPushButton* button, bool pressed) {
    FilterBar::press(button, pressed);
}

// --- builds ----------------------------------------------------------------------------------

void MeasurementListScreen::buildUnfilteredList() {
    const session::SharedLog shared = common::loadLogForScreen(ctx_, ctx_.currentSlot);
    const auto& log = shared->records;
    model_ = {};  // the old list's texts go before the new ones are made
    model_ = pairly::list::buildUnfilteredList(log, ctx_.profile().heightCm);
    render();
    fillPeriodLists();
}

pairly::list::ListFilters MeasurementListScreen::currentFilters() const {
    pairly::list::ListFilters f;
    const pairly::list::PeriodTexts period = filterBar_->periodTexts();
    f.start = period.start;
    f.end = period.end;
    f.situation = txtKey_->text().toStdString();
    f.weekday = filterBar_->selectedWeekday();
    return f;
}

void MeasurementListScreen::dispatchListFilters() {
    runFilteredBuild(common::loadLogForScreen(ctx_, ctx_.currentSlot)->records);
}

void MeasurementListScreen::runFilteredBuild(const std::vector<store::MeasurementRecord>& log) {
    model_ = {};
    model_ = pairly::list::buildFilteredList(log, ctx_.profile().heightCm, currentFilters());
    render();
}

void MeasurementListScreen::render() {
    renderTables();
    QtTexts texts;
    renderMainChart(texts);
    smallChartsDrawn_.fill(false);
    drawVisibleSmallCharts();
}

// A small chart is drawn when it comes on top: a long list need not fill three charts
// that nobody sees.
void MeasurementListScreen::drawVisibleSmallCharts() {
    const pairly::list::SmallChart* data[] = {&model_.smallCharts.metabolism,
                                              &model_.smallCharts.muscle, &model_.smallCharts.bone};
    for (std::size_t k = 0; k < smallCharts_.size(); ++k) {
        if (smallCharts_[k]->isHidden() || smallChartsDrawn_[k]) continue;
        renderSmallChart(*smallCharts_[k], *data[k]);
        smallChartsDrawn_[k] = true;
    }
}

void MeasurementListScreen::renderTables() {
    // The tables ask for the cells of the rows they draw: thirty years of weighings are
    // not turned into a million texts on every refresh. The rows live in model_, which is
    // replaced only by a build that then renders again.
    const auto n = static_cast<int>(model_.rows.size());
    msgBunseki_->setRowSource(
        n,
        [this](int row, int col) {
            return pairly::list::listCell(model_, static_cast<std::size_t>(row - 1), col);
        },
        [this](int row, int col) {
            const auto r = static_cast<std::size_t>(row - 1);
            if (r >= model_.rows.size()) return QColor();
            if (col == pairly::list::kPreviousArrowColumn)
                return arrowQColour(model_.rows[r].previousArrow);
            if (col == pairly::list::kFirstArrowColumn)
                return arrowQColour(model_.rows[r].firstArrow);
            return QColor();
        });
    msgBunseki2_->setRowSource(n, [this](int row, int col) {
        return pairly::list::compositionCell(model_, static_cast<std::size_t>(row - 1), col);
    });
    // A long list opens at its end, which brings the newest weighings into view; the
    // table scrolls no further than its last row. Both tables show the same rows.
    if (model_.scrollToLastRow) {
        msgBunseki_->scrollToBottom();
        msgBunseki2_->scrollToBottom();
    }
}

void MeasurementListScreen::renderMainChart(QtTexts&) {
    const pairly::list::ListChart& chart = model_.chart;
    // The point count is set before the points, whatever length the previous list had.
    mcrBunseki_->setPointCount(0);
    mcrBunseki_->setPointCount(chart.points());
    mcrBunseki_->setSeriesValues(1, chart.weights);
    mcrBunseki_->setSeriesValues(2, chart.bodyFats);
    mcrBunseki_->setMarker(chart.points() <= kMarkerPointLimit ? widgets::Marker::Circle
                                                               : widgets::Marker::None);
    applyAxis(*mcrBunseki_, widgets::Axis::Left, chart.weightAxis, chart.hasData);
    applyAxis(*mcrBunseki_, widgets::Axis::Right, chart.bodyFatAxis, chart.hasData);
}

void MeasurementListScreen::fillPeriodLists() { filterBar_->setPeriodDates(model_.dates); }

void MeasurementListScreen::applySeriesOption() {
    const bool weight = !optShi2_->isChecked();
    const bool bodyFat = !optTai2_->isChecked();
    mcrBunseki_->setSeriesVisible(1, weight);
    mcrBunseki_->setAxisVisible(widgets::Axis::Left, weight);
    mcrBunseki_->setSeriesVisible(2, bodyFat);
    mcrBunseki_->setAxisVisible(widgets::Axis::Right, bodyFat);
}

// --- filter controls -------------------------------------------------------------------------

int MeasurementListScreen::selectedWeekday() const { return filterBar_->selectedWeekday(); }

void MeasurementListScreen::periodClicked(int index) {
    if (index < 0 || index >= static_cast<int>(pairly::list::kPeriodButtons.size())) return;
    const pairly::list::PeriodButton& button =
        pairly::list::kPeriodButtons[static_cast<std::size_t>(index)];
    filterBar_->releasePeriods();
    const session::SharedLog shared = common::loadLogForScreen(ctx_, ctx_.currentSlot);
    const auto& log = shared->records;
    if (button.kind != pairly::list::PeriodKind::Typed)
        filterBar_->setPeriodTexts(pairly::list::periodTexts(button, ctx_.clock.today(),
                                                             pairly::list::firstRecordDate(log)));
    runFilteredBuild(log);
    filterBar_->pressPeriod(index);
}

void MeasurementListScreen::weekdayClicked(int weekday) {
    if (weekday != pairly::list::kAllWeekdays && (weekday < 0 || weekday > 6)) return;
    filterBar_->chooseWeekday(weekday);
    dispatchListFilters();
    filterBar_->pressWeekday(weekday);
}

void MeasurementListScreen::allSituationsClicked() {
    txtKey_->clear();
    lstAct2_->clearSelection();
    dispatchListFilters();
    press(cmdAllact_, true);
}

void MeasurementListScreen::situationPicked(const QString& entry) {
    txtKey_->setText(entry);
    press(cmdAllact_, false);
    dispatchListFilters();
}

void MeasurementListScreen::keyEntered() {
    // The typed text, not an entry of the list, filters now.
    lstAct2_->clearSelection();
    press(cmdAllact_, false);
    dispatchListFilters();
}

// --- overlays --------------------------------------------------------------------------------

void MeasurementListScreen::showOverlay(Overlay overlay) {
    const int shown = overlay == Overlay::Metabolism ? 0
                      : overlay == Overlay::Muscle   ? 1
                      : overlay == Overlay::Bone     ? 2
                                                     : -1;
    // What lies underneath is hidden rather than covered: nothing unseen is painted.
    msgBunseki2_->setVisible(shown >= 0);
    msgBunseki_->setVisible(shown < 0);
    mcrBunseki_->setVisible(shown < 0);
    for (int k = 0; k < 3; ++k) smallCharts_[static_cast<std::size_t>(k)]->setVisible(k == shown);
    drawVisibleSmallCharts();
    static const char* const kCaptions[][2] = {
        {"基礎代謝", "内臓脂肪"}, {"筋肉量", "筋肉スコア"}, {"骨量", ""}};
    lblG21_->setText(shown < 0 ? QString() : q(kCaptions[shown][0]));
    lblG22_->setText(shown < 0 ? QString() : q(kCaptions[shown][1]));
    // The series options steer the main chart only.
    for (QRadioButton* option : {optTai2_, optShi2_, optKon2_}) option->setEnabled(shown < 0);
}

}  // namespace pairly::gui::list
