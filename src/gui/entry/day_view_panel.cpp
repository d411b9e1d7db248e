#include "gui/entry/day_view_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/widgets/alignment.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/icons.h"

namespace pairly::gui::entry {

namespace {

const QColor kSeries1Colour(0, 64, 224);
const QColor kSeries2Colour(224, 0, 0);

// Widths of the columns the layout chooses (each holds its header and "-100.0Kg" or
// "32767kcal" at the grid's font); the last column of each grid is fixed. Narrow enough
// that the input screen fits a 1366-pixel-wide laptop screen with room to spare.
constexpr std::array<int, pairly::entry::kWeightGridColumns> kWeightWidths = {
    500, 2200, 1100, 1100, 450, 1100, 450, 800, 1000, pairly::entry::kLastColumnWidthTwips};
constexpr std::array<int, pairly::entry::kCompositionGridColumns> kCompositionWidths = {
    500, 2200, 1100, 1000, 1150, 700, 1100, 700, pairly::entry::kLastColumnWidthTwips};
// The 800-twip last column holds "22.0%" and "3.1Kg" at this size.
constexpr double kGridPointSize = 10;

template <std::size_t N>
void setUpGrid(widgets::Grid* grid, const std::array<const char*, N>& headers,
               const std::array<base::Align, N>& alignment, const std::array<int, N>& widths) {
    grid->clearRows();
    QStringList texts;
    for (const char* h : headers) texts << QString::fromUtf8(h);
    grid->setColumns(texts);
    for (std::size_t c = 0; c < N; ++c) {
        grid->setHeaderAlignment(int(c), widgets::Align::Center);
        grid->setColumnAlignment(int(c), widgets::toUi(alignment[c]));
        grid->setColumnWidthTwips(int(c), widths[c]);
    }
    grid->setFontPointSize(kGridPointSize);
    // Never narrower than its columns: a day's figures are read at a glance, not scrolled to.
    int pixels = 0;
    for (int w : widths) pixels += widgets::Grid::twipsToPixels(w, grid->logicalDpiX());
    grid->setMinimumWidth(pixels + grid->verticalScrollBar()->sizeHint().width() +
                          2 * grid->frameWidth() + 2);
}

QLabel* progressLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(150);
    return label;
}

}  // namespace

