#include "gui/comparison/daily_average_graph_panel.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/common/partner_colour.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/elided_text.h"

namespace pairly::gui::comparison {

namespace {

// Short series get markers so that a lone day still shows as a dot.
constexpr int kMarkerPointLimit = 45;
// The widest a nickname grows in the legend.
constexpr int kLegendNameWidth = 200;

void applyAxis(widgets::Chart& chart, widgets::Axis axis,
               const pairly::comparison::AxisRange& range) {
    chart.setAxisVisible(axis, range.used);
    if (!range.used) {
        chart.setAxisAuto(axis);
        return;
    }
    const pairly::comparison::AxisRange shown = chart::displayedRange(range);
    chart.setAxisRange(axis, shown.minimum, shown.maximum);
    chart.setAxisDivisions(axis, chart::majorDivisions(shown));
}

void fillChart(widgets::Chart& chart, const pairly::comparison::AverageChart& model, bool twoAxes) {
    chart.setPointCount(0);
    chart.setPointCount(model.points());
    chart.setSeriesValues(1, model.series1);
    chart.setSeriesValues(2, model.series2);
    chart.setSeriesAxis(2, twoAxes ? widgets::Axis::Right : widgets::Axis::Left);
    chart.setMarker(model.points() <= kMarkerPointLimit ? widgets::Marker::Circle
                                                        : widgets::Marker::None);
    applyAxis(chart, widgets::Axis::Left, model.left);
    applyAxis(chart, widgets::Axis::Right, twoAxes ? model.right : pairly::comparison::AxisRange{});
}

// Each partner's target weight (0 = none) as a dashed line on that partner's axis.
void drawTargets(widgets::Chart& chart, widgets::Axis axis1, widgets::Axis axis2, float target1,
                 float target2) {
    chart.clearReferenceLines();
    if (target1 > 0) chart.addReferenceLine(axis1, target1, partnerColor(1));
    if (target2 > 0) chart.addReferenceLine(axis2, target2, partnerColor(2));
}

widgets::Chart* makeChart(const char* name, QWidget* parent) {
    auto* chart = new widgets::Chart(parent);
    chart->setObjectName(name);
    chart->setSeriesColor(1, partnerColor(1));
    chart->setSeriesColor(2, partnerColor(2));
    chart->setSeriesVisible(3, false);
    // Tall enough for ten labelled divisions of the weight axis; the labels are kept whole
    // at the window's smallest size too, where the chart is a little lower than that.
    chart->setMinimumHeight(280);
    chart->setAxisLabelsWhole(true);
    return chart;
}

QRadioButton* makeOption(const char* name, const char* caption, QWidget* parent) {
    auto* option = new QRadioButton(QString::fromUtf8(caption), parent);
    option->setObjectName(name);
    return option;
}

// A framed set of options, listed top to bottom, exclusive among themselves.
QFrame* makeOptionFrame(const char* name, QWidget* parent,
                        std::initializer_list<QRadioButton*> options) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (QRadioButton* option : options) {
        option->setParent(frame);
        layout->addWidget(option);
        group->addButton(option);
    }
    return frame;
}

}  // namespace

QColor partnerColor(int slot) { return common::partnerColour(slot); }

void showHelpTourText(common::AppContext& ctx, std::initializer_list<const char*> lines) {
    QString text;
    for (const char* line : lines) text += QString::fromUtf8(line) + "\n";
    common::showHelpTour(ctx, text);
}

