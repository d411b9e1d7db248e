#include "gui/trend/trend_screen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/disk/fields.h"
#include "core/shell/help_texts.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "gui/common/partner_colour.h"
#include "gui/common/write_notice.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/push_button.h"
#include "gui/widgets/text.h"

namespace pairly::gui::trend {

namespace {

const QColor kGoalColour(255, 224, 192);
const QColor kWeightColour(0, 0, 255);
const QColor kAverageColour(255, 0, 0);
const QColor kBodyFatColour(0, 150, 70);
const QColor kTrendColour(150, 60, 200);
constexpr int kTrendSeries = 4;
// The forecast fan: likely, early and late line.
constexpr int kFanSeries = 5;
const QColor kFanColour(230, 120, 0);
const QColor kFanRangeColour(240, 170, 80);
const QColor kMetricColour1(0, 90, 200);
const QColor kMetricColour2(230, 110, 0);

// Short series get markers so that single weighings still show as dots.
constexpr int kMarkerPointLimit = 45;
// Beyond this many points a line is denser than its width anyway; a thin line also draws
// dozens of times faster.
constexpr int kThinLinePoints = 600;

using widgets::q;

bool anyPoint(const chart::Series& series) {
    return std::any_of(series.begin(), series.end(), [](double v) { return std::isfinite(v); });
}

void setPointSize(QWidget* w, double points) {
    QFont f = w->font();
    f.setPointSizeF(points);
    w->setFont(f);
}

widgets::Chart* makeChart(const char* name, QWidget* parent) {
    auto* chart = new widgets::Chart(parent);
    chart->setObjectName(name);
    chart->setMinimumHeight(300);
    return chart;
}

// Fills one chart with whole series at once; points beyond the series stay empty.
void fillSeries(widgets::Chart& chart, int points,
                const std::vector<const chart::Series*>& series) {
    chart.setPointCount(0);
    chart.setPointCount(points);
    for (std::size_t s = 0; s < series.size(); ++s) {
        chart.setSeriesValues(static_cast<int>(s) + 1, *series[s]);
        chart.setSeriesLineWidth(static_cast<int>(s) + 1, points > kThinLinePoints ? 1 : 2);
    }
    chart.setMarker(points <= kMarkerPointLimit ? widgets::Marker::Circle : widgets::Marker::None);
}

// Limits as given; divisions on whole kilos or percent, so the labels are round numbers.
void setAxis(widgets::Chart& chart, widgets::Axis axis, const chart::AxisRange& limits) {
    chart.setAxisRange(axis, limits.minimum, limits.maximum);
    chart.setAxisDivisions(axis, chart::wholeUnitDivisions(limits));
}

constexpr pairly::trend::MetricKind metricKindOf(TrendChart chart) {
    return chart == TrendChart::Metabolism ? pairly::trend::MetricKind::Metabolism
           : chart == TrendChart::Muscle   ? pairly::trend::MetricKind::Muscle
                                           : pairly::trend::MetricKind::Bone;
}

}  // namespace

TrendScreen::TrendScreen(common::AppContext& ctx, QWidget* parent)
    : Screen(ctx.session, WhenHidden::ReadAgain, parent), ctx_(ctx) {
    setObjectName("fraRenTai");

    lblNichis_ = new QLabel(this);
    lblNichis_->setObjectName("lblNichis");
    lblKiro_ = new QLabel(this);
    lblKiro_->setObjectName("lblKiro");
    for (QLabel* label : {lblNichis_, lblKiro_}) {
        setPointSize(label, 11);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    cmdMokuChk_ = widgets::makeButton("cmdMokuChk", QString(), this);
    setPointSize(cmdMokuChk_, 11);
    cmdMokuChk_->setMinimumWidth(220);
    cmdMokuChk_->setToolTip(QStringLiteral("グラフの下限を目標体重に切り替えます"));
    connect(cmdMokuChk_, &QPushButton::clicked, this, [this] { toggleGoalMode(); });

    auto* countLabel = new QLabel(QStringLiteral("移動平均"), this);
    cboIdou_ = new QComboBox(this);
    cboIdou_->setObjectName("cboIdou");
    cboIdou_->setEditable(true);
    cboIdou_->setAccessibleName(QStringLiteral("移動平均の回数"));
    cboIdou_->lineEdit()->setAccessibleName(cboIdou_->accessibleName());
    // Typed counts are not added to the list; the list stays 1..30.
    cboIdou_->setInsertPolicy(QComboBox::NoInsert);
    cboIdou_->setCompleter(nullptr);
    for (int i = 1; i <= 30; ++i) cboIdou_->addItem(QString::number(i));
    cboIdou_->setMinimumWidth(80);
    cboIdou_->setToolTip(QStringLiteral("移動平均をとる測定回数（入力してEnterキー）"));
    // Enter is taken before the box sees it (it would report a typed list item as a
    // pick, and the field as finished, giving two acceptances); picks from the list
    // arrive as activated.
    cboIdou_->installEventFilter(this);
    cboIdou_->lineEdit()->installEventFilter(this);
    connect(cboIdou_, &QComboBox::activated, this, [this] { acceptMovingAverage(); });
    auto* countUnit = new QLabel(QStringLiteral("回分"), this);

    auto* head = new QGridLayout;
    head->setHorizontalSpacing(10);
    head->addWidget(lblNichis_, 0, 0);
    head->addWidget(cmdMokuChk_, 0, 1, 1, 3);
    head->addWidget(lblKiro_, 1, 0);
    head->addWidget(countLabel, 1, 1, Qt::AlignRight);
    head->addWidget(cboIdou_, 1, 2);
    head->addWidget(countUnit, 1, 3);
    head->setColumnStretch(0, 1);

    // The metric charts lie over the weight chart in the same place.
    mcrRentai_ = makeChart("mcrRentai", this);
    mcrRentai_->setAccessibleName(QStringLiteral("体重と移動平均と体脂肪率のグラフ"));
    mcrRentai_->setSeriesColor(1, kWeightColour);
    mcrRentai_->setSeriesColor(2, kAverageColour);
    mcrRentai_->setSeriesColor(3, kBodyFatColour);
    mcrRentai_->setSeriesAxis(3, widgets::Axis::Right);
    mcrRentai_->setSeriesColor(kTrendSeries, kTrendColour);
    mcrRentai_->setSeriesName(kTrendSeries, QStringLiteral("トレンド"));
    const char* fanNames[3] = {"予測（見込み）", "予測（早い場合）", "予測（遅い場合）"};
    for (int k = 0; k < 3; ++k) {
        mcrRentai_->setSeriesColor(kFanSeries + k, k == 0 ? kFanColour : kFanRangeColour);
        mcrRentai_->setSeriesName(kFanSeries + k, QString::fromUtf8(fanNames[k]));
        mcrRentai_->setSeriesDashed(kFanSeries + k, true);
        mcrRentai_->setSeriesLineWidth(kFanSeries + k, k == 0 ? 2 : 1.5);
    }
    auto* charts = new QGridLayout;
    charts->addWidget(mcrRentai_, 0, 0);
    const char* names[3] = {"mcrRentai2", "mcrRentai3", "mcrRentai4"};
    const char* readerNames[3] = {"基礎代謝と内臓脂肪のグラフ", "筋肉量と筋肉スコアのグラフ",
                                  "骨量のグラフ"};
    for (int i = 0; i < 3; ++i) {
        widgets::Chart* chart = makeChart(names[i], this);
        chart->setAccessibleName(QString::fromUtf8(readerNames[i]));
        chart->setSeriesColor(1, kMetricColour1);
        chart->setSeriesColor(2, kMetricColour2);
        // Visceral fat and muscle score are of another magnitude: their own axis.
        chart->setSeriesAxis(2, widgets::Axis::Right);
        chart->setSeriesVisible(3, false);
        chart->hide();
        charts->addWidget(chart, 0, 0);
        metricCharts_[static_cast<std::size_t>(i)] = chart;
    }

    lblYosoku_ = new QLabel(this);
    lblYosoku_->setObjectName("lblYosoku");
    lblTeitai_ = new QLabel(this);
    lblTeitai_->setObjectName("lblTeitai");
    for (QLabel* label : {lblYosoku_, lblTeitai_}) {
        setPointSize(label, 11);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    lblTeitai_->setStyleSheet(QStringLiteral("color: #b00000"));
    lblYosoku_->setToolTip(QString::fromUtf8(pairly::shell::kForecastHelp));
    // One line each: a dated forecast is a long sentence.
    auto* forecast = new QVBoxLayout;
    forecast->setSpacing(2);
    forecast->addWidget(lblYosoku_);
    forecast->addWidget(lblTeitai_);
    // The weight chart's legend in one row under it: the side column has no height to spare.
    weightLegend_ = new QLabel(this);
    weightLegend_->setObjectName("lblRentaiLegend");
    weightLegend_->setTextFormat(Qt::RichText);
    weightLegend_->setWordWrap(true);  // all seven entries wrap at the smallest width
    QSizePolicy keep = weightLegend_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);  // the charts keep their size behind a metric chart
    weightLegend_->setSizePolicy(keep);
    auto* left = new QVBoxLayout;
    left->addLayout(charts, 1);
    left->addWidget(weightLegend_);
    left->addLayout(forecast);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addWidget(buildSideColumn());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(body, 1);

    optTai1_->setChecked(true);
    setWeightChartView(WeightView::Weight);
}

QWidget* TrendScreen::buildSideColumn() {
    auto* side = new QWidget(this);
    side->setFixedWidth(190);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);

    auto* views = new QGroupBox(QStringLiteral("表示"), side);
    views->setObjectName("fraRenTaiView");
    auto* viewColumn = new QVBoxLayout(views);
    auto* group = new QButtonGroup(views);
    const struct {
        QRadioButton** option;
        const char* name;
        const char* caption;
        WeightView view;
    } options[] = {{&optTai1_, "optTai1", "体重", WeightView::Weight},
                   {&optShi1_, "optShi1", "体脂肪率", WeightView::BodyFat},
                   {&optKon1_, "optKon1", "混合", WeightView::Mixed}};
    for (const auto& o : options) {
        auto* option = new QRadioButton(QString::fromUtf8(o.caption), views);
        option->setObjectName(o.name);
        group->addButton(option);
        viewColumn->addWidget(option);
        const WeightView view = o.view;
        connect(option, &QRadioButton::toggled, this, [this, view](bool on) {
            if (on) setWeightChartView(view);
        });
        *o.option = option;
    }
    column->addWidget(views);

    chkTrend_ = new QCheckBox(QStringLiteral("トレンド線"), side);
    chkTrend_->setObjectName("chkTrend");
    chkTrend_->setToolTip(QStringLiteral("日ごとの平均をなめらかにした体重の流れを表示します"));
    connect(chkTrend_, &QCheckBox::toggled, this, [this](bool on) { setTrendLineShown(on); });
    column->addWidget(chkTrend_);

    chkHosei_ = new QCheckBox(QStringLiteral("状況による差を補正する"), side);
    chkHosei_->setObjectName("chkHosei");
    chkHosei_->setToolTip(QString::fromUtf8(pairly::shell::kSituationCorrectionHelp));
    connect(chkHosei_, &QCheckBox::toggled, this, [this](bool on) { setSituationCorrection(on); });
    column->addWidget(chkHosei_);
    msgHosei_ = new widgets::Grid(side);
    msgHosei_->setObjectName("msgHosei");
    msgHosei_->setAccessibleName(QStringLiteral("状況ごとの体重の差"));
    msgHosei_->setToolTip(QString::fromUtf8(pairly::shell::kSituationCorrectionHelp));
    msgHosei_->setFontPointSize(9);
    msgHosei_->setColumns({QStringLiteral("状況"), QStringLiteral("差")});
    msgHosei_->setColumnWidthTwips(0, 1500);
    msgHosei_->setColumnWidthTwips(1, 1080);
    msgHosei_->setColumnAlignment(1, widgets::Align::Right);
    msgHosei_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->addWidget(msgHosei_);

    auto* kinds = new QGroupBox(QStringLiteral("グラフ"), side);
    auto* kindGrid = new QGridLayout(kinds);
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
        TrendChart chart;
    } buttons[] = {{"cmdTai", "体", "体重・移動平均・体脂肪率", TrendChart::Weight},
                   {"cmdTaisya", "代", "基礎代謝・内臓脂肪", TrendChart::Metabolism},
                   {"cmdKinr", "筋", "筋肉量・筋肉スコア", TrendChart::Muscle},
                   {"cmdKotur", "骨", "骨量", TrendChart::Bone}};
    for (int i = 0; i < 4; ++i) {
        QPushButton* button =
            widgets::makeButton(buttons[i].name, QString::fromUtf8(buttons[i].caption), kinds);
        setPointSize(button, 12);
        button->setFixedSize(48, 36);
        button->setToolTip(QString::fromUtf8(buttons[i].tip));
        const TrendChart chart = buttons[i].chart;
        connect(button, &QPushButton::clicked, this, [this, chart] { showMetricChart(chart); });
        kindGrid->addWidget(button, i / 2, i % 2);
    }
    column->addWidget(kinds);

