#include "gui/trend/analysis_screen.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <memory>

#include "gui/widgets/grid.h"
#include "gui/widgets/text.h"

namespace pairly::gui::trend {

namespace {

constexpr double kGridFontPoints = 11;
// Rows each grid shows, the header included.
constexpr int kVisibleRows = 8;

using widgets::q;

// The grid keeps the rows and asks for the cells it draws: a long history is not copied
// into a text per cell.
void fillGrid(widgets::Grid& grid, const pairly::trend::GridRows& rows) {
    grid.clearRows();
    auto kept = std::make_shared<const pairly::trend::GridRows>(rows);
    grid.setRowSource(static_cast<int>(kept->size()), [kept](int row, int col) {
        const auto r = static_cast<std::size_t>(row - 1);
        if (r >= kept->size() || col < 0 || col >= 4) return text::Cell();
        return text::Cell::text((*kept)[r][static_cast<std::size_t>(col)]);
    });
}

QRadioButton* makeOption(const char* name, const char* caption, QWidget* parent,
                         QButtonGroup* group) {
    auto* option = new QRadioButton(QString::fromUtf8(caption), parent);
    option->setObjectName(name);
    group->addButton(option);
    return option;
}

QLabel* makeSummary(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f = label->font();
    f.setPointSizeF(11);
    f.setBold(true);
    label->setFont(f);
    // Both rows of frames keep one height whether a summary is shown or not.
    label->setMinimumHeight(label->fontMetrics().height() + 6);
    return label;
}

}  // namespace

AnalysisScreen::AnalysisScreen(common::AppContext& ctx, QWidget* parent)
    : Screen(ctx.session, WhenHidden::ReadAgain, parent), ctx_(ctx) {
    setObjectName("fraBunseki");

    auto* timeSide = new QWidget(this);
    auto* timeColumn = new QVBoxLayout(timeSide);
    auto* group1 = new QButtonGroup(timeSide);
    option1_[0] = makeOption("Option1_0", "前回との差", timeSide, group1);
    option1_[1] = makeOption("Option1_1", "初回との差", timeSide, group1);
    for (QRadioButton* option : option1_) {
        timeColumn->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) fillTimeSeries();
        });
    }
    timeColumn->addStretch(1);

    // The summaries go under their grids, where a whole line fits.
    label5_[0] = makeSummary("Label5_0", this);
    label5_[1] = makeSummary("Label5_1", this);

    auto* bandSide = new QWidget(this);
    auto* bandColumn = new QVBoxLayout(bandSide);
    auto* group2 = new QButtonGroup(bandSide);
    option2_[0] = makeOption("Option2_0", "１.０Ｋｇ刻み", bandSide, group2);
    option2_[1] = makeOption("Option2_1", "０.５Ｋｇ刻み", bandSide, group2);
    for (QRadioButton* option : option2_) {
        bandColumn->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) fillBandRanking();
        });
    }
    bandColumn->addStretch(1);

    auto* layout = new QGridLayout(this);
    // Tight margins: two rows of nine-row grids have to fit a window 700 pixels high.
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(6);
    layout->addWidget(
        buildFrame("fraB1", QStringLiteral("    時系列体重データ"), msgB1_, "msgB1",
                   {"回数", "日付", "体重", "初回差"}, {1085, 1500, 1150, 1100}, timeSide, nullptr),
        0, 0);
    layout->addWidget(buildFrame("fraB2", QStringLiteral("    区切り経過"), msgB2_, "msgB2",
                                 {"区切り", "日付", "達成", "経過"}, {1085, 1500, 1150, 1100},
                                 nullptr, label5_[0]),
                      0, 1);
    layout->addWidget(buildFrame("fraB3", QStringLiteral("    体重平均推移"), msgB3_, "msgB3",
                                 {"日数", "体重", "平均体重", "差"}, {1085, 1150, 1500, 1100},
                                 nullptr, label5_[1]),
                      1, 0);
    bandFrame_ = buildFrame("fraB4", QString(), msgB4_, "msgB4", {"順位", "体重範囲", "累積", "差"},
                            {1085, 2000, 880, 870}, bandSide, nullptr);
    msgB4_->setAccessibleName(QStringLiteral("体重範囲ごとの順位"));
    layout->addWidget(bandFrame_, 1, 1);
    layout->setRowStretch(2, 1);

    prepareForStartup();
}

