#include "gui/comparison/report_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>

#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "gui/common/partner_colour.h"
#include "gui/comparison/report_page.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/elided_text.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/text.h"

namespace pairly::gui::comparison {

namespace {

constexpr int kGridFontPoints = 10;
// Markers only while there are few enough points for them to stand apart.
constexpr int kMostPointsWithMarkers = 60;
// The widest a nickname grows in a column header, and in the legend; the characters of a
// nickname in the printed title.
constexpr int kHeaderNameWidth = 48;
constexpr int kLegendNameWidth = 240;
constexpr int kTitleNameChars = 8;

using widgets::q;

const char* periodWord(pairly::comparison::ReportPeriod period) {
    return period == pairly::comparison::ReportPeriod::Week ? "週" : "月";
}

// The grid's cell of a row: the label, then five figures per partner.
QString cellText(const pairly::comparison::ReportRow& row, int col) {
    if (col == 0) return q(row.label);
    if (col < 1 || col > 10) return {};
    const auto partner = static_cast<std::size_t>((col - 1) / 5);
    return q(pairly::comparison::partnerCells(
        row.partners[partner])[static_cast<std::size_t>((col - 1) % 5)]);
}

// The chart plots the mean as the grid writes it.
double shownMean(const pairly::comparison::PartnerPeriod& p) {
    return text::leadingNumber(text::formatNumber(p.mean, "0.0"));
}

void styleChart(widgets::Chart& chart) {
    chart.setSeriesColor(1, common::partnerColour(1));
    chart.setSeriesColor(2, common::partnerColour(2));
    chart.setSeriesVisible(3, false);
}

// One point per period, each partner's mean on one axis, a gap where one did not weigh.
void fillChart(widgets::Chart& chart, const std::vector<pairly::comparison::ReportRow>& rows,
               const std::array<QString, 2>& names) {
    const double missing = std::numeric_limits<double>::quiet_NaN();
    std::array<chart::Series, 2> means;
    for (chart::Series& s : means) s.reserve(rows.size());
    for (const pairly::comparison::ReportRow& row : rows)
        for (std::size_t p = 0; p < 2; ++p)
            means[p].push_back(row.partners[p].count > 0 ? shownMean(row.partners[p]) : missing);
    chart.setPointCount(0);
    chart.setPointCount(static_cast<int>(rows.size()));
    chart.setMarker(rows.size() <= kMostPointsWithMarkers ? widgets::Marker::Circle
                                                          : widgets::Marker::None);
    for (int s = 1; s <= 2; ++s) {
        chart.setSeriesValues(s, means[static_cast<std::size_t>(s - 1)]);
        chart.setSeriesName(s, names[static_cast<std::size_t>(s - 1)] + QStringLiteral(" 平均"));
    }
}

}  // namespace

ReportWindow::ReportWindow(common::AppContext& ctx, QWidget* owner)
    : QWidget(owner, Qt::Window), ctx_(ctx) {
    setObjectName("frmReport");
    setWindowTitle(QStringLiteral("週・月の平均"));
    setAccessibleName(windowTitle());

    tabWidget_ = new QTabWidget(this);
    tabWidget_->setObjectName("tabReport");
    tabWidget_->setAccessibleName(QStringLiteral("週・月の切り替え"));
    tabs_[0].period = pairly::comparison::ReportPeriod::Week;
    tabs_[1].period = pairly::comparison::ReportPeriod::Month;
    QWidget* week = buildTab(tabs_[0], "msgWeek", "mcrWeek", "lblWeekLegend");
    week->setObjectName("tabWeek");
    QWidget* month = buildTab(tabs_[1], "msgMonth", "mcrMonth", "lblMonthLegend");
    month->setObjectName("tabMonth");
    tabWidget_->addTab(week, QStringLiteral("週"));
    tabWidget_->addTab(month, QStringLiteral("月"));

    cmdReportPrint_ = new QPushButton(QStringLiteral("印刷"), this);
    cmdReportPrint_->setObjectName("cmdReportPrint");
    cmdReportPrint_->setToolTip(QStringLiteral("表示中の表とグラフを印刷します"));
    cmdReportPrint_->setAutoDefault(false);
    cmdReportPrint_->setEnabled(false);
    connect(cmdReportPrint_, &QPushButton::clicked, this, &ReportWindow::printReport);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName("cmdReportClose");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    close->setToolTip(QStringLiteral("このウィンドウを閉じます（Esc）"));
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdReportPrint_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabWidget_, 1);
    layout->addLayout(buttons);

