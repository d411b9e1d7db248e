#pragma once
// The printed page of the weekly or monthly report: a title, the latest periods that fit
// the upper part of the page as a table under a two-line header (each nickname over its
// five measures), and the chart of the means with its legend below.
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class QPainter;
class QRectF;

namespace pairly::gui::comparison {

struct ReportPage {
    QString title;
    QString periodHeader;           // "週" or "月"
    std::array<QString, 2> names;   // the nicknames
    std::array<QColor, 2> colours;  // their lines in the chart
    std::vector<QStringList> rows;  // every period, oldest first: label + 10 figures
    QImage chart;                   // may be null
};

// Draws the page into `page` (device pixels, origin at the printable area) on a device of
// `dpi` dots per inch. Returns how many of the latest rows the table shows.
int drawReportPage(QPainter& painter, const QRectF& page, double dpi, const ReportPage& content);

}  // namespace pairly::gui::comparison