    // The two legend labels of the metric chart in front.
    lblG11_ = new QLabel(side);
    lblG11_->setObjectName("lblG11");
    lblG12_ = new QLabel(side);
    lblG12_->setObjectName("lblG12");
    lblG11_->setStyleSheet(QString("color: %1; font-weight: bold").arg(kMetricColour1.name()));
    lblG12_->setStyleSheet(QString("color: %1; font-weight: bold").arg(kMetricColour2.name()));
    column->addWidget(lblG11_);
    column->addWidget(lblG12_);
    column->addStretch(1);
    return side;
}

void TrendScreen::prepareForStartup() { cboIdou_->setEditText(q(ctx_.movingAverage)); }

// ---------------------------------------------------------------------------------------
// Weight chart

void TrendScreen::rebuildWeightChart() {
    using Records = std::vector<store::MeasurementRecord>;
    const auto log = common::loadLogForScreen(ctx_, ctx_.currentSlot);
    const text::Date today = ctx_.clock.today();
    const bool corrected = ctx_.session.preferences().situationCorrection;
    if (chkHosei_->isChecked() != corrected) {
        const QSignalBlocker block(chkHosei_);
        chkHosei_->setChecked(corrected);
    }
    // The list orders the table and settles a tie for the reference. A list read in part
    // is told when it may move the drawn weights, and not on top of the log's own warning.
    const store::LoadedSituations situations = store::loadSituations(ctx_.dataFolder);
    if (corrected && !log->failed() && situations.failed() &&
        situations.status != disk::ReadStatus::Unusable)
        ctx_.dialogs.warn(QStringLiteral("状況リスト.txt を読み込めませんでした。\n"
                                         "読み込めた分だけで状況による差を求めています。"
                                         "ファイルとディスクの状態を確認してください。"),
                          QStringLiteral("読み込みエラー"));
    const pairly::trend::SituationCorrection correction =
        pairly::trend::situationCorrection(log->records, situations.entries, today);
    fillCorrectionTable(pairly::trend::correctionTable(correction));
    const Records moved =
        corrected ? pairly::trend::correctedLog(log->records, correction) : Records();
    const Records& drawn = corrected ? moved : log->records;

    series_ = pairly::trend::buildWeightSeries(drawn);
    // Once per rebuild: the check box only shows or hides the result.
    const std::vector<pairly::trend::TrendDay> days = pairly::trend::dailyTrend(drawn);
    trendPoints_ = pairly::trend::trendPerWeighing(drawn, days);
    const pairly::trend::GoalForecast goal =
        forecastGoal(days, ctx_.profile().targetWeightKg, today);
    lblYosoku_->setText(q(goal.forecast));
    lblTeitai_->setText(q(goal.stall));
    fan_ =
        goal.fan ? pairly::trend::fanSeries(drawn, *goal.fan, today) : pairly::trend::FanSeries();
    const pairly::trend::WeightAxes axes = weightChartAxes(series_);
    leftAxis_ = axes.left;
    setAxis(*mcrRentai_, widgets::Axis::Left, axes.left);
    setAxis(*mcrRentai_, widgets::Axis::Right, axes.right);

    // The summaries speak of the weights as they were written.
    const pairly::trend::TrendTexts texts =
        buildTrendTexts(corrected ? pairly::trend::buildWeightSeries(log->records) : series_,
                        ctx_.profile().targetWeightKg);
    lblNichis_->setText(q(texts.period));
    lblKiro_->setText(q(texts.lowest));
    cmdMokuChk_->setText(q(texts.goal));

    // The fan's lines come and go with the forecast.
    setWeightChartView(view_);
    // The points of thirty years are drawn when someone can see them.
    pointsPending_ = true;
    if (isVisible()) fillWeightChart();
}