    QSize size(1120, 720);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    resize(size);

    // Only marked here: the figures are read again once, when they are next seen.
    listener_ = ctx_.session.subscribe([this](const session::Event& event) {
        if (event.what == session::Change::Partner) return;
        stale_ = true;
        if (isVisible())
            QTimer::singleShot(0, this, [this] {
                if (stale_ && isVisible()) refreshReport();
            });
    });
}

ReportWindow::~ReportWindow() { ctx_.session.unsubscribe(listener_); }

void ReportWindow::setPagePrinter(PagePrinter printer) {
    printer_ = std::move(printer);
    cmdReportPrint_->setEnabled(static_cast<bool>(printer_));
}

QWidget* ReportWindow::buildTab(Tab& tab, const char* gridName, const char* chartName,
                                const char* legendName) {
    auto* page = new QWidget(tabWidget_);
    const QString word = QString::fromUtf8(periodWord(tab.period));
    tab.grid = new widgets::Grid(page);
    tab.grid->setObjectName(gridName);
    tab.grid->setAccessibleName(word + QStringLiteral("ごとの二人の体重"));
    tab.grid->setFontPointSize(kGridFontPoints);
    tab.chart = new widgets::Chart(page);
    tab.chart->setObjectName(chartName);
    tab.chart->setAccessibleName(word + QStringLiteral("ごとの平均体重のグラフ"));
    styleChart(*tab.chart);
    tab.chart->setMinimumHeight(220);
    tab.legend = new QLabel(page);
    tab.legend->setObjectName(legendName);
    tab.legend->setTextFormat(Qt::RichText);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tab.grid, 3);
    layout->addWidget(tab.legend);
    layout->addWidget(tab.chart, 2);
    return page;
}

void ReportWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) refreshReport();
}

void ReportWindow::refreshReport() {
    stale_ = false;
    for (int slot = 1; slot <= 2; ++slot)
        names_[static_cast<std::size_t>(slot - 1)] =
            q(store::partnerCaption(ctx_.profileOf(slot), slot));
    {
        // Both logs are read once for both tabs and let go after.
        const session::Session::Refresh refresh(ctx_.session);
        const session::SharedLog log1 = common::loadLogForScreen(ctx_, 1);
        const session::SharedLog log2 = common::loadLogForScreen(ctx_, 2);
        for (Tab& tab : tabs_) {
            tab.grid->clearRows();
            tab.rows =
                pairly::comparison::buildPeriodReport(log1->records, log2->records, tab.period);
        }
    }
    for (Tab& tab : tabs_) fillTab(tab);
}

void ReportWindow::fillTab(Tab& tab) {
    // Each measure's header carries the nickname: a long one is cut so that the columns
    // stay as wide as their figures, and the header's tooltip has it whole.
    const widgets::ElidedTexts names =
        widgets::elideEach(QFontMetrics(tab.grid->horizontalHeader()->font()),
                           {names_[0], names_[1]}, kHeaderNameWidth);
    const std::vector<std::string> headers = pairly::comparison::reportHeaders(
        tab.period, names.shown[0].toStdString(), names.shown[1].toStdString());
    const std::vector<std::string> wholeHeaders =
        reportHeaders(tab.period, names_[0].toStdString(), names_[1].toStdString());
    QStringList captions;
    for (const std::string& h : headers) captions << q(h);
    tab.grid->setColumns(captions);
    for (int col = 0; col < captions.size(); ++col)
        if (headers[static_cast<std::size_t>(col)] != wholeHeaders[static_cast<std::size_t>(col)])
            tab.grid->setHeaderToolTip(col, q(wholeHeaders[static_cast<std::size_t>(col)]));
    for (int col = 0; col < captions.size(); ++col)
        tab.grid->setColumnAlignment(col,
                                     col == 0 ? widgets::Align::Center : widgets::Align::Right);
    sizeColumns(tab);
    // The grid asks tab.rows, which stay until the next fill, for the rows it draws.
    const std::vector<pairly::comparison::ReportRow>* rows = &tab.rows;
    tab.grid->setRowSource(static_cast<int>(rows->size()), [rows](int row, int col) {
        const auto r = static_cast<std::size_t>(row - 1);
        if (r >= rows->size()) return text::Cell();
        return text::Cell::text(cellText((*rows)[r], col).toStdString());
    });
    tab.grid->scrollToBottom();

    fillChart(*tab.chart, *rows, names_);

    const widgets::ElidedTexts legendNames =
        widgets::elideEach(tab.legend->fontMetrics(), {names_[0], names_[1]}, kLegendNameWidth);
    tab.legend->setToolTip(legendNames.tip);
    auto entry = [&](int slot) {
        return QStringLiteral("<span style='color:%1; font-weight:bold'>━━</span> %2")
            .arg(common::partnerColour(slot).name(), legendNames.shown[slot - 1].toHtmlEscaped());
    };
    tab.legend->setText(QString::fromUtf8(periodWord(tab.period)) +
                        QStringLiteral("ごとの平均体重：&nbsp;&nbsp;") + entry(1) +
                        "&nbsp;&nbsp;&nbsp;&nbsp;" + entry(2));
}

