// The weekly and monthly report opened from the comparison screen: its grids and charts on a
// hand-made couple's diary across a month end and a year end, one window however often it
// is asked for, the figures following the data, and printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QShortcut>
#include <QTabWidget>

#include "core/text/dates.h"
#include "gui/common/partner_colour.h"
#include "gui/comparison/comparison_screen.h"
#include "gui/comparison/report_window.h"
#include "gui/printing/print_controller.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui_support/printed_pages.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

// はなこ weighs across the month end and the year end; たろう has a week of his own in
// January. Today (the fixture's clock) is Monday 2026/12/07.
std::string log1() {
    return diaryLine("2026/11/29", "起床後", "52,26,1380,9,44.8,4,2.7") +
           diaryLine("2026/12/05", "起床後", "52.4,26,1380,9,44.8,4,2.7") +
           diaryLine("2026/12/06", "起床後", "51.8,26,1380,9,44.8,4,2.7") +
           diaryLine("2026/12/31", "起床後", "51.2,26,1380,9,44.8,4,2.7") +
           diaryLine("2027/01/02", "起床後", "51,26,1380,9,44.8,4,2.7") +
           diaryLine("2027/01/10", "起床後", "50.8,26,1380,9,44.8,4,2.7");
}
std::string log2() {
    return diaryLine("2026/12/01", "起床後", "70,20,1600,10,55,8,3.1") +
           diaryLine("2027/01/04", "起床後", "69.5,20,1600,10,55,8,3.1") +
           diaryLine("2027/01/05", "起床後", "69.9,20,1600,10,55,8,3.1");
}

using Row = std::vector<const char*>;  // the label, then five cells of each partner

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeCouple();
        f.folder.writeCp932("データ1.txt", log1());
        f.folder.writeCp932("データ2.txt", log2());
        f.start();
        f.window->resize(1280, 800);
        f.window->show();
        QApplication::processEvents();
    }
    gui::comparison::ReportWindow* report() const {
        return f.window->findChild<gui::comparison::ReportWindow*>("frmReport");
    }
    // Opens the report with the comparison screen's button.
    gui::comparison::ReportWindow& open() {
        f.click("cmdReport");
        QApplication::processEvents();
        gui::comparison::ReportWindow* r = report();
        EXPECT_NE(r, nullptr);
        return *r;
    }
    gui::widgets::Grid& grid(const char* name) {
        return *report()->findChild<gui::widgets::Grid*>(name);
    }
    gui::widgets::Chart& chart(const char* name) {
        return *report()->findChild<gui::widgets::Chart*>(name);
    }
    QTabWidget& tabs() { return *report()->findChild<QTabWidget*>("tabReport"); }
    QPushButton& button(const char* name) { return *report()->findChild<QPushButton*>(name); }

    void expectRows(const char* gridName, const std::vector<Row>& rows) {
        gui::widgets::Grid& g = grid(gridName);
        ASSERT_EQ(g.rowCount(), static_cast<int>(rows.size())) << gridName;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 11; ++c)
                EXPECT_EQ(g.text(static_cast<int>(r) + 1, c),
                          qs(rows[r][static_cast<std::size_t>(c)]))
                    << gridName << " row " << r + 1 << " column " << c;
    }

    ShellFixture f;
};

const std::vector<Row> kWeeks = {
    {"2026/11/29～12/05", "2", "52.2", "52.0", "52.4", "", "1", "70.0", "70.0", "70.0", ""},
    {"2026/12/06～12/12", "1", "51.8", "51.8", "51.8", "-0.4", "", "", "", "", ""},
    {"2026/12/27～01/02", "2", "51.1", "51.0", "51.2", "-0.7", "", "", "", "", ""},
    {"2027/01/03～01/09", "", "", "", "", "", "2", "69.7", "69.5", "69.9", "-0.3"},
    {"2027/01/10～01/16", "1", "50.8", "50.8", "50.8", "-0.3", "", "", "", "", ""},
};
const std::vector<Row> kMonths = {
    {"2026/11", "1", "52.0", "52.0", "52.0", "", "", "", "", "", ""},
    {"2026/12", "3", "51.8", "51.2", "52.4", "-0.2", "1", "70.0", "70.0", "70.0", ""},
    {"2027/01", "2", "50.9", "50.8", "51.0", "-0.9", "2", "69.7", "69.5", "69.9", "-0.3"},
};

