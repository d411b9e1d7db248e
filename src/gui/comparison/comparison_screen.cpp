#include "gui/comparison/comparison_screen.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/shell/help_texts.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"
#include "core/trend/couple_goal.h"
#include "core/trend/forecast.h"
#include "gui/comparison/daily_average_graph_panel.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/elided_text.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/icons.h"
#include "gui/widgets/text.h"

namespace pairly::gui::comparison {

// The full-length reference bar (100 %) with partner 1's share drawn over it from the left.
class ShareBar : public QFrame {
public:
    explicit ShareBar(QWidget* parent) : QFrame(parent), bar1_(new QFrame(this)) {
        setObjectName("shpBar2");
        bar1_->setObjectName("shpBar1");
        setFixedHeight(22);
        setMinimumWidth(200);
        widgets::setBackColour(this, partnerColor(2).lighter(115));
        widgets::setBackColour(bar1_, partnerColor(1));
        bar1_->setGeometry(0, 0, 0, height());
    }
    void setShare(float share1) {
        share1_ = share1;
        layoutBar();
    }
    int partner1Width() const { return bar1_->width(); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        layoutBar();
    }

private:
    void layoutBar() {
        bar1_->setGeometry(0, 0, pairly::comparison::shareBarWidth(width(), share1_), height());
    }