void TrendScreen::refillMovingAverage() { fillWeightChart(); }

void TrendScreen::fillWeightChart() {
    pointsPending_ = false;
    const pairly::trend::WeightChart chart = buildWeightChart(
        series_, pairly::trend::movingAverageCount(cboIdou_->currentText().toStdString()));
    fillSeries(*mcrRentai_, chart.points(), {&chart.weight, &chart.movingAverage, &chart.bodyFat});
    mcrRentai_->setSeriesValues(kTrendSeries, trendPoints_);
    mcrRentai_->setSeriesLineWidth(kTrendSeries, 2);
    // Beyond the last weighing: the chart takes the fan's points as well.
    for (int k = 0; k < 3; ++k) {
        mcrRentai_->setSeriesValues(kFanSeries + k, fan_.lines[static_cast<std::size_t>(k)]);
        mcrRentai_->setSeriesMarker(kFanSeries + k, widgets::Marker::None);
    }
    averageDrawn_ = anyPoint(chart.movingAverage);
    trendDrawn_ = anyPoint(trendPoints_);
    updateWeightLegend();
}

void TrendScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (pointsPending_) fillWeightChart();
}

void TrendScreen::setWeightChartView(WeightView view) {
    view_ = view;
    const bool weight = view != WeightView::BodyFat;
    const bool bodyFat = view != WeightView::Weight;
    mcrRentai_->setAxisVisible(widgets::Axis::Left, weight);
    mcrRentai_->setAxisVisible(widgets::Axis::Right, bodyFat);
    mcrRentai_->setSeriesVisible(1, weight);
    mcrRentai_->setSeriesVisible(2, weight);
    mcrRentai_->setSeriesVisible(3, bodyFat);
    mcrRentai_->setSeriesVisible(kTrendSeries, weight && chkTrend_->isChecked());
    for (int k = 0; k < 3; ++k)
        mcrRentai_->setSeriesVisible(kFanSeries + k, weight && fan_.points() > 0);
    updateWeightLegend();
}