TEST_F(ReportWindowTest, GridsHoldEveryWeekAndMonthOfEitherPartner) {
    gui::comparison::ReportWindow& r = open();
    EXPECT_TRUE(r.isVisible());
    EXPECT_TRUE(r.isWindow());
    EXPECT_EQ(r.windowModality(), Qt::NonModal);
    EXPECT_FALSE(f.dialogs.shown.size());
    EXPECT_EQ(r.parent(), f.window.get());
    EXPECT_EQ(r.windowTitle(), qs("週・月の平均"));

    ASSERT_EQ(tabs().count(), 2);
    EXPECT_EQ(tabs().tabText(0), qs("週"));
    EXPECT_EQ(tabs().tabText(1), qs("月"));
    EXPECT_EQ(tabs().widget(0)->objectName(), "tabWeek");
    EXPECT_EQ(tabs().widget(1)->objectName(), "tabMonth");

    const char* measures[] = {"回数", "平均", "最小", "最大", "増減"};
    for (const auto& [name, first] : {std::pair{"msgWeek", "週"}, std::pair{"msgMonth", "月"}}) {
        gui::widgets::Grid& g = grid(name);
        ASSERT_EQ(g.columnCount(), 11) << name;
        EXPECT_EQ(g.headerText(0), qs(first));
        const QFontMetrics fm(g.horizontalHeader()->font());
        for (int c = 1; c < 11; ++c) {
            const QString header = qs(c <= 5 ? "はなこ " : "たろう ") + qs(measures[(c - 1) % 5]);
            EXPECT_EQ(g.headerText(c), header);
            // Each header fits its column whole.
            EXPECT_LE(fm.horizontalAdvance(header), g.columnWidth(c)) << name << " " << c;
        }
    }
    expectRows("msgWeek", kWeeks);
    expectRows("msgMonth", kMonths);
}

TEST_F(ReportWindowTest, ChartsPlotEachPartnersMeansWithGapsInThePartnersColours) {
    open();
    const struct {
        const char* chart;
        std::vector<const char*> partner1, partner2;
    } cases[] = {
        {"mcrWeek", {"52.2", "51.8", "51.1", "", "50.8"}, {"70", "", "", "69.7", ""}},
        {"mcrMonth", {"52", "51.8", "50.9"}, {"", "70", "69.7"}},
    };
    for (const auto& c : cases) {
        gui::widgets::Chart& ch = chart(c.chart);
        ASSERT_EQ(ch.pointCount(), static_cast<int>(c.partner1.size())) << c.chart;
        for (int p = 1; p <= ch.pointCount(); ++p) {
            EXPECT_EQ(ch.value(1, p), qs(c.partner1[static_cast<std::size_t>(p - 1)]))
                << c.chart << p;
            EXPECT_EQ(ch.value(2, p), qs(c.partner2[static_cast<std::size_t>(p - 1)]))
                << c.chart << p;
        }
        EXPECT_EQ(ch.seriesColor(1), gui::common::partnerColour(1));
        EXPECT_EQ(ch.seriesColor(2), gui::common::partnerColour(2));
        EXPECT_EQ(ch.seriesAxis(2), gui::widgets::Axis::Left);
        EXPECT_FALSE(ch.isSeriesVisible(3));
        EXPECT_EQ(ch.seriesName(1), qs("はなこ 平均"));
        EXPECT_EQ(ch.seriesName(2), qs("たろう 平均"));
    }
    EXPECT_TRUE(report()->findChild<QLabel*>("lblWeekLegend")->text().contains(qs("たろう")));
}

TEST_F(ReportWindowTest, OneWindowRaisedAgainAndClosedWithTheMainWindow) {
    gui::comparison::ReportWindow& r = open();
    open();
    EXPECT_EQ(f.window->findChildren<gui::comparison::ReportWindow*>().size(), 1);
    r.close();
    EXPECT_FALSE(r.isVisible());
    EXPECT_EQ(&open(), &r);
    EXPECT_TRUE(r.isVisible());
    // The main window stays usable while the report is open.
    f.click("cmdMemo");
    EXPECT_FALSE(f.window->screenPanel(shell::Screen::Memo)->isHidden());
    EXPECT_TRUE(r.isVisible());
    // Esc closes it like its own button: the window's one shortcut for the key.
    int escapes = 0;
    for (QShortcut* shortcut : r.findChildren<QShortcut*>()) {
        if (shortcut->key() != QKeySequence(Qt::Key_Escape)) continue;
        ++escapes;
        emit shortcut->activated();
    }
    EXPECT_EQ(escapes, 1);
    EXPECT_FALSE(r.isVisible());
    open();
    f.window->close();
    EXPECT_FALSE(r.isVisible());
}