    QFrame* bar1_;
    float share1_ = 0;
};

namespace {

constexpr int kGridFontPoints = 11;
constexpr int kMarkSize = 26;
// The widest a nickname grows above its figures and beside the share bar.
constexpr int kNameWidth = 220;
constexpr int kShareNameWidth = 140;
// Nicknames in the couple's goal and the check-in.
constexpr int kGoalNameWidth = 120;
constexpr int kWeekNameWidth = 120;
// The column of the two together: this week's panel over the couple's goal.
constexpr int kTwoColumnWidth = 290;

QLabel* makeLabel(const QString& name, QWidget* parent, Qt::Alignment align) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

// A nickname of any length, cut to the room it has and whole in its tooltip.
widgets::ElidedLabel* makeNameLabel(const QString& name, QWidget* parent, Qt::Alignment align,
                                    int maximumWidth) {
    auto* label = new widgets::ElidedLabel(maximumWidth, parent);
    label->setObjectName(name);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QLabel* makeMark(const QString& name, QWidget* parent) {
    auto* mark = new QLabel(parent);
    mark->setObjectName(name);
    mark->setPixmap(widgets::winnerMark(kMarkSize));
    mark->setFixedSize(kMarkSize, kMarkSize);
    // A hidden mark keeps its place so the figures do not shift.
    QSizePolicy policy = mark->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    mark->setSizePolicy(policy);
    return mark;
}

void setPointSize(QWidget* w, double points, bool bold = false) {
    QFont f = w->font();
    f.setPointSizeF(points);
    f.setBold(bold);
    w->setFont(f);
}

using widgets::q;

}  // namespace

ComparisonScreen::ComparisonScreen(common::AppContext& ctx, QWidget* parent)
    : Screen(ctx.session, WhenHidden::ReadAgain, parent), ctx_(ctx) {
    setObjectName("fraAvgTai");

    // Statistics table: item captions, then each partner's figure with its winner mark.
    auto* stats = new QFrame(this);
    stats->setObjectName("fraHikaku");
    stats->setFrameShape(QFrame::StyledPanel);
    stats->setStyleSheet(
        "#fraHikaku { background: white; }"
        " QLabel[role=\"caption\"] { background: rgb(232, 238, 250); padding: 2px 10px; }"
        " QLabel[role=\"figure\"] { padding: 2px 6px; }");
    auto* table = new QGridLayout(stats);
    table->setHorizontalSpacing(6);
    table->setVerticalSpacing(4);
    for (int i = 0; i <= 7; ++i) {
        const auto idx = static_cast<std::size_t>(i);
        if (i > 0) {
            auto* caption = makeLabel(QString("lblItem_%1").arg(i), stats, Qt::AlignLeft);
            caption->setText(QString::fromUtf8(pairly::comparison::kStatisticsCaptions[idx]));
            caption->setProperty("role", "caption");
            if (i == 7)
                caption->setToolTip(QString::fromUtf8(pairly::comparison::kLossShareExplanation));
            setPointSize(caption, 10.5);
            table->addWidget(caption, i, 0);
        }
        // Figures are right-aligned against their winner marks, names centred above.
        const Qt::Alignment align = i == 0 ? Qt::AlignCenter : Qt::AlignRight;
        if (i == 0) {
            name1_ = makeNameLabel("lblD1_0", stats, align, kNameWidth);
            name2_ = makeNameLabel("lblD2_0", stats, align, kNameWidth);
            lblD1_[idx] = name1_;
            lblD2_[idx] = name2_;
        } else {
            lblD1_[idx] = makeLabel(QString("lblD1_%1").arg(i), stats, align);
            lblD2_[idx] = makeLabel(QString("lblD2_%1").arg(i), stats, align);
        }
        lblD1_[idx]->setProperty("role", "figure");
        lblD2_[idx]->setProperty("role", "figure");
        setPointSize(lblD1_[idx], i == 0 ? 12 : 11, i == 0);
        setPointSize(lblD2_[idx], i == 0 ? 12 : 11, i == 0);
        if (i == 0) {
            lblD1_[idx]->setStyleSheet(QString("color: %1").arg(partnerColor(1).name()));
            lblD2_[idx]->setStyleSheet(QString("color: %1").arg(partnerColor(2).name()));
            table->addWidget(lblD1_[idx], 0, 1, 1, 2);
            table->addWidget(lblD2_[idx], 0, 4, 1, 2);
            continue;
        }
        imgD1_[idx] = makeMark(QString("imgD1_%1").arg(i), stats);
        imgD2_[idx] = makeMark(QString("imgD2_%1").arg(i), stats);
        table->addWidget(lblD1_[idx], i, 1);
        table->addWidget(imgD1_[idx], i, 2);
        table->addWidget(lblD2_[idx], i, 4);
        table->addWidget(imgD2_[idx], i, 5);
    }
    // The report button takes the free corner above the captions, beside the names.
    cmdReport_ = new QPushButton(QStringLiteral("週・月の平均"), stats);
    cmdReport_->setObjectName("cmdReport");
    cmdReport_->setToolTip(
        QStringLiteral("二人の週ごと・月ごとの平均体重を別のウィンドウで表示します"));
    cmdReport_->setAutoDefault(false);
    connect(cmdReport_, &QPushButton::clicked, this, &ComparisonScreen::openReport);
    table->addWidget(cmdReport_, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    table->setColumnStretch(1, 1);
    table->setColumnStretch(4, 1);
    table->setColumnMinimumWidth(3, 12);
    table->setColumnMinimumWidth(6, 12);

    // Share of all measurements: partner 1's bar over the full-length bar.
    shareBar_ = new ShareBar(this);
    shareName1_ = makeNameLabel("lblShare1", this, Qt::AlignRight, kShareNameWidth);
    shareName2_ = makeNameLabel("lblShare2", this, Qt::AlignLeft, kShareNameWidth);
    shareName1_->setStyleSheet(QString("color: %1").arg(partnerColor(1).name()));
    shareName2_->setStyleSheet(QString("color: %1").arg(partnerColor(2).name()));
    auto* shareRow = new QHBoxLayout;
    shareRow->addWidget(shareName1_);
    shareRow->addWidget(shareBar_, 1);
    shareRow->addWidget(shareName2_);

    lblFutari_ = new QLabel(this);
    lblFutari_->setObjectName("lblFutari");
    lblFutari_->setWordWrap(true);
    lblFutari_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setPointSize(lblFutari_, 10.5, true);
    lblFutari_->setStyleSheet(QStringLiteral("color: rgb(160, 48, 80)"));

    auto* left = new QVBoxLayout;
    left->addWidget(stats);
    left->addLayout(shareRow);
    left->addStretch(1);

    msgAvgtai_ = new widgets::Grid(this);
    msgAvgtai_->setObjectName("msgAvgtai");
    msgAvgtai_->setAccessibleName(QStringLiteral("二人の日ごとの平均体重"));
    msgAvgtai_->setFontPointSize(kGridFontPoints);
    resetDailyAverageTable();
    msgAvgtai_->setVisibleRows(pairly::comparison::kDailyAverageVisibleRows);
    msgAvgtai_->setFixedHeight(msgAvgtai_->minimumHeight());
    msgAvgtai_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    // The two together stand beside the statistics, where the window has room to spare in
    // width but none in height.
    auto* two = new QVBoxLayout;
    QGroupBox* week = buildCheckInPanel();
    week->setFixedWidth(kTwoColumnWidth);
    lblFutari_->setFixedWidth(kTwoColumnWidth);
    two->addWidget(week);
    two->addWidget(lblFutari_);
    two->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(two);
    top->addWidget(msgAvgtai_, 0, Qt::AlignTop);

    graph_ = new DailyAverageGraphPanel(ctx_, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(graph_, 1);
}

QGroupBox* ComparisonScreen::buildCheckInPanel() {
    auto* panel = new QGroupBox(QString::fromUtf8(pairly::comparison::kCheckInTitle), this);
    panel->setObjectName("fraShukan");
    panel->setToolTip(QString::fromUtf8(pairly::shell::kCheckInHelp));
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(3);
    auto label = [panel](const QString& name, Qt::Alignment align) {
        QLabel* l = makeLabel(name, panel, align);
        setPointSize(l, 10.5);
        return l;
    };
    weekDates_ = label("lblShukanWeek", Qt::AlignLeft);
    grid->addWidget(weekDates_, 0, 0);
    const char* heads[2] = {"測った日", "先週比"};
    for (int c = 0; c < 2; ++c) {
        QLabel* head = label(QString(), Qt::AlignRight);
        head->setText(QString::fromUtf8(heads[c]));
        head->setStyleSheet(QStringLiteral("color: rgb(96, 96, 96)"));
        grid->addWidget(head, 0, c + 1);
    }
    for (int p = 0; p < 2; ++p) {
        const auto i = static_cast<std::size_t>(p);
        weekNames_[i] = makeNameLabel(QString("lblShukanName_%1").arg(p + 1), panel, Qt::AlignLeft,
                                      kWeekNameWidth);
        setPointSize(weekNames_[i], 10.5, true);
        weekNames_[i]->setStyleSheet(QString("color: %1").arg(partnerColor(p + 1).name()));
        weekDays_[i] = label(QString("lblShukanDays_%1").arg(p + 1), Qt::AlignRight);
        weekChanges_[i] = label(QString("lblShukanChange_%1").arg(p + 1), Qt::AlignRight);
        grid->addWidget(weekNames_[i], p + 1, 0);
        grid->addWidget(weekDays_[i], p + 1, 1);
        grid->addWidget(weekChanges_[i], p + 1, 2);
    }
    weekStreak_ = label("lblShukanRenzoku", Qt::AlignLeft);
    grid->addWidget(weekStreak_, 3, 0, 1, 3);
    return panel;
}

// The report window belongs to the main window but refers to the session: it goes with
// this screen, before the session does.
ComparisonScreen::~ComparisonScreen() { delete report_.data(); }

void ComparisonScreen::openReport() {
    if (!report_) {
        report_ = new ReportWindow(ctx_, window());
        report_->setPagePrinter(reportPrinter_);
    }
    report_->refreshReport();
    report_->showNormal();
    report_->raise();
    report_->activateWindow();
}

void ComparisonScreen::closeReportWindow() {
    if (report_) report_->close();
}

void ComparisonScreen::setReportPrinter(ReportWindow::PagePrinter printer) {
    reportPrinter_ = std::move(printer);
    if (report_) report_->setPagePrinter(reportPrinter_);
}

void ComparisonScreen::fill() {
    resetDailyAverageTable();
    refreshComparisonScreen();
}

bool ComparisonScreen::concerns(const session::Event&) const { return true; }

void ComparisonScreen::followShown(const session::Event& event) {
    // Both partners are shown whoever is selected: only a change of the logs is news.
    if (event.what == session::Change::Log) Screen::followShown(event);
}

void ComparisonScreen::resetDailyAverageTable() {
    msgAvgtai_->clearRows();
    msgAvgtai_->setColumns({"日数", "日付", "体重１", "体重２"});
    const struct {
        int twips;
        widgets::Align align;
    } columns[] = {{660, widgets::Align::Right},
                   {1150, widgets::Align::Center},
                   {700, widgets::Align::Right},
                   {700, widgets::Align::Right}};
    int width = 0;
    for (int c = 0; c < 4; ++c) {
        msgAvgtai_->setColumnWidthTwips(c, columns[c].twips);
        msgAvgtai_->setColumnAlignment(c, columns[c].align);
        msgAvgtai_->setHeaderAlignment(c, widgets::Align::Center);
        width += msgAvgtai_->columnWidth(c);
    }
    // Room for the columns, the vertical scroll bar and the frame.
    msgAvgtai_->setFixedWidth(width + msgAvgtai_->verticalScrollBar()->sizeHint().width() +
                              2 * msgAvgtai_->frameWidth());
}

void ComparisonScreen::refreshComparisonScreen() {
    const session::SharedLog log1 = common::loadLogForScreen(ctx_, 1);
    const session::SharedLog log2 = common::loadLogForScreen(ctx_, 2);
    pairly::comparison::ComparisonInput input;
    input.log1 = log1->records;
    input.log2 = log2->records;
    // The names as the partner buttons show them, and the targets as last saved.
    input.name1 = store::partnerCaption(ctx_.profileOf(1), 1);
    input.name2 = store::partnerCaption(ctx_.profileOf(2), 2);
    input.target1 = ctx_.profileOf(1).targetWeightKg;
    input.target2 = ctx_.profileOf(2).targetWeightKg;
    model_ = pairly::comparison::buildComparison(input);

    fillDailyAverageTable();
    fillStatistics();
    graph_->setAverages(model_.daily, q(input.name1), q(input.name2));
    fillCoupleGoal(log1, log2);
    fillCheckIn(
        pairly::comparison::weeklyCheckIn(log1->records, log2->records, ctx_.clock.today()));
}

// Each partner's forecast from the weights as written; long nicknames cut so that the
// sentence keeps to a few lines of its narrow column.
void ComparisonScreen::fillCoupleGoal(const session::SharedLog& log1,
                                      const session::SharedLog& log2) {
    const text::Date today = ctx_.clock.today();
    const float target1 = ctx_.profileOf(1).targetWeightKg;
    const float target2 = ctx_.profileOf(2).targetWeightKg;
    const pairly::trend::GoalForecast goal1 =
        pairly::trend::forecastGoal(pairly::trend::dailyTrend(log1->records), target1, today);
    const pairly::trend::GoalForecast goal2 =
        pairly::trend::forecastGoal(pairly::trend::dailyTrend(log2->records), target2, today);
    const widgets::ElidedTexts names =
        widgets::elideEach(lblFutari_->fontMetrics(),
                           {q(store::partnerCaption(ctx_.profileOf(1), 1)),
                            q(store::partnerCaption(ctx_.profileOf(2), 2))},
                           kGoalNameWidth);
    lblFutari_->setText(
        q(pairly::trend::coupleGoalText({names.shown[0].toStdString(), target1, goal1},
                                        {names.shown[1].toStdString(), target2, goal2})));
    const QString help = QString::fromUtf8(pairly::shell::kCoupleGoalHelp);
    lblFutari_->setToolTip(names.tip.isEmpty() ? help : names.tip + "\n\n" + help);
}

void ComparisonScreen::fillCheckIn(const pairly::comparison::WeeklyCheckIn& week) {
    const text::Date sunday = text::dateFromDayNumber(week.weekStart);
    const text::Date saturday = text::dateFromDayNumber(week.weekStart + 6);
    weekDates_->setText(q(text::formatDate(sunday)) + QStringLiteral("～") +
                        q(text::formatDate(saturday)).mid(5));
    for (std::size_t p = 0; p < 2; ++p) {
        const pairly::comparison::PartnerWeek& partner = week.partners[p];
        weekNames_[p]->setCaption(q(p == 0 ? model_.rows[0].text1 : model_.rows[0].text2));
        weekDays_[p]->setText(q(partner.daysText));
        weekChanges_[p]->setText(q(partner.changeText));
    }
    weekStreak_->setText(q(week.streakText));
}

void ComparisonScreen::prepareForStartup() { graph_->prepareForStartup(); }

void ComparisonScreen::fillDailyAverageTable() {
    msgAvgtai_->clearRows();
    // The table asks model_, which stays until the next fill, for the rows it draws.
    msgAvgtai_->setRowSource(static_cast<int>(model_.daily.rows.size()), [this](int row, int col) {
        const auto r = static_cast<std::size_t>(row - 1);
        if (r >= model_.daily.rows.size()) return text::Cell();
        const pairly::comparison::DailyAverageRow& day = model_.daily.rows[r];
        switch (col) {
            case 0:
                return text::Cell::text(day.dayNumber);
            case 1:
                return text::Cell::text(day.date);
            case 2:
                return text::Cell::text(day.weight1);
            case 3:
                return text::Cell::text(day.weight2);
            default:
                return text::Cell();
        }
    });
    // A long list opens on its latest days, the view full down to the last one.
    msgAvgtai_->scrollToBottom();
}

void ComparisonScreen::fillStatistics() {
    for (std::size_t i = 0; i < model_.rows.size(); ++i) {
        const pairly::comparison::StatisticsRow& row = model_.rows[i];
        if (i == 0) {
            name1_->setCaption(q(row.text1));
            name2_->setCaption(q(row.text2));
            continue;
        }
        lblD1_[i]->setText(q(row.text1));
        lblD2_[i]->setText(q(row.text2));
        imgD1_[i]->setVisible(row.mark1);
        imgD2_[i]->setVisible(row.mark2);
    }
    shareBar_->setShare(model_.share1);
    shareName1_->setCaption(q(model_.rows[0].text1));
    shareName2_->setCaption(q(model_.rows[0].text2));
}

}  // namespace pairly::gui::comparison