void TrendScreen::updateWeightLegend() {
    auto entry = [](const QColor& colour, const QString& caption, bool dashed = false) {
        // A dashed line shown as a dashed line: the goal and the forecast are no data.
        return QStringLiteral("<span style='color:%1; font-weight:bold'>%2</span> %3")
            .arg(colour.name(), dashed ? QStringLiteral("- - -") : QStringLiteral("━━"), caption);
    };
    QStringList entries;
    const bool weight = mcrRentai_->isSeriesVisible(1);
    if (weight && series_.count() > 0) entries << entry(kWeightColour, QStringLiteral("体重"));
    if (weight && averageDrawn_) entries << entry(kAverageColour, QStringLiteral("移動平均"));
    if (mcrRentai_->isSeriesVisible(3) && series_.count() > 0)
        entries << entry(kBodyFatColour,
                         weight ? QStringLiteral("体脂肪率（右軸）") : QStringLiteral("体脂肪率"));
    if (mcrRentai_->isSeriesVisible(kTrendSeries) && trendDrawn_)
        entries << entry(kTrendColour, QStringLiteral("トレンド線"));
    if (mcrRentai_->isSeriesVisible(kFanSeries)) {
        entries << entry(kFanColour, QStringLiteral("目標到達の予測"), true);
        entries << entry(kFanRangeColour, QStringLiteral("早い場合・遅い場合"), true);
    }
    const auto& goal = mcrRentai_->referenceLines();
    if (weight && !goal.empty())
        entries << entry(goal.front().colour, QStringLiteral("目標体重"), true);
    weightLegend_->setText(entries.join(QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;")));
}

void TrendScreen::fillCorrectionTable(const std::vector<pairly::trend::CorrectionRow>& rows) {
    msgHosei_->clearRows();
    for (const pairly::trend::CorrectionRow& row : rows)
        msgHosei_->addRow({q(row.situation), q(row.difference)});
    // Every row in view, up to four situations; a longer list scrolls (the side column
    // must fit the window's smallest height).
    msgHosei_->setVisibleRows(std::clamp(static_cast<int>(rows.size()) + 1, 2, 5));
    // The grid keeps room for a horizontal scroll bar that this narrow table never shows.
    msgHosei_->setFixedHeight(msgHosei_->minimumHeight() -
                              msgHosei_->horizontalScrollBar()->sizeHint().height());
}

void TrendScreen::setSituationCorrection(bool on) {
    const disk::WriteStatus status = store::writeSituationCorrection(ctx_.dataFolder, on ? 1 : 0);
    if (!common::settingWritten(ctx_, status, "状況補正.txt",
                                QStringLiteral("状況補正の設定を保存できませんでした。"))) {
        const QSignalBlocker block(chkHosei_);
        chkHosei_->setChecked(!on);  // the box shows the setting still in force
        return;
    }
    ctx_.session.preferences().situationCorrection = on;
    rebuildWeightChart();
    applyGoalMode();
}

void TrendScreen::setTrendLineShown(bool shown) {
    if (chkTrend_->isChecked() != shown) chkTrend_->setChecked(shown);
    setWeightChartView(view_);
}

// ---------------------------------------------------------------------------------------
// Goal mode

void TrendScreen::applyGoalMode() {
    setAxis(*mcrRentai_, widgets::Axis::Left,
            pairly::trend::goalModeAxis(leftAxis_, goalMode_, ctx_.profile().targetWeightKg));
    widgets::setBackColour(cmdMokuChk_, goalMode_ ? kGoalColour : QColor());
    applyGoalLine();
}

// The target as a dashed line in the partner's colour, when it lies within the weight axis
// or the goal mode puts it at the axis' foot.
void TrendScreen::applyGoalLine() {
    mcrRentai_->clearReferenceLines();
    const double target = ctx_.profile().targetWeightKg;
    // The range drawn: equal limits (one weight only) show a kilo either side.
    const double lo = mcrRentai_->displayedAxisMinimum(widgets::Axis::Left);
    const double hi = mcrRentai_->displayedAxisMaximum(widgets::Axis::Left);
    if (target > 0 && (goalMode_ || (target >= lo && target <= hi)))
        mcrRentai_->addReferenceLine(widgets::Axis::Left, target,
                                     common::partnerColour(ctx_.currentSlot));
    updateWeightLegend();
}

void TrendScreen::toggleGoalMode() {
    goalMode_ = !goalMode_;
    applyGoalMode();
}

// ---------------------------------------------------------------------------------------
// Opening and partner change

void TrendScreen::bringWeightChartToFront() {
    for (widgets::Chart* chart : metricCharts_) chart->hide();
    mcrRentai_->show();
    lblG11_->clear();
    lblG12_->clear();
    weightLegend_->show();
}

void TrendScreen::openTrendScreen() {
    refreshIfStale();
    optTai1_->setChecked(true);
    setWeightChartView(WeightView::Weight);
}

void TrendScreen::fill() {
    rebuildWeightChart();
    bringWeightChartToFront();
    applyGoalMode();
}

// ---------------------------------------------------------------------------------------
// Metric charts

void TrendScreen::showMetricChart(TrendChart kind) {
    if (kind == TrendChart::Weight) {
        bringWeightChartToFront();
        return;
    }
    const pairly::trend::MetricKind metric = metricKindOf(kind);
    const pairly::trend::MetricChart model =
        buildMetricChart(common::loadLogForScreen(ctx_, ctx_.currentSlot)->records, metric);
    widgets::Chart& chart = *metricCharts_[static_cast<std::size_t>(metric)];
    fillSeries(chart, static_cast<int>(model.series1.size()), {&model.series1, &model.series2});
    chart.setAxisRange(widgets::Axis::Left, model.left.minimum, model.left.maximum);
    // A count the chart cannot take (bone masses far apart) leaves the previous one.
    chart.setAxisDivisions(widgets::Axis::Left, model.left.majorDivisions);
    chart.setAxisVisible(widgets::Axis::Right, metric != pairly::trend::MetricKind::Bone);
    if (metric != pairly::trend::MetricKind::Bone)
        setAxis(chart, widgets::Axis::Right, model.right);

    for (widgets::Chart* c : metricCharts_) c->hide();
    // Behind the chart in front nothing needs drawing.
    mcrRentai_->hide();
    weightLegend_->hide();
    chart.show();
    const pairly::trend::MetricLegend legend = metricLegend(metric);
    lblG11_->setText(QString::fromUtf8(legend.series1));
    lblG12_->setText(QString::fromUtf8(legend.series2));
}

// ---------------------------------------------------------------------------------------
// Moving-average count

void TrendScreen::acceptMovingAverage() {
    const QString typed = cboIdou_->currentText();
    if (typed.isEmpty()) return;
    // Typed as every other number field is; kept as the plain number the file will hold.
    const auto accepted = pairly::trend::movingAverageText(typed.toStdString());
    if (!accepted) {
        cboIdou_->setEditText(QString());
        ctx_.dialogs.warn(
            q(disk::refusedNumberText(pairly::trend::kMovingAverageName, disk::NumberKind::Count)),
            QString::fromUtf8(pairly::trend::kMovingAverageName) + QStringLiteral("入力エラー"));
        return;
    }
    const std::string& text = *accepted;
    if (q(text) != typed) cboIdou_->setEditText(q(text));
    syncCountListIndex();
    refillMovingAverage();
    const disk::WriteStatus status = store::writeMovingAverage(ctx_.dataFolder, text);
    if (common::written(ctx_, status, "移動平均.txt")) {
        ctx_.movingAverage = text;
    } else if (!common::tellBlocked(ctx_, status, "移動平均.txt")) {
        ctx_.dialogs.warn(QStringLiteral("移動平均の設定を保存できませんでした。\n"
                                         "この設定は次回の起動時には元に戻ります。"),
                          QStringLiteral("保存エラー"));
    }
}

// A typed count that is also a list item becomes the current item before the box reacts
// to Enter or to leaving the field: otherwise it would report that as a pick.
void TrendScreen::syncCountListIndex() {
    const int index = cboIdou_->findText(cboIdou_->currentText());
    if (index >= 0 && index != cboIdou_->currentIndex()) cboIdou_->setCurrentIndex(index);
}

bool TrendScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != cboIdou_ && watched != cboIdou_->lineEdit())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            syncCountListIndex();
            // Taken from the event loop: a filter must not run boxes (or their event loop)
            // in the middle of the key's delivery.
            QMetaObject::invokeMethod(this, &TrendScreen::acceptMovingAverage,
                                      Qt::QueuedConnection);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        syncCountListIndex();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pairly::gui::trend