TEST_F(ReportWindowTest, LatestPeriodIsInViewWithManyWeeks) {
    std::string many;
    text::Date day{2020, 1, 5};
    for (int i = 0; i < 300; ++i, day = text::addDays(day, 7))
        many += diaryLine(text::formatDate(day), "起床後", "60,20,1600,10,55,8,3.1");
    f.folder.writeCp932("データ2.txt", many);
    open();
    gui::widgets::Grid& g = grid("msgWeek");
    EXPECT_EQ(g.rowCount(), 300 + 4);  // and はなこ's four weeks
    EXPECT_EQ(g.bottomVisibleRow(), g.rowCount());
    EXPECT_EQ(chart("mcrWeek").pointCount(), 304);
}

TEST_F(ReportWindowTest, FollowsTheDataWhileOpenAndWhenShownAgain) {
    gui::comparison::ReportWindow& r = open();
    // A weighing saved on the input screen for today, 2026/12/07.
    f.click("cmdMain");
    clickEntry(f.find<QListWidget>("lstAct"), 1);
    typeInto(f, "txtTaiInp", "51.4");
    f.click("cmdTaiHozon");
    ASSERT_TRUE(f.folder.readCp932("データ1.txt").find("2026/12/07") != std::string::npos);
    QApplication::processEvents();
    EXPECT_EQ(grid("msgWeek").text(2, 1), qs("2"));
    EXPECT_EQ(grid("msgWeek").text(2, 2), qs("51.6"));
    EXPECT_EQ(grid("msgWeek").text(2, 5), qs("-0.6"));
    EXPECT_EQ(grid("msgMonth").text(2, 1), qs("4"));

    // A new nickname reaches the headers and the legend.
    const long reads = f.window->context().session.logReads(1);
    store::PartnerProfile renamed = f.window->context().profileOf(1);
    renamed.nickname = "はな";
    f.window->context().setProfile(1, renamed);
    QApplication::processEvents();
    EXPECT_EQ(grid("msgWeek").headerText(1), qs("はな 回数"));
    EXPECT_EQ(chart("mcrMonth").seriesName(1), qs("はな 平均"));
    // One notification, one reading.
    EXPECT_EQ(f.window->context().session.logReads(1), reads + 1);

    // A log replaced while the window is closed (an import, a restore) shows when it opens.
    r.close();
    f.folder.writeCp932("データ2.txt", diaryLine("2027/01/04", "起床後", "68,20,1600,10,55,8,3.1"));
    f.window->context().noteDataChanged(2);
    QApplication::processEvents();
    EXPECT_EQ(grid("msgWeek").text(1, 6), qs("1"));  // not yet read again
    r.show();
    QApplication::processEvents();
    EXPECT_EQ(grid("msgWeek").text(1, 6), qs(""));
    EXPECT_EQ(grid("msgWeek").text(4, 7), qs("68.0"));
    EXPECT_EQ(grid("msgWeek").text(4, 10), qs(""));  // now たろう's first week
}

