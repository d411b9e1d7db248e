// The two print buttons: the question first, then one page to the printer or, without a
// printer, into a PDF in the data folder; the record sheet as drawn.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <map>

#include "core/printing/record_sheet.h"
#include "gui/printing/print_controller.h"
#include "gui_support/printed_pages.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeCouple();
        f.start();
        printing().setDestinationChooser([this](const QString& kind) {
            ++chosen;
            return printing().pdfDestination(kind);
        });
    }
    gui::printing::PrintController& printing() { return f.window->printing(); }
    void recordPages(bool succeed = true) {
        printing().setPagePrinter(pageRecorder(pages, succeed));
    }
    std::vector<std::string> pdfFiles() const { return pdfFileNames(f.folder); }

    ShellFixture f;
    int chosen = 0;
    std::vector<RecordedPage> pages;
};

TEST_F(PrintTest, CancelAtTheQuestionPrintsNothing) {
    recordPages();
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdPrint", "表示中の画面イメージで印刷しますか？"},
        {"cmdPrint1", "体重記録用紙を印刷しますか？"}};
    for (const auto& [button, question] : buttons) {
        f.dialogs.shown.clear();
        f.dialogs.answers = {gui::widgets::Answer::Cancel};
        f.click(button);
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << button;
        const auto& box = f.dialogs.shown[0];
        EXPECT_EQ(box.text, qs(question) + qs("\n\n良かったらＯＫボタンを押してください"));
        EXPECT_EQ(box.title, qs("印刷確認"));
        EXPECT_EQ(box.icon, gui::widgets::Icon::Question);
        EXPECT_EQ(box.buttons, gui::widgets::Buttons::OkCancel);
    }
    EXPECT_EQ(chosen, 0);
    EXPECT_TRUE(pages.empty());
    EXPECT_TRUE(pdfFiles().empty());
}

TEST_F(PrintTest, RecordSheetHasTwelveBoxesOfOneDateFrameAndTenEntryLines) {
    recordPages();
    f.click("cmdPrint1");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].orientation, gui::widgets::PageOrientation::Portrait);
    const RecordingEngine& page = pages[0].device->recorded();

    const std::vector<QLineF> lines = {{3770, 0, 3770, 17000},
                                       {7540, 0, 7540, 17000},
                                       {0, 4050, 12000, 4050},
                                       {0, 8100, 12000, 8100},
                                       {0, 12150, 12000, 12150}};
    EXPECT_EQ(page.lines, lines);
    EXPECT_TRUE(page.images.empty());

    ASSERT_EQ(page.texts.size(), 132u);
    std::map<std::pair<int, int>, std::pair<int, int>> perBox;
    for (const auto& t : page.texts) {
        const int c = int(t.origin.x()) / 3770, r = int(t.origin.y()) / 4050;
        // 11 points are 220 twips; the text starts 100 twips into its box and stays in it.
        EXPECT_NEAR(t.pixelSize, 220, 1);
        EXPECT_EQ(int(t.origin.x()) % 3770, 100);
        EXPECT_LE(int(t.origin.x()) % 3770 + t.width, 3770 - 99) << t.text.toStdString();
        if (t.text == qs(printing::kSheetDateFrame)) {
            ++perBox[{c, r}].first;
        } else if (t.text == qs(printing::kSheetEntryLine)) {
            ++perBox[{c, r}].second;
        } else {
            ADD_FAILURE() << "unexpected text " << t.text.toStdString();
        }
    }
    ASSERT_EQ(perBox.size(), 12u);
    for (const auto& [box, counts] : perBox) {
        EXPECT_EQ(counts.first, 1) << box.first << "," << box.second;
        EXPECT_EQ(counts.second, 10) << box.first << "," << box.second;
    }
    // The first entry line of the last box sits below its frame; the frame keeps its width.
    EXPECT_GT(page.texts.back().origin.y(), 12150 + 500 + 9 * 300);
    EXPECT_NEAR(page.texts[0].width, 9 * 220, 20);
}