DailyAverageGraphPanel::DailyAverageGraphPanel(common::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    setObjectName("pnlAvgtaiGraph");
    mcrAvgtai_ = makeChart("mcrAvgtai", this);
    mcrAvgtai2_ = makeChart("mcrAvgtai2", this);
    mcrAvgHi_ = makeChart("mcrAvgHi", this);
    mcrAvgtai_->setAccessibleName(QStringLiteral("二人の平均体重のグラフ"));
    mcrAvgtai2_->setAccessibleName(QStringLiteral("二人の平均体重のグラフ（重ねた表示）"));
    mcrAvgHi_->setAccessibleName(QStringLiteral("二人の平均体重のスタート比（%）のグラフ"));
    legend_ = new QLabel(this);
    legend_->setObjectName("lblAvgtaiLegend");
    legend_->setTextFormat(Qt::RichText);

    optGra1_ = makeOption("optGra1", "同一軸上でグラフ表示", this);
    optGra2_ = makeOption("optGra2", "別々の軸上でグラフ表示", this);
    optGra3_ = makeOption("optGra3", "スタート比（%）で表示", this);
    auto* viewFrame = makeOptionFrame("fraGra", this, {optGra2_, optGra1_, optGra3_});
    optG1_ = makeOption("optG1", "実際の値のまま", this);
    optG2_ = makeOption("optG2", "グラフを重ねる", this);
    fraDgr_ = makeOptionFrame("fraDgr", this, {optG1_, optG2_});
    optG3_ = makeOption("optG3", "下限自動", this);
    optG4_ = makeOption("optG4", "下限目標", this);
    fraDgr2_ = makeOptionFrame("fraDgr2", this, {optG3_, optG4_});

    auto* options = new QVBoxLayout;
    options->addWidget(viewFrame);
    options->addWidget(fraDgr_);
    options->addWidget(fraDgr2_);
    options->addStretch(1);

    auto* charts = new QVBoxLayout;
    charts->addWidget(legend_);
    charts->addWidget(mcrAvgtai_, 1);
    charts->addWidget(mcrAvgtai2_, 1);
    charts->addWidget(mcrAvgHi_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(charts, 1);
    layout->addLayout(options);

    // clicked, not toggled: selecting the option already selected applies it again,
    // which is how the overlay is brought back after a refresh.
    connect(optGra1_, &QRadioButton::clicked, this, [this] { showSameAxisView(); });
    connect(optGra2_, &QRadioButton::clicked, this, [this] { showSeparateAxesView(); });
    connect(optGra3_, &QRadioButton::clicked, this, [this] { showPercentView(); });
    connect(optG1_, &QRadioButton::clicked, this, [this] { rebuildSameAxisChart(); });
    connect(optG2_, &QRadioButton::clicked, this, [this] { overlaySameAxisChart(); });
    connect(optG3_, &QRadioButton::clicked, this,
            [this] { setSeparateLowerBounds(pairly::comparison::LowerBoundMode::Automatic); });
    connect(optG4_, &QRadioButton::clicked, this,
            [this] { setSeparateLowerBounds(pairly::comparison::LowerBoundMode::Target); });

    prepareForStartup();
}

void DailyAverageGraphPanel::prepareForStartup() {
    optGra2_->setChecked(true);
    optG1_->setChecked(true);
    optG3_->setChecked(true);
    mcrAvgtai2_->setVisible(false);
    mcrAvgHi_->setVisible(false);
    fraDgr_->setVisible(false);
    mcrAvgtai_->setVisible(true);
    fraDgr2_->setVisible(true);
    updateLegend();
}

void DailyAverageGraphPanel::setAverages(const pairly::comparison::DailyAverages& daily,
                                         const QString& name1, const QString& name2) {
    name1_ = name1;
    name2_ = name2;
    separate_ = daily.separate;
    automaticLowerBound1_ = daily.automaticLowerBound1;
    automaticLowerBound2_ = daily.automaticLowerBound2;
    renderSeparate();
    rebuildSameAxisChart();
    percent_ = pairly::comparison::percentFromStartChart(separate_);
    fillChart(*mcrAvgHi_, percent_, false);
    updateLegend();
}

void DailyAverageGraphPanel::rebuildSameAxisChart() {
    same_ = pairly::comparison::rebuildSameAxisChart(separate_);
    renderSame(false);
}

void DailyAverageGraphPanel::overlaySameAxisChart() {
    same_ = pairly::comparison::overlaySameAxisChart(separate_, same_);
    renderSame(true);
}

void DailyAverageGraphPanel::setSeparateLowerBounds(pairly::comparison::LowerBoundMode mode) {
    pairly::comparison::setSeparateLowerBounds(
        separate_, mode,
        {automaticLowerBound1_, automaticLowerBound2_, ctx_.profileOf(1).targetWeightKg,
         ctx_.profileOf(2).targetWeightKg});
    renderSeparate();
}

// Hide before show: a widget being shown lays its window out at once, and with both
// charts shown for that moment the window would grow to hold them.
void DailyAverageGraphPanel::showSameAxisView() {
    mcrAvgtai_->setVisible(false);
    mcrAvgHi_->setVisible(false);
    fraDgr2_->setVisible(false);
    mcrAvgtai2_->setVisible(true);
    fraDgr_->setVisible(true);
    updateLegend();
    showHelpTourText(ctx_, {
                               "二人の平均体重データを同一の軸でグラフ表示します。",
                               "",
                               "実際のデータをそのままにグラフ表示するモードと",
                               "体重の重い方に軽い方を重ねた形でグラフ表示するモードがあります。",
                               "",
                               "グラフを重ねるモードにすると純粋にお互いの体重の増減推移を比較す"
                               "ることができます。",
                           });
}

void DailyAverageGraphPanel::showSeparateAxesView() {
    mcrAvgtai2_->setVisible(false);
    mcrAvgHi_->setVisible(false);
    fraDgr_->setVisible(false);
    mcrAvgtai_->setVisible(true);
    fraDgr2_->setVisible(true);
    updateLegend();
    showHelpTourText(ctx_, {
                               "登録者それぞれの平均体重データを別々の軸でグラフ表示します。",
                               "登録者１が左の軸、登録者２が右の軸になります。",
                               "",
                               "Ｙ軸の下限値を最低体重（平均値）から自動的に設定するモードと",
                               "目標値として登録した値を下限値にするモードがあります。",
                               "",
                           });
}

void DailyAverageGraphPanel::showPercentView() {
    mcrAvgtai_->setVisible(false);
    mcrAvgtai2_->setVisible(false);
    fraDgr_->setVisible(false);
    fraDgr2_->setVisible(false);
    mcrAvgHi_->setVisible(true);
    updateLegend();
    showHelpTourText(ctx_, {
                               "二人の平均体重を、それぞれの最初の日を０とした増減率（%）で",
                               "同一の軸にグラフ表示します。",
                               "",
                               "体格の違う二人でも、体重の何%を減らせたかで公平に比べられます。",
                               "－５は最初の日より体重が５%減ったことを表します。",
                           });
}

void DailyAverageGraphPanel::renderSeparate() {
    fillChart(*mcrAvgtai_, separate_, true);
    drawTargets(*mcrAvgtai_, widgets::Axis::Left, widgets::Axis::Right,
                ctx_.profileOf(1).targetWeightKg, ctx_.profileOf(2).targetWeightKg);
}

void DailyAverageGraphPanel::renderSame(bool overlaid) {
    fillChart(*mcrAvgtai2_, same_, false);
    // Overlaid, one partner's line is moved onto the other's: a target would stand at a
    // weight that line no longer shows.
    if (overlaid) {
        mcrAvgtai2_->clearReferenceLines();
        return;
    }
    drawTargets(*mcrAvgtai2_, widgets::Axis::Left, widgets::Axis::Left,
                ctx_.profileOf(1).targetWeightKg, ctx_.profileOf(2).targetWeightKg);
}

void DailyAverageGraphPanel::updateLegend() {
    const bool separateView = !mcrAvgtai_->isHidden();
    auto entry = [&](int slot, const QString& name, const char* axis) {
        QString text = QStringLiteral("<span style='color:%1; font-weight:bold'>━━</span> %2")
                           .arg(partnerColor(slot).name(), name.toHtmlEscaped());
        if (separateView) text += QString::fromUtf8(axis);
        return text;
    };
    // Long nicknames are cut so that the legend never widens the window.
    const widgets::ElidedTexts names =
        widgets::elideEach(legend_->fontMetrics(), {name1_, name2_}, kLegendNameWidth);
    legend_->setToolTip(names.tip);
    QString text = entry(1, names.shown[0], "（左軸）") + "&nbsp;&nbsp;&nbsp;&nbsp;" +
                   entry(2, names.shown[1], "（右軸）");
    if (!mcrAvgHi_->isHidden())
        text += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;縦軸：最初の日からの増減（%）");
    legend_->setText(text);
}

}  // namespace pairly::gui::comparison
