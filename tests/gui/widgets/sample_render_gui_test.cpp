// A day-view-like sample of grid, chart and pictures, rendered at a realistic size.
// Set PAIRLY_UI_SNAPSHOT=<file.png> to keep the picture for a look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/icons.h"

namespace pairly::gui::widgets {
namespace {

TEST(SampleRenderTest, GridChartAndPictures) {
    QWidget window;
    window.resize(1280, 800);
    auto* layout = new QVBoxLayout(&window);

    auto* pictures = new QHBoxLayout();
    for (Picture p :
         {Picture::LaughingFace, Picture::SmilingFace, Picture::SulkyFace, Picture::NoEntrySign,
          Picture::FreeSituationFace, Picture::ClockFace, Picture::FloppyDisk,
          Picture::MeterPointerUp, Picture::MeterPointerDown, Picture::WinnerMark}) {
        auto* label = new QLabel();
        label->setPixmap(pixmap(p, {32, 32}));
        pictures->addWidget(label);
        auto* large = new QLabel();
        large->setPixmap(pixmap(p, {64, 64}));
        pictures->addWidget(large);
    }
    auto* splash = new QLabel();
    splash->setPixmap(pixmap(Picture::Splash));
    pictures->addWidget(splash);
    pictures->addStretch();
    layout->addLayout(pictures);

    auto* row = new QHBoxLayout();
    auto* grid = new Grid();
    grid->setObjectName("msgDayList");
    grid->setFontPointSize(11);
    grid->setColumns(
        {"回", "行動", "体重", "前回差", "差", "初回差", "差", "ＢＭＩ", "肥満度", "体脂肪"});
    for (int c = 0; c < 10; ++c) grid->setColumnAlignment(c, c == 1 ? Align::Left : Align::Right);
    grid->setColumnAlignment(4, Align::Center);
    grid->setColumnAlignment(6, Align::Center);
    grid->setColumnWidthTwips(9, 800);
    grid->setVisibleRows(9);
    const char* arrows[] = {"↑", "→", "↓"};
    const QColor colours[] = {QColor(255, 192, 192), QColor(255, 255, 192), QColor(192, 255, 192)};
    for (int i = 1; i <= 12; ++i) {
        const int a = i % 3;
        grid->addRow({QString::number(i), "朝食前", QStringLiteral("60.%1Kg").arg(i % 10), "-0.3Kg",
                      arrows[a], "0.1Kg", arrows[(i + 1) % 3], "22.1", "0.4%", "24.5%"});
        grid->setCellColor(i, 4, colours[a]);
        grid->setCellColor(i, 6, colours[(i + 1) % 3]);
    }
    grid->resizeColumnsToContents();
    grid->setColumnWidthTwips(9, 800);
    row->addWidget(grid, 3);

    auto* chart = new Chart();
    chart->setObjectName("mcrMain");
    chart->setSeriesAxis(2, Axis::Right);
    chart::Series w, f;
    for (int i = 1; i <= 40; ++i) {
        w.push_back(i % 9 == 0 ? std::nan("")
                               : std::round((60 + std::sin(i / 5.0) * 1.5) * 10) / 10);
        f.push_back(std::round((24 + std::cos(i / 7.0)) * 10) / 10);
    }
    chart->setSeriesValues(1, w);
    chart->setSeriesValues(2, f);
    chart->setAxisRange(Axis::Left, 58, 62);
    chart->setAxisRange(Axis::Right, 22, 26);
    chart->setAxisDivisions(Axis::Left, 4);
    chart->setMarker(Marker::Ball);
    row->addWidget(chart, 2);
    layout->addLayout(row, 1);

    auto* emptyChart = new Chart();
    emptyChart->setPointCount(1);
    emptyChart->setAxisRange(Axis::Left, 999, 0);  // what an empty day computes
    emptyChart->setMarker(Marker::Circle);
    layout->addWidget(emptyChart, 1);

    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(grid->scrollLastRowToTopIfMoreThan(9));
    QApplication::processEvents();
    EXPECT_EQ(grid->topVisibleRow(), 12);
    EXPECT_EQ(chart->segments(1).size(), 5);

    const QPixmap shot = window.grab();
    ASSERT_FALSE(shot.isNull());
    const QByteArray path = qgetenv("PAIRLY_UI_SNAPSHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(path)));
    }
}

}  // namespace
}  // namespace pairly::gui::widgets
