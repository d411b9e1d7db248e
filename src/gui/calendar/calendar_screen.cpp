#include "gui/calendar/calendar_screen.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/widgets/back_colour.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/icons.h"
#include "gui/widgets/text.h"

namespace pairly::gui::calendar {

namespace {

constexpr int kGridFontPoints = 10;
constexpr int kMonthColumnTwips = 1315;
constexpr int kDayColumnTwips = 305;
constexpr int kFaceSize = 64;

constexpr std::array<const char*, pairly::calendar::kLegendCount> kLegendNames = {
    "lblDn_c", "lblUp_c", "lblSm_c", "lblOne_c", "lblNon_c"};

using widgets::q;

void setPointSize(QWidget* w, double points, bool bold = false) {
    QFont f = w->font();
    f.setPointSizeF(points);
    f.setBold(bold);
    w->setFont(f);
}

QLabel* makeLabel(const char* name, QWidget* parent, Qt::Alignment align) {
    auto* label = new QLabel(parent);
    if (name) label->setObjectName(name);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QLabel* makeFace(const char* name, widgets::Picture picture, const QString& toolTip,
                 QWidget* parent) {
    auto* face = new QLabel(parent);
    face->setObjectName(name);
    face->setToolTip(toolTip);
    face->setPixmap(widgets::pixmap(picture, {kFaceSize, kFaceSize}));
    face->setFixedSize(kFaceSize, kFaceSize);
    return face;
}

}  // namespace

CalendarScreen::CalendarScreen(common::AppContext& ctx, QWidget* parent)
    : Screen(ctx.session, WhenHidden::ReadAgain, parent), ctx_(ctx) {
    setObjectName("fraCale");

    msgList2_ = new widgets::Grid(this);
    msgList2_->setObjectName("msgList2");
    msgList2_->setAccessibleName(QStringLiteral("この月の測定"));
    msgList2_->setFontPointSize(kGridFontPoints);
    prepareCalendarGrid();
    int width = 0;
    for (int c = 0; c < msgList2_->columnCount(); ++c) width += msgList2_->columnWidth(c);
    // Room for the 32 columns, the vertical scroll bar and the frame: no sideways scrolling.
    msgList2_->setFixedWidth(width + msgList2_->verticalScrollBar()->sizeHint().width() +
                             2 * msgList2_->frameWidth());
    msgList2_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(msgList2_, &widgets::Grid::doubleClickedCell, this, &CalendarScreen::jumpToInputDate);

    QScrollBar* bar = msgList2_->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (keepNewestInView_) bar->setValue(maximum);
    });
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { keepNewestInView_ = value >= bar->maximum(); });

    // Display mode.
    const char* modeCaptions[] = {"詳細表示", "簡易表示", "前日比"};
    auto* modeRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(QString::fromUtf8(modeCaptions[i]), this);
        button->setObjectName(QString("cmdSel1_%1").arg(i));
        button->setAutoDefault(false);
        button->setMinimumHeight(30);
        connect(button, &QPushButton::clicked, this, [this, i] { setCalendarMode(i); });
        cmdSel1_[static_cast<std::size_t>(i)] = button;
        modeRow->addWidget(button);
    }

    // Legend: one label per class with its fixed colour and its day count.
    auto* legendBox = new QVBoxLayout;
    legendBox->setSpacing(4);
    for (int i = 0; i < pairly::calendar::kLegendCount; ++i) {
        const auto entry = static_cast<pairly::calendar::Legend>(i);
        QLabel* label = makeLabel(kLegendNames[static_cast<std::size_t>(i)], this, Qt::AlignLeft);
        label->setFrameShape(QFrame::Box);
        label->setFrameShadow(QFrame::Plain);
        label->setMinimumHeight(28);
        label->setIndent(8);
        setPointSize(label, 11);
        widgets::setBackColour(label, widgets::toQColor(pairly::calendar::legendColour(entry)));
        legend_[static_cast<std::size_t>(i)] = label;
        legendBox->addWidget(label);
    }

    // Good days against bad days, the sign between them and the face below.
    auto* summary = new QFrame(this);
    summary->setObjectName("fraCaleTotal");
    summary->setFrameShape(QFrame::StyledPanel);
    auto* table = new QGridLayout(summary);
    table->setHorizontalSpacing(8);
    auto* goodCaption = makeLabel(nullptr, summary, Qt::AlignHCenter);
    goodCaption->setText(QStringLiteral("体重減 ／ 増減無し"));
    auto* badCaption = makeLabel(nullptr, summary, Qt::AlignHCenter);
    badCaption->setText(QStringLiteral("体重増 ／ １回だけ"));
    lblGenT_ = makeLabel("lblGenT", summary, Qt::AlignHCenter);
    lblZouT_ = makeLabel("lblZouT", summary, Qt::AlignHCenter);
    lblHugou_ = makeLabel("lblHugou", summary, Qt::AlignHCenter);
    setPointSize(lblGenT_, 16, true);
    setPointSize(lblZouT_, 16, true);
    setPointSize(lblHugou_, 22, true);
    imgWara2_ =
        makeFace("imgWara2", widgets::Picture::LaughingFace, QStringLiteral("笑い"), summary);
    imgNiko2_ =
        makeFace("imgNiko2", widgets::Picture::SmilingFace, QStringLiteral("ニコ"), summary);
    imgKana2_ =
        makeFace("imgKana2", widgets::Picture::SadFace, QStringLiteral("かなしい"), summary);
    table->addWidget(goodCaption, 0, 0);
    table->addWidget(badCaption, 0, 2);
    table->addWidget(lblGenT_, 1, 0);
    table->addWidget(lblHugou_, 1, 1);
    table->addWidget(lblZouT_, 1, 2);
    for (QLabel* face : {imgWara2_, imgNiko2_, imgKana2_})
        table->addWidget(face, 2, 0, 1, 3, Qt::AlignHCenter);
    table->setColumnStretch(0, 1);
    table->setColumnStretch(2, 1);

    auto* side = new QVBoxLayout;
    side->setSpacing(10);
    side->addLayout(modeRow);
    side->addLayout(legendBox);
    side->addWidget(summary);
    side->addStretch(1);

    auto* sideBox = new QWidget(this);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(300);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(msgList2_);
    layout->addSpacing(12);
    layout->addWidget(sideBox, 0, Qt::AlignTop);
    layout->addStretch(1);

    applyModeButtons();
    fillCounters();
}