DayViewPanel::DayViewPanel(QWidget* parent) : QWidget(parent) {
    // Header row: the day face, then four headed progress labels.
    header_ = new QWidget(this);
    auto* head = new QHBoxLayout(header_);
    head->setContentsMargins(0, 0, 0, 0);
    auto* faceCell = new QGridLayout;
    const struct {
        const char* name;
        const char* tip;
        widgets::Picture picture;
    } faces[4] = {{"imgwara", "笑い", widgets::Picture::LaughingFace},
                  {"imgniko", "ニコ", widgets::Picture::SmilingFace},
                  {"imgkana", "ムスッ", widgets::Picture::SulkyFace},
                  {"imgNashi", "", widgets::Picture::NoEntrySign}};
    for (int i = 0; i < 4; ++i) {
        auto* face = widgets::pictureLabel(faces[i].name, QString::fromUtf8(faces[i].tip),
                                           faces[i].picture, header_);
        face->setVisible(i == 3);
        faceCell->addWidget(face, 0, 0);
        faces_[i] = face;
    }
    head->addLayout(faceCell);
    head->addSpacing(12);
    lblDspNissuu_ = progressLabel("lblDspNissuu", header_);
    lblDspTai_ = progressLabel("lblDspTai", header_);
    lblDspBmi_ = progressLabel("lblDspBmi", header_);
    lblDspHiman_ = progressLabel("lblDspHiman", header_);
    lblDspNissuu_->setMinimumWidth(170);
    const std::pair<const char*, QLabel*> progress[4] = {{"日数", lblDspNissuu_},
                                                         {"体重", lblDspTai_},
                                                         {"ＢＭＩ値", lblDspBmi_},
                                                         {"肥満度", lblDspHiman_}};
    for (const auto& [heading, label] : progress) {
        head->addWidget(new QLabel(QString::fromUtf8(heading), header_));
        head->addWidget(label);
        head->addSpacing(8);
    }
    head->addStretch(1);

    // Grids: the composition grid lies on the weight grid.
    msgDayList_ = new widgets::Grid(this);
    msgDayList_->setObjectName("msgDayList");
    msgDayList2_ = new widgets::Grid(this);
    msgDayList2_->setObjectName("msgDayList2");
    msgDayList_->setAccessibleName(QStringLiteral("この日の測定"));
    msgDayList2_->setAccessibleName(QStringLiteral("この日の体組成"));
    auto* grids = new QGridLayout;
    for (widgets::Grid* grid : {msgDayList_, msgDayList2_}) {
        grid->setVisibleRows(pairly::entry::kDayGridVisibleRows);
        grids->addWidget(grid, 0, 0);
    }
    resetDayGrids();

    // Charts: four in one place.
    auto* charts = new QGridLayout;
    const char* names[4] = {"mcrMain", "mcrMain2", "mcrMain3", "mcrMain4"};
    const char* readerNames[4] = {"この日の体重と体脂肪率のグラフ",
                                  "この日の基礎代謝と内臓脂肪のグラフ",
                                  "この日の筋肉量と筋肉スコアのグラフ", "この日の骨量のグラフ"};
    for (int i = 0; i < 4; ++i) {
        auto* chart = new widgets::Chart(this);
        chart->setObjectName(names[i]);
        chart->setAccessibleName(QString::fromUtf8(readerNames[i]));
        chart->setSeriesColor(1, kSeries1Colour);
        chart->setSeriesColor(2, kSeries2Colour);
        // The second measure has a scale of its own (kcal vs level, kg vs score, kg vs %).
        if (i < 3) chart->setSeriesAxis(2, widgets::Axis::Right);
        chart->setPointCount(1);
        chart->setMinimumHeight(220);
        charts->addWidget(chart, 0, 0);
        charts_[i] = chart;
    }
    connect(charts_[0], &widgets::Chart::clicked, this, &DayViewPanel::mainChartClicked);

    // Content options of weightChart and the legend captions of the chart in view.
    optTai_ = new QRadioButton(QStringLiteral("体重"), this);
    optTai_->setObjectName("optTai");
    optShi_ = new QRadioButton(QStringLiteral("体脂肪率"), this);
    optShi_->setObjectName("optShi");
    optKon_ = new QRadioButton(QStringLiteral("混合"), this);
    optKon_->setObjectName("optKon");
    optKon_->setChecked(true);
    for (QRadioButton* opt : {optTai_, optShi_, optKon_})
        connect(opt, &QRadioButton::toggled, this, [this](bool on) {
            if (on) applyContentOption();
        });
    lblG1_ = new QLabel(this);
    lblG1_->setObjectName("lblG1");
    lblG2_ = new QLabel(this);
    lblG2_->setObjectName("lblG2");
    for (auto [label, colour] :
         {std::pair{lblG1_, kSeries1Colour}, std::pair{lblG2_, kSeries2Colour}}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, colour);
        label->setPalette(pal);
        label->setMinimumWidth(80);
    }
    mainLegend_ = new QLabel(this);
    mainLegend_->setObjectName("lblMainLegend");
    mainLegend_->setTextFormat(Qt::RichText);
    auto* options = new QHBoxLayout;
    options->addWidget(optTai_);
    options->addWidget(optShi_);
    options->addWidget(optKon_);
    options->addStretch(1);
    options->addWidget(mainLegend_);
    options->addWidget(lblG1_);
    options->addSpacing(12);
    options->addWidget(lblG2_);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addLayout(grids, 0);
    box->addLayout(options);
    box->addLayout(charts, 1);

    showView(DayViewKind::Weight);
    applyContentOption();
}

void DayViewPanel::resetDayGrids() {
    setUpGrid(msgDayList_, pairly::entry::kWeightGridHeaders, pairly::entry::kWeightGridAlignment,
              kWeightWidths);
    setUpGrid(msgDayList2_, pairly::entry::kCompositionGridHeaders,
              pairly::entry::kCompositionGridAlignment, kCompositionWidths);
}

void DayViewPanel::renderChart(widgets::Chart* chart, const pairly::entry::DayChart& data,
                               bool rightAxis) {
    chart->setPointCount(0);
    chart->setPointCount(1);
    if (data.hasData) {
        chart->setPointCount(int(data.series1.size()));
        chart->setSeriesValues(1, data.series1);
        if (!data.series2.empty()) chart->setSeriesValues(2, data.series2);
    }
    chart->setAxisRange(widgets::Axis::Left, data.left.minimum, data.left.maximum);
    // A division count the chart refuses leaves the previous one.
    if (data.left.majorDivisions > 0)
        (void)chart->setAxisDivisions(widgets::Axis::Left, data.left.majorDivisions);
    if (rightAxis)
        chart->setAxisRange(widgets::Axis::Right, data.right.minimum, data.right.maximum);
    else
        chart->setAxisAuto(widgets::Axis::Right);
}

