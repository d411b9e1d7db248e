#include "gui/comparison/report_page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>

#include "core/comparison/period_report.h"

namespace pairly::gui::comparison {

namespace {

constexpr int kColumns = 11;
constexpr double kTitlePoints = 14;
constexpr double kTablePoints = 9;
// The table takes the page at most down to here; the chart follows it.
constexpr double kTableShare = 0.62;
// The most of the page's width a nickname takes, over its columns and in the legend: a
// longer one is cut, rather than the table shrunk to nothing.
constexpr double kNameShare = 0.35;

void setPixelSize(QFont& font, double pixels) {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
}

// The width each column needs in `font`: its header, its widest figure and room around it;
// a nickname asks for at most `nameRoom`.
std::array<double, kColumns> columnWidths(const QFont& font, QPaintDevice* device,
                                          const ReportPage& c, double nameRoom) {
    const QFontMetricsF fm(font, device);
    std::array<double, kColumns> widths{};
    widths[0] = fm.horizontalAdvance(c.periodHeader);
    for (int col = 1; col < kColumns; ++col)
        widths[static_cast<std::size_t>(col)] =
            std::max(fm.horizontalAdvance(
                         QString::fromUtf8(pairly::comparison::reportMeasures()[(col - 1) % 5])),
                     fm.horizontalAdvance(QStringLiteral("+888.8")));
    for (const QStringList& row : c.rows)
        for (int col = 0; col < kColumns && col < row.size(); ++col) {
            auto& w = widths[static_cast<std::size_t>(col)];
            w = std::max(w, fm.horizontalAdvance(row[col]));
        }
    // A nickname spans its five columns: they share what it needs beyond them.
    for (int p = 0; p < 2; ++p) {
        double group = 0;
        for (int col = 1 + 5 * p; col <= 5 + 5 * p; ++col)
            group += widths[static_cast<std::size_t>(col)];
        const double name =
            std::min(fm.horizontalAdvance(c.names[static_cast<std::size_t>(p)]), nameRoom);
        if (name > group)
            for (int col = 1 + 5 * p; col <= 5 + 5 * p; ++col)
                widths[static_cast<std::size_t>(col)] += (name - group) / 5;
    }
    const double padding = fm.height() * 0.8;
    for (double& w : widths) w += padding;
    return widths;
}

// A text in its box, placed through the painter's origin: one text per box.
void drawBoxed(QPainter& painter, const QRectF& box, int flags, const QString& text) {
    if (text.isEmpty()) return;
    painter.save();
    painter.translate(box.topLeft());
    painter.drawText(QRectF(QPointF(0, 0), box.size()), flags, text);
    painter.restore();
}

}  // namespace

int drawReportPage(QPainter& painter, const QRectF& page, double dpi, const ReportPage& c) {
    const double pt = dpi / 72.0;
    painter.save();
    painter.setPen(QPen(Qt::black, std::max(1.0, 0.5 * pt)));

    QFont titleFont = painter.font();
    setPixelSize(titleFont, kTitlePoints * pt);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    const double titleHeight = QFontMetricsF(titleFont, painter.device()).height();
    drawBoxed(painter, QRectF(page.left(), page.top(), page.width(), titleHeight),
              Qt::AlignLeft | Qt::AlignVCenter,
              QFontMetricsF(titleFont, painter.device())
                  .elidedText(c.title, Qt::ElideMiddle, page.width()));

    // The table's font shrinks when its columns would not fit across the page.
    QFont font = painter.font();
    font.setBold(false);
    setPixelSize(font, kTablePoints * pt);
    const double nameRoom = page.width() * kNameShare;
    auto widths = columnWidths(font, painter.device(), c, nameRoom);
    double total = 0;
    for (double w : widths) total += w;
    if (total > page.width()) {
        setPixelSize(font, kTablePoints * pt * page.width() / total * 0.98);
        widths = columnWidths(font, painter.device(), c, nameRoom);
        total = 0;
        for (double w : widths) total += w;
    }
    painter.setFont(font);
    const QFontMetricsF fm(font, painter.device());
    const double rowHeight = fm.height() * 1.3;
    const double inset = fm.height() * 0.4;
    const double left = page.left() + std::max(0.0, (page.width() - total) / 2);
    std::array<double, kColumns + 1> x{};
    x[0] = left;
    for (std::size_t col = 0; col < widths.size(); ++col) x[col + 1] = x[col] + widths[col];

    const double tableTop = page.top() + titleHeight * 1.6;
    const double tableBottom = page.top() + page.height() * kTableShare;
    const int fits = std::max(0, static_cast<int>((tableBottom - tableTop) / rowHeight) - 2);
    const int shown = std::min(fits, static_cast<int>(c.rows.size()));

    // Header: the period over both lines, each nickname over its measures.
    drawBoxed(painter, QRectF(x[0], tableTop, widths[0], 2 * rowHeight), Qt::AlignCenter,
              c.periodHeader);
    for (int p = 0; p < 2; ++p) {
        const std::size_t first = 1 + 5 * static_cast<std::size_t>(p);
        const double group = x[first + 5] - x[first];
        drawBoxed(
            painter, QRectF(x[first], tableTop, group, rowHeight), Qt::AlignCenter,
            fm.elidedText(c.names[static_cast<std::size_t>(p)], Qt::ElideRight, group - 2 * inset));
        painter.drawLine(QLineF(x[first] + inset, tableTop + rowHeight, x[first + 5] - inset,
                                tableTop + rowHeight));
        for (std::size_t m = 0; m < 5; ++m)
            drawBoxed(painter,
                      QRectF(x[first + m], tableTop + rowHeight, widths[first + m], rowHeight),
                      Qt::AlignCenter, QString::fromUtf8(pairly::comparison::reportMeasures()[m]));
    }
    const double bodyTop = tableTop + 2 * rowHeight;
    painter.drawLine(QLineF(x[0], bodyTop, x[kColumns], bodyTop));
    const double bodyBottom = bodyTop + shown * rowHeight;
    for (std::size_t col : {std::size_t{1}, std::size_t{6}})
        painter.drawLine(QLineF(x[col], tableTop, x[col], bodyBottom));

    for (int r = 0; r < shown; ++r) {
        const QStringList& row = c.rows[c.rows.size() - static_cast<std::size_t>(shown - r)];
        const double y = bodyTop + r * rowHeight;
        for (int col = 0; col < kColumns && col < row.size(); ++col) {
            const auto i = static_cast<std::size_t>(col);
            const QRectF cell(x[i] + inset, y, widths[i] - 2 * inset, rowHeight);
            drawBoxed(painter, cell,
                      (col == 0 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter, row[col]);
        }
    }

    // The chart below, as large as the rest of the page allows with its proportions kept.
    // The legend: each partner's line in its colour before the nickname.
    const double legendTop = bodyBottom + rowHeight;
    double legendX = left;
    for (std::size_t p = 0; p < 2; ++p) {
        const double mid = legendTop + rowHeight / 2;
        painter.save();
        painter.setPen(QPen(c.colours[p], std::max(1.0, 1.5 * pt)));
        painter.drawLine(QLineF(legendX, mid, legendX + 3 * fm.height(), mid));
        painter.restore();
        legendX += 3.5 * fm.height();
        const QString name = fm.elidedText(c.names[p], Qt::ElideRight, nameRoom);
        const double width = fm.horizontalAdvance(name) + 2;
        drawBoxed(painter, QRectF(legendX, legendTop, width, rowHeight),
                  Qt::AlignLeft | Qt::AlignVCenter, name);
        legendX += width + 2 * fm.height();
    }
    const double chartTop = legendTop + 1.5 * rowHeight;
    const QRectF chartArea(page.left(), chartTop, page.width(), page.bottom() - chartTop);
    if (!c.chart.isNull() && chartArea.height() > 0) {
        const double scale =
            std::min(chartArea.width() / c.chart.width(), chartArea.height() / c.chart.height());
        const QSizeF size(c.chart.width() * scale, c.chart.height() * scale);
        painter.drawImage(QRectF(QPointF(chartArea.left() + (chartArea.width() - size.width()) / 2,
                                         chartArea.top()),
                                 size),
                          c.chart);
    }
    painter.restore();
    return shown;
}

}  // namespace pairly::gui::comparison