void CalendarScreen::openCalendar() {
    mode_ = pairly::calendar::CalendarMode::Detailed;
    basis_ = pairly::calendar::DayBasis::WithinDay;
    applyModeButtons();
    prepareCalendarGrid();
    buildCalendar();
}

void CalendarScreen::setCalendarMode(int index) {
    if (index < 0 || index > 2) return;
    const pairly::calendar::CalendarMode previous = mode_;
    const pairly::calendar::DayBasis previousBasis = basis_;
    mode_ = index == 1 ? pairly::calendar::CalendarMode::Simple
                       : pairly::calendar::CalendarMode::Detailed;
    basis_ = index == 2 ? pairly::calendar::DayBasis::FromPreviousDay
                        : pairly::calendar::DayBasis::WithinDay;
    applyModeButtons();
    if (basis_ != previousBasis) {
        // Other classes: the days, the counters and the face all change.
        buildCalendar();
        return;
    }
    // Nothing writes the log while the calendar is shown, so the days just built are still
    // current: only the cells whose colour differs between the modes are repainted.
    for (const pairly::calendar::PaintedCell& cell : recolouredCells(model_, previous, mode_))
        msgList2_->setCellColor(cell.row, cell.column, widgets::toQColor(cell.colour));
}

void CalendarScreen::applyModeButtons() {
    const int pressed = basis_ == pairly::calendar::DayBasis::FromPreviousDay ? 2
                        : mode_ == pairly::calendar::CalendarMode::Detailed   ? 0
                                                                              : 1;
    for (int i = 0; i < 3; ++i) {
        widgets::setBackColour(
            cmdSel1_[static_cast<std::size_t>(i)],
            i == pressed ? widgets::toQColor(pairly::calendar::kPressedModeColour) : QColor());
    }
}

void CalendarScreen::prepareCalendarGrid() {
    msgList2_->clearRows();
    QStringList headers{QStringLiteral("年月")};
    for (int day = 1; day <= 31; ++day) headers << QString::number(day);
    msgList2_->setColumns(headers);
    msgList2_->setColumnWidthTwips(0, kMonthColumnTwips);
    msgList2_->setColumnAlignment(0, widgets::Align::Center);
    msgList2_->setHeaderAlignment(0, widgets::Align::Center);
    for (int c = 1; c <= 31; ++c) {
        msgList2_->setColumnWidthTwips(c, kDayColumnTwips);
        msgList2_->setColumnAlignment(c, widgets::Align::Center);
        msgList2_->setHeaderAlignment(c, widgets::Align::Center);
    }
}

void CalendarScreen::buildCalendar() {
    model_ = pairly::calendar::buildCalendarModel(
        common::loadLogForScreen(ctx_, ctx_.currentSlot)->records, ctx_.clock.today(), basis_);
    fillGrid();
    fillCounters();
}

void CalendarScreen::fillGrid() {
    msgList2_->clearRows();
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(model_.months.size()));
    for (const pairly::calendar::CalendarMonth& month : model_.months)
        rows << QStringList{q(month.label)};

    // One repaint for the whole calendar.
    const bool updates = msgList2_->updatesEnabled();
    msgList2_->setUpdatesEnabled(false);
    msgList2_->addRows(rows);
    for (const pairly::calendar::PaintedCell& cell : paintedCells(model_, mode_))
        msgList2_->setCellColor(cell.row, cell.column, widgets::toQColor(cell.colour));
    msgList2_->setUpdatesEnabled(updates);

    // The newest month is the one the user looks for first.
    keepNewestInView_ = true;
    msgList2_->verticalScrollBar()->setValue(msgList2_->verticalScrollBar()->maximum());
}

void CalendarScreen::fillCounters() {
    for (int i = 0; i < pairly::calendar::kLegendCount; ++i)
        legend_[static_cast<std::size_t>(i)]->setText(
            q(pairly::calendar::legendText(model_, static_cast<pairly::calendar::Legend>(i))));
    lblGenT_->setText(QString::number(model_.goodDays()) + QStringLiteral("日"));
    lblZouT_->setText(QString::number(model_.badDays()) + QStringLiteral("日"));
    lblHugou_->setText(q(model_.sign()));
    const pairly::calendar::CalendarFace face = model_.face();
    imgWara2_->setVisible(face == pairly::calendar::CalendarFace::Laughing);
    imgNiko2_->setVisible(face == pairly::calendar::CalendarFace::Smiling);
    imgKana2_->setVisible(face == pairly::calendar::CalendarFace::Sad);
}

void CalendarScreen::jumpToInputDate(int row, int col) {
    if (row < 1 || row > msgList2_->rowCount()) return;
    const std::optional<text::Date> day =
        pairly::calendar::cellDate(msgList2_->text(row, 0).toStdString(), col);
    if (!day) return;
    emit inputDateRequested(*day);
}

}  // namespace pairly::gui::calendar