// Each column as wide as its header or its widest figure, whichever is wider.
void ReportWindow::sizeColumns(Tab& tab) {
    const QFontMetrics header(tab.grid->horizontalHeader()->font());
    const QFontMetrics cells(tab.grid->font());
    const QString widest = tab.period == pairly::comparison::ReportPeriod::Week
                               ? QStringLiteral("2026/12/27～01/02")
                               : QStringLiteral("2026/12");
    const int padding = cells.averageCharWidth() + 8;
    for (int col = 0; col < tab.grid->columnCount(); ++col) {
        const QString sample = col == 0 ? widest : QStringLiteral("+888.8");
        const int pixels = std::max(header.horizontalAdvance(tab.grid->headerText(col)),
                                    cells.horizontalAdvance(sample)) +
                           padding;
        tab.grid->setColumnWidthTwips(col, widgets::Grid::pixelsToTwips(pixels, logicalDpiX()));
    }
}

const ReportWindow::Tab& ReportWindow::shownTab() const {
    return tabWidget_->currentIndex() == 1 ? tabs_[1] : tabs_[0];
}

void ReportWindow::drawPage(QPainter& painter, const QRectF& page, double dpi) const {
    const Tab& tab = shownTab();
    ReportPage content;
    const QString word = QString::fromUtf8(periodWord(tab.period));
    content.title = word + QStringLiteral("ごとの平均体重　") +
                    widgets::boundedText(names_[0], kTitleNameChars) + QStringLiteral("・") +
                    widgets::boundedText(names_[1], kTitleNameChars) + QStringLiteral("　（") +
                    q(text::formatDate(ctx_.clock.today())) + QStringLiteral("）");
    content.periodHeader = word;
    content.names = {widgets::boundedText(names_[0]), widgets::boundedText(names_[1])};
    content.colours = {common::partnerColour(1), common::partnerColour(2)};
    content.rows.reserve(tab.rows.size());
    for (const pairly::comparison::ReportRow& row : tab.rows) {
        QStringList cells;
        for (int col = 0; col <= 10; ++col) cells << cellText(row, col);
        content.rows.push_back(cells);
    }
    // Drawn again in the proportions of the page rather than of the window.
    widgets::Chart chart;
    styleChart(chart);
    chart.resize(800, 450);
    fillChart(chart, tab.rows, names_);
    chart.ensureBuilt();
    content.chart = chart.grab().toImage();
    drawReportPage(painter, page, dpi, content);
}

void ReportWindow::printReport() {
    if (!printer_) return;
    const QString word = QString::fromUtf8(periodWord(shownTab().period));
    printer_(word + QStringLiteral("ごとの平均を印刷しますか？"), word + QStringLiteral("の平均"),
             widgets::PageOrientation::Portrait,
             [this](QPainter& painter, const QRectF& page, double, double dpiY) {
                 drawPage(painter, page, dpiY);
             });
}

}  // namespace pairly::gui::comparison