QGroupBox* AnalysisScreen::buildFrame(const char* name, const QString& title, widgets::Grid*& grid,
                                      const char* gridName, const QStringList& headers,
                                      const std::array<int, 4>& widths, QWidget* side,
                                      QLabel* summary) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(name);
    grid = new widgets::Grid(frame);
    grid->setObjectName(gridName);
    grid->setAccessibleName(title.trimmed());
    grid->setFontPointSize(kGridFontPoints);
    grid->setColumns(headers);
    int width = 0;
    for (int c = 0; c < 4; ++c) {
        grid->setColumnWidthTwips(c, widths[static_cast<std::size_t>(c)]);
        grid->setColumnAlignment(c, widgets::Align::Right);
        grid->setHeaderAlignment(c, widgets::Align::Center);
        width += grid->columnWidth(c);
    }
    grid->setFixedWidth(width + grid->verticalScrollBar()->sizeHint().width() +
                        2 * grid->frameWidth());
    grid->setVisibleRows(kVisibleRows);
    grid->setFixedHeight(grid->minimumHeight());

    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(6, 2, 6, 4);
    column->setSpacing(2);
    auto* row = new QHBoxLayout;
    row->addWidget(grid);
    if (side) {
        side->setParent(frame);
        row->addWidget(side);
    }
    row->addStretch(1);
    column->addLayout(row);
    if (summary) {
        summary->setParent(frame);
        column->addWidget(summary);
    }
    column->addStretch(1);
    return frame;
}

void AnalysisScreen::prepareForStartup() {
    for (QRadioButton* option : {option1_[0], option2_[0]}) {
        const QSignalBlocker quiet(option);
        option->setChecked(true);
    }
    for (widgets::Grid* grid : {msgB1_, msgB2_, msgB3_, msgB4_}) grid->clearRows();
    bandFrame_->setTitle(
        q(pairly::trend::buildBandRanking({}, pairly::trend::BandWidth::OneKilo).title));
    for (QLabel* label : label5_) label->clear();
}

const pairly::trend::WeightSeries& AnalysisScreen::series() const { return series_; }

void AnalysisScreen::openAnalysisScreen() {
    series_ = {};  // the old series goes before the new one is made
    series_ =
        pairly::trend::buildWeightSeries(common::loadLogForScreen(ctx_, ctx_.currentSlot)->records);
    fillTimeSeries();
    fillMilestones();
    fillAverageTrend();
    fillBandRanking();
}

void AnalysisScreen::fillTimeSeries() {
    const pairly::trend::TimeSeries t =
        buildTimeSeries(series(), option1_[0]->isChecked() ? pairly::trend::Reference::Previous
                                                           : pairly::trend::Reference::First);
    msgB1_->setHeaderText(3, q(t.differenceHeader));
    fillGrid(*msgB1_, t.rows);
    // A long history opens on its newest rows, the view full down to the last one.
    msgB1_->scrollToBottom();
}

void AnalysisScreen::fillMilestones() {
    const pairly::trend::Milestones m = buildMilestones(series());
    fillGrid(*msgB2_, m.rows);
    msgB2_->scrollToBottom();
    // Without a milestone nothing has been achieved yet: no summary, rather than one
    // left from the other partner or an earlier log.
    label5_[0]->setText(m.summary ? q(*m.summary) : QString());
}

void AnalysisScreen::fillAverageTrend() {
    const pairly::trend::AverageTrend a = buildAverageTrend(series());
    fillGrid(*msgB3_, a.rows);
    msgB3_->scrollToBottom();
    label5_[1]->setText(q(a.summary));
}

void AnalysisScreen::fillBandRanking() {
    const pairly::trend::BandRanking b =
        buildBandRanking(series(), option2_[0]->isChecked() ? pairly::trend::BandWidth::OneKilo
                                                            : pairly::trend::BandWidth::HalfKilo);
    bandFrame_->setTitle(q(b.title));
    fillGrid(*msgB4_, b.rows);
}

}  // namespace pairly::gui::trend