void DayViewPanel::render(const pairly::entry::DayViewModel& model) {
    resetDayGrids();
    for (const pairly::entry::WeightGridRow& row : model.weightRows) {
        const int r = msgDayList_->addCellRow({row.cells.begin(), row.cells.end()});
        const base::Rgb p = row.previousColour(), f = row.firstColour();
        msgDayList_->setCellColor(r, 4, QColor(p.r, p.g, p.b));
        msgDayList_->setCellColor(r, 6, QColor(f.r, f.g, f.b));
    }
    for (const pairly::entry::CompositionGridRow& row : model.compositionRows) {
        msgDayList2_->addCellRow({row.cells.begin(), row.cells.end()});
    }
    msgDayList_->scrollLastRowToTopIfMoreThan(pairly::entry::kDayGridVisibleRows);
    msgDayList2_->scrollLastRowToTopIfMoreThan(pairly::entry::kDayGridVisibleRows);

    renderChart(charts_[0], model.weightChart, true);
    renderChart(charts_[1], model.metabolismChart, false);
    renderChart(charts_[2], model.muscleChart, false);
    renderChart(charts_[3], model.boneChart, false);

    lblDspNissuu_->setText(QString::fromStdString(model.daysText));
    lblDspTai_->setText(QString::fromStdString(model.weightChangeText));
    lblDspBmi_->setText(QString::fromStdString(model.bmiText));
    lblDspHiman_->setText(QString::fromStdString(model.obesityText));

    const int shown = model.face == pairly::entry::DayFace::Laughing  ? 0
                      : model.face == pairly::entry::DayFace::Smiling ? 1
                      : model.face == pairly::entry::DayFace::Sulky   ? 2
                                                                      : 3;
    for (QLabel* face : faces_) face->hide();
    faces_[shown]->show();
}

void DayViewPanel::showView(DayViewKind view) {
    view_ = view;
    auto show = [](QWidget* w) {
        w->show();
        w->raise();
    };
    switch (view) {
        case DayViewKind::Weight:
            show(msgDayList_);
            show(charts_[0]);
            msgDayList2_->hide();
            for (int i = 1; i < 4; ++i) charts_[i]->hide();
            lblG1_->clear();
            lblG2_->clear();
            mainLegend_->show();
            break;
        case DayViewKind::Metabolism:
            mainLegend_->hide();
            show(msgDayList2_);
            show(charts_[1]);
            charts_[2]->hide();
            charts_[3]->hide();
            lblG1_->setText(QStringLiteral("基礎代謝"));
            lblG2_->setText(QStringLiteral("内臓脂肪"));
            break;
        case DayViewKind::Muscle:
            mainLegend_->hide();
            show(msgDayList2_);
            show(charts_[2]);
            charts_[3]->hide();
            lblG1_->setText(QStringLiteral("筋肉量"));
            lblG2_->setText(QStringLiteral("筋肉スコア"));
            break;
        case DayViewKind::Bone:
            mainLegend_->hide();
            show(msgDayList2_);
            show(charts_[3]);
            lblG1_->setText(QStringLiteral("骨量"));
            lblG2_->clear();
            break;
    }
}

void DayViewPanel::clearLegend() {
    lblG1_->clear();
    lblG2_->clear();
}

void DayViewPanel::applyMarkerMode(int mode) {
    const widgets::Marker marker = mode == 1   ? widgets::Marker::Circle
                                   : mode == 2 ? widgets::Marker::Ball
                                               : widgets::Marker::None;
    for (int i = 0; i < 4; ++i) {
        charts_[i]->setSeriesMarker(1, marker);
        if (i < 3) charts_[i]->setSeriesMarker(2, marker);
    }
}

void DayViewPanel::applyContentOption() {
    const bool weight = !optShi_->isChecked();
    const bool bodyFat = !optTai_->isChecked();
    widgets::Chart* chart = charts_[0];
    chart->setSeriesVisible(1, weight);
    chart->setAxisVisible(widgets::Axis::Left, weight);
    chart->setSeriesVisible(2, bodyFat);
    chart->setAxisVisible(widgets::Axis::Right, bodyFat);
    auto entry = [](const QColor& colour, const QString& caption) {
        return QStringLiteral("<span style='color:%1; font-weight:bold'>━━</span> %2")
            .arg(colour.name(), caption);
    };
    QStringList entries;
    if (weight)
        entries << entry(kSeries1Colour,
                         bodyFat ? QStringLiteral("体重（左軸）") : QStringLiteral("体重"));
    if (bodyFat)
        entries << entry(kSeries2Colour,
                         weight ? QStringLiteral("体脂肪率（右軸）") : QStringLiteral("体脂肪率"));
    mainLegend_->setText(entries.join(QStringLiteral("&nbsp;&nbsp;")));
}

void DayViewPanel::selectMixedOption() {
    optKon_->setChecked(true);
    applyContentOption();
}

void DayViewPanel::redrawMainChart() {
    charts_[0]->ensureBuilt();
    charts_[0]->update();
}

}  // namespace pairly::gui::entry