TEST_F(ReportWindowTest, UnreadableLogsAreToldAndNothingIsWritten) {
    const FolderFiles before = folderFiles(f.folder);
    {
        const auto faults = InjectFaults::always({disk::fileops::Op::Read});
        open();
    }
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("読み込みエラー"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_TRUE(f.dialogs.shown[0].text.startsWith(qs("データ1.txt")));
    EXPECT_TRUE(f.dialogs.shown[1].text.startsWith(qs("データ2.txt")));
    EXPECT_EQ(folderFiles(f.folder), before);
    EXPECT_TRUE(report()->isVisible());
    // Readable again: the next opening shows everything.
    open();
    expectRows("msgMonth", kMonths);
}

// Pages that would have gone to the printer, drawn on an A4 recording device at 1440 dpi.
class ReportPrintTest : public ReportWindowTest {
protected:
    void SetUp() override {
        ReportWindowTest::SetUp();
        printing().setDestinationChooser(
            [this](const QString& kind) { return printing().pdfDestination(kind); });
    }
    gui::printing::PrintController& printing() { return f.window->printing(); }
    void recordPages(bool succeed = true) {
        printing().setPagePrinter(pageRecorder(pages, succeed));
    }
    QStringList texts(std::size_t page) const {
        QStringList out;
        for (const auto& t : pages[page].device->recorded().texts) out << t.text;
        return out;
    }
    std::vector<std::string> pdfFiles() const { return pdfFileNames(f.folder); }

    std::vector<RecordedPage> pages;
};

TEST_F(ReportPrintTest, TheShownTabIsPrintedAfterTheQuestion) {
    recordPages();
    open();
    f.dialogs.answers = {gui::widgets::Answer::Cancel};
    button("cmdReportPrint").click();
    EXPECT_TRUE(pages.empty());
    button("cmdReportPrint").click();
    tabs().setCurrentIndex(1);
    button("cmdReportPrint").click();

    const struct {
        const char* question;
        const char* title;
    } expected[] = {
        {"週ごとの平均を印刷しますか？", "週ごとの平均体重　はなこ・たろう　（2026/12/07）"},
        {"月ごとの平均を印刷しますか？", "月ごとの平均体重　はなこ・たろう　（2026/12/07）"},
    };
    ASSERT_EQ(pages.size(), 2u);
    // The question, then where the PDF went, for each print.
    ASSERT_EQ(f.dialogs.shown.size(), 5u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& e = expected[i];
        EXPECT_EQ(f.dialogs.shown[2 * i + 1].text,
                  qs(e.question) + qs("\n\n良かったらＯＫボタンを押してください"));
        EXPECT_EQ(f.dialogs.shown[2 * i + 1].title, qs("印刷確認"));
        EXPECT_EQ(f.dialogs.shown[2 * i + 2].title, qs("印刷"));
        EXPECT_EQ(pages[i].orientation, gui::widgets::PageOrientation::Portrait);
        const QStringList t = texts(i);
        EXPECT_EQ(t.value(0), qs(e.title));
        EXPECT_EQ(t.count(qs("はなこ")), 2);  // over the table and in the legend
        EXPECT_EQ(t.count(qs("増減")), 2);
        // Every period, oldest first, each row below the one before.
        const auto& recorded = pages[i].device->recorded();
        const std::vector<Row>& rows = i == 0 ? kWeeks : kMonths;
        double y = 0;
        for (const Row& row : rows) {
            const auto at = t.indexOf(qs(row[0]));
            ASSERT_GE(at, 0) << row[0];
            EXPECT_GT(recorded.texts[std::size_t(at)].origin.y(), y) << row[0];
            y = recorded.texts[std::size_t(at)].origin.y();
        }
        for (const auto& text : recorded.texts) {
            EXPECT_GE(text.origin.x(), 0);
            EXPECT_LE(text.origin.x() + text.width, 11906) << text.text.toStdString();
        }
        // The chart below the table, within the page.
        ASSERT_EQ(recorded.images.size(), 1u);
        EXPECT_GT(recorded.images[0].target.top(), recorded.texts.back().origin.y());
        EXPECT_LE(recorded.images[0].target.bottom(), 16838 + 1);
        EXPECT_LE(recorded.images[0].target.right(), 11906 + 1);
    }
    EXPECT_TRUE(texts(1).contains(qs("-0.9")));
    EXPECT_TRUE(pages[0].destination.pdfPath.endsWith(qs("週の平均_20261207_090000.pdf")));
    EXPECT_TRUE(pages[1].destination.pdfPath.endsWith(qs("月の平均_20261207_090000.pdf")));
}

TEST_F(ReportPrintTest, WithoutAPrinterThePdfIsWrittenAndFailuresAreTold) {
    open();
    button("cmdReportPrint").click();
    EXPECT_EQ(pdfFiles(), std::vector<std::string>{"週の平均_20261207_090000.pdf"});
    EXPECT_EQ(f.folder.readBytes("週の平均_20261207_090000.pdf").substr(0, 5), "%PDF-");
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].title, qs("印刷"));
    EXPECT_TRUE(f.dialogs.shown[1].text.startsWith(qs("プリンターが設定されていないため")));

    // A folder that cannot be written, and a printer that reports an error.
    const struct {
        gui::widgets::PrintDestination destination;
        const char* message;
    } failures[] = {
        {{QString(), QString::fromStdString((f.folder.path() / "データ1.txt" / "x.pdf").string())},
         "PDFファイルを作成できませんでした"},
        {{QString(), QString::fromStdString((f.folder.path() / "none" / "x.pdf").string())},
         "PDFファイルを作成できませんでした"},
        {{QStringLiteral("Office"), QString()}, "プリンター「Office」で印刷できませんでした"},
    };
    const FolderFiles before = folderFiles(f.folder);
    for (const auto& failure : failures) {
        f.dialogs.shown.clear();
        printing().setDestinationChooser(
            [&failure](const QString&) { return failure.destination; });
        if (!failure.destination.isPdf()) recordPages(false);
        button("cmdReportPrint").click();
        ASSERT_EQ(f.dialogs.shown.size(), 2u) << failure.message;
        EXPECT_EQ(f.dialogs.shown[1].title, qs("印刷エラー"));
        EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning);
        EXPECT_TRUE(f.dialogs.shown[1].text.contains(qs(failure.message))) << failure.message;
    }
    EXPECT_EQ(folderFiles(f.folder), before);
}

}  // namespace
}  // namespace pairly::testing
