// The printed report page: the latest periods that fit, oldest first, every text inside the
// page whatever the nicknames, and the chart below the table.
#include <gtest/gtest.h>

#include <QPainter>

#include "gui/comparison/report_page.h"
#include "gui_support/recording_device.h"

namespace pairly::testing {
namespace {

gui::comparison::ReportPage page(int rows, const QString& name1, const QString& name2) {
    gui::comparison::ReportPage p;
    p.title = QStringLiteral("週ごとの平均体重");
    p.periodHeader = QStringLiteral("週");
    p.names = {name1, name2};
    p.colours = {Qt::blue, Qt::red};
    for (int r = 0; r < rows; ++r)
        p.rows.push_back({QStringLiteral("r%1").arg(r), "18", "72.7", "71.9", "73.5", "-0.8", "21",
                          "153.4", "152.9", "153.9", "+10.2"});
    p.chart = QImage(800, 450, QImage::Format_RGB32);
    p.chart.fill(Qt::white);
    return p;
}

// Where the label of row `r` was drawn, or -1.
double labelY(const RecordingEngine& e, int r) {
    for (const auto& t : e.texts)
        if (t.text == QStringLiteral("r%1").arg(r)) return t.origin.y();
    return -1;
}

TEST(ReportPage, LatestRowsThatFitAboveTheChartWithinThePage) {
    const QString longName = QStringLiteral("とても長いニックネームのパートナー");
    const struct {
        int rows;
        QString name1, name2;
        int dpi;
        int shownAtLeast, shownAtMost;
    } cases[] = {
        {3, QStringLiteral("たくや"), QStringLiteral("みさき"), 1440, 3, 3},
        {400, QStringLiteral("たくや"), QStringLiteral("みさき"), 1440, 30, 60},
        {400, longName, longName, 1440, 30, 60},
        {400, QStringLiteral("たくや"), QStringLiteral("みさき"), 300, 30, 60},
    };
    for (const auto& c : cases) {
        // A4 at the device's resolution.
        const QSize size(8 * c.dpi + c.dpi / 4, 11 * c.dpi + c.dpi * 7 / 10);
        RecordingDevice device(size, c.dpi);
        QPainter painter(&device);
        const int shown = gui::comparison::drawReportPage(
            painter, QRectF(QPointF(0, 0), QSizeF(size)), c.dpi, page(c.rows, c.name1, c.name2));
        painter.end();
        const RecordingEngine& e = device.recorded();
        const std::string what = std::to_string(c.rows) + " rows at " + std::to_string(c.dpi);
        EXPECT_GE(shown, c.shownAtLeast) << what;
        EXPECT_LE(shown, c.shownAtMost) << what;
        // The newest rows, oldest first, one under the other; none older.
        EXPECT_LT(labelY(e, c.rows - shown - 1), 0) << what;
        for (int r = c.rows - shown + 1; r < c.rows; ++r)
            EXPECT_GT(labelY(e, r), labelY(e, r - 1)) << what << " row " << r;
        for (const auto& t : e.texts) {
            EXPECT_GE(t.origin.x(), 0) << what << " " << t.text.toStdString();
            EXPECT_LE(t.origin.x() + t.width, size.width()) << what << " " << t.text.toStdString();
            EXPECT_LE(t.origin.y(), size.height()) << what;
        }
        EXPECT_EQ(std::count_if(e.texts.begin(), e.texts.end(),
                                [&](const auto& t) { return t.text == c.name1; }),
                  c.name1 == c.name2 ? 4 : 2)  // over the table and in the legend
            << what;
        ASSERT_EQ(e.images.size(), 1u) << what;
        const QRectF chart = e.images[0].target;
        EXPECT_GT(chart.top(), labelY(e, c.rows - 1)) << what;
        EXPECT_LE(chart.bottom(), size.height() + 1) << what;
        EXPECT_LE(chart.right(), size.width() + 1) << what;
        EXPECT_NEAR(chart.width() / chart.height(), 800.0 / 450.0, 0.01) << what;
    }
}

}  // namespace
}  // namespace pairly::testing