TEST_F(PrintTest, ScreenPrintShowsTheScreenInViewOnALandscapePage) {
    recordPages();
    f.click("cmdPrint");  // the comparison screen
    // This week's panel is in view, so it is printed whole with the screen.
    auto* week = f.find<QWidget>("fraShukan");
    EXPECT_TRUE(week->isVisible());
    EXPECT_TRUE(
        f.window->rect().contains(QRect(week->mapTo(f.window.get(), QPoint()), week->size())));
    const QImage comparisonShown = f.window->grab().toImage();
    f.click("cmdMemo");
    QApplication::processEvents();
    f.click("cmdPrint");
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& p : pages) {
        EXPECT_EQ(p.orientation, gui::widgets::PageOrientation::Landscape);
        ASSERT_EQ(p.device->recorded().images.size(), 1u);
        const auto& image = p.device->recorded().images[0];
        EXPECT_EQ(image.image.size(), f.window->size());
        // Scaled to the page's width, proportions kept.
        EXPECT_NEAR(image.target.width(), 11906, 1);
        EXPECT_NEAR(image.target.height() / image.target.width(),
                    double(f.window->height()) / f.window->width(), 0.001);
    }
    const QImage comparison = pages[0].device->recorded().images[0].image;
    const QImage memo = pages[1].device->recorded().images[0].image;
    EXPECT_NE(comparison, memo);
    EXPECT_EQ(comparison, comparisonShown);
    EXPECT_EQ(memo, f.window->grab().toImage());
}

TEST_F(PrintTest, WithoutAPrinterThePageGoesIntoAPdfAndTheMessageSaysWhere) {
    f.click("cmdPrint1");
    f.click("cmdPrint1");  // the same second: a second file, not a replaced one
    f.click("cmdPrint");
    const std::vector<std::string> expected = {"用紙印刷_20261207_090000.pdf",
                                               "用紙印刷_20261207_090000_2.pdf",
                                               "画面印刷_20261207_090000.pdf"};
    EXPECT_EQ(pdfFiles(), expected);
    for (const auto& name : expected) {
        const std::string bytes = f.folder.readBytes(name);
        EXPECT_EQ(bytes.substr(0, 5), "%PDF-") << name;
        EXPECT_NE(bytes.find("%%EOF"), std::string::npos) << name;
        // One page.
        std::size_t pagesFound = 0;
        for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
             at = bytes.find("/Type /Page", at + 1))
            if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pagesFound;
        EXPECT_EQ(pagesFound, 1u) << name;
    }
    ASSERT_EQ(f.dialogs.shown.size(), 6u);
    const auto& done = f.dialogs.shown[1];  // after the first question
    EXPECT_EQ(done.title, qs("印刷"));
    EXPECT_EQ(done.icon, gui::widgets::Icon::Information);
    EXPECT_TRUE(done.text.startsWith(qs("プリンターが設定されていないため")));
    EXPECT_TRUE(done.text.endsWith(
        QString::fromStdString((f.folder.path() / "用紙印刷_20261207_090000.pdf").string())));
}

TEST_F(PrintTest, FailedPrintIsShownAndLeavesNoFile) {
    // The real printer path, into a folder that does not exist.
    printing().setDestinationChooser([this](const QString&) {
        return gui::widgets::PrintDestination{
            QString(), QString::fromStdString((f.folder.path() / "none" / "x.pdf").string())};
    });
    f.click("cmdPrint1");
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].title, qs("印刷エラー"));
    EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning);
    EXPECT_TRUE(f.dialogs.shown[1].text.contains(qs("PDFファイルを作成できませんでした")));

    // A printer that reports an error.
    f.dialogs.shown.clear();
    printing().setDestinationChooser([](const QString&) {
        return gui::widgets::PrintDestination{QStringLiteral("Office"), QString()};
    });
    recordPages(false);
    f.click("cmdPrint");
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].title, qs("印刷エラー"));
    EXPECT_TRUE(f.dialogs.shown[1].text.contains(qs("プリンター「Office」で印刷できませんでした")));
    EXPECT_TRUE(pdfFiles().empty());
}

}  // namespace
}  // namespace pairly::testing
