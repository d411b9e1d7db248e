// The main window at a common laptop size and at its own minimum: every screen whole,
// nothing overlapping or cut off, and no screen switch that widens the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <filesystem>

#include "gui/memo/memo_screen.h"
#include "gui/settings/new_start_panel.h"
#include "gui/settings/settings_screen.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/program_font.h"
#include "gui_support/layout_check.h"
#include "gui_support/shell_fixture.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

namespace fs = std::filesystem;

// 1366x700 of screen, less a title bar.
const QSize kLaptop(1366, 668);

const shell::Screen kScreens[] = {
    shell::Screen::Comparison, shell::Screen::Input, shell::Screen::List,  shell::Screen::Analysis,
    shell::Screen::Calendar,   shell::Screen::Memo,  shell::Screen::Trend, shell::Screen::Settings};

class WindowSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        appFont_ = QApplication::font();
        gui::widgets::applyProgramFont();  // measured in the font the program draws with
        const fs::path demo = fs::path(PAIRLY_DEMO_DIR);
        for (const auto& entry : fs::directory_iterator(demo))
            fs::copy_file(entry.path(), f.folder.path() / entry.path().filename());
    }
    void TearDown() override {
        f.window.reset();
        QApplication::setFont(appFont_);
    }

    // Problems of every screen at one size, each line prefixed with the screen and size.
    QStringList problemsAt(QSize size) {
        QStringList all;
        gui::shell::MainWindow& w = *f.window;
        w.resize(size);
        for (shell::Screen screen : kScreens) {
            w.switchToScreen(screen);
            QApplication::processEvents();
            const QString where = QStringLiteral("%1 at %2x%3: ")
                                      .arg(w.screenPanel(screen)->objectName())
                                      .arg(size.width())
                                      .arg(size.height());
            if (w.size() != size)
                all << where + QStringLiteral("window became %1x%2").arg(w.width()).arg(w.height());
            for (const QString& p : layoutProblems(&w)) all << where + p;
        }
        // The settings screen once more with the new-start panel over it.
        w.settingsScreen()->openNewStart();
        QApplication::processEvents();
        for (const QString& p : layoutProblems(&w))
            all << QStringLiteral("fraNew at %1x%2: ").arg(size.width()).arg(size.height()) + p;
        w.settingsScreen()->newStartPanel().cancelNewStart();
        // The comment screen with its correction panel in place of the comment editor.
        w.switchToScreen(shell::Screen::Memo);
        w.memoScreen()->selectCommentRow(1);
        w.memoScreen()->openCorrection();
        QApplication::processEvents();
        for (const QString& p : layoutProblems(&w))
            all << QStringLiteral("fraSyusei at %1x%2: ").arg(size.width()).arg(size.height()) + p;
        w.memoScreen()->closeCorrection();
        return all;
    }

    ShellFixture f;
    QFont appFont_;
};

TEST_F(WindowSizeTest, EveryScreenFitsALaptopAndTheMinimumSize) {
    gui::shell::MainWindow& w = f.start();
    const QSize minimum = w.minimumSize();
    EXPECT_LE(minimum.width(), kLaptop.width());
    EXPECT_LE(minimum.height(), kLaptop.height());
    for (QSize size : {kLaptop, minimum, QSize(1280, 800)})
        EXPECT_EQ(problemsAt(size), QStringList()) << size.width() << "x" << size.height();
    // Smaller than the minimum is not possible.
    w.resize(minimum - QSize(100, 100));
    EXPECT_EQ(w.size(), minimum);
}

// The report window on the demo data: both tabs whole at the size it opens with and on a
// laptop screen, every header and figure within its column.
TEST_F(WindowSizeTest, TheReportWindowIsWholeInBothTabs) {
    gui::shell::MainWindow& w = f.start();
    w.show();
    QTabWidget* tabs = openReportTabs(f);
    ASSERT_NE(tabs, nullptr);
    QWidget* report = tabs->window();
    for (QSize size : {QSize(1120, 720), QSize(1120, 620)}) {
        report->resize(size);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            EXPECT_EQ(layoutProblems(report), QStringList())
                << size.width() << "x" << size.height() << " tab " << tab;
        }
    }
}

// Switching the comparison's graph between one axis and two, and its options, leaves the
// window as it was.
TEST_F(WindowSizeTest, GraphOptionsKeepTheWindowSize) {
    gui::shell::MainWindow& w = f.start();
    w.resize(w.minimumSize());  // where the graph is lowest
    QApplication::processEvents();
    const QSize size = w.size();
    for (const char* option : {"optGra1", "optGra2", "optGra1", "optG2", "optG1", "optGra3",
                               "optGra1", "optGra3", "optGra2", "optG4", "optG3"}) {
        f.find<QRadioButton>(option)->click();
        QApplication::processEvents();
        EXPECT_EQ(w.size(), size) << option;
        EXPECT_EQ(layoutProblems(&w), QStringList()) << option;
    }
}

// A long nickname is elided in its partner button, whole in the tooltip; the top row keeps
// its places.
TEST_F(WindowSizeTest, LongNicknamesAreElidedInThePartnerButtons) {
    const std::string longName = "とても長いニックネームのパートナーさんです";
    f.writeProfile(2, longName, "172", "65");
    gui::shell::MainWindow& w = f.start();
    QApplication::processEvents();
    const QSize size = w.size();
    auto* button = f.find("cmdUser2");
    EXPECT_TRUE(button->text().endsWith(QChar(0x2026))) << button->text().toStdString();
    EXPECT_LT(button->text().size(), QString::fromStdString(longName).size());
    EXPECT_EQ(button->toolTip(), QString::fromStdString(longName));
    EXPECT_LE(button->width(), 160);
    EXPECT_EQ(layoutProblems(&w), QStringList());
    // A short one is shown whole.
    EXPECT_EQ(f.find("cmdUser1")->text(), qs("たくや"));
    f.click("cmdUser2");
    QApplication::processEvents();
    EXPECT_EQ(w.size(), size);
}

// The check itself finds what it is meant to find.
TEST(LayoutCheck, FindsOverlapsCutsCaptionsAndGridsThatScroll) {
    QWidget root;
    root.resize(300, 200);
    auto* a = new QPushButton(QStringLiteral("A"), &root);
    a->setObjectName("a");
    a->setGeometry(0, 0, 80, 30);
    auto* b = new QPushButton(QStringLiteral("B"), &root);
    b->setObjectName("b");
    b->setGeometry(70, 0, 80, 30);  // overlaps a
    auto* wide = new QPushButton(QStringLiteral("とても長いボタンの文字です"), &root);
    wide->setObjectName("wide");
    wide->setGeometry(0, 40, 40, 30);  // caption does not fit
    auto* cut = new QLabel(QStringLiteral("x"), &root);
    cut->setObjectName("cut");
    cut->setGeometry(280, 190, 40, 20);  // beyond the parent
    auto* grid = new gui::widgets::Grid(&root);
    grid->setObjectName("grid");
    grid->setColumns({QStringLiteral("一"), QStringLiteral("二")});
    grid->setColumnWidthTwips(0, 3000);
    grid->setColumnWidthTwips(1, 300);
    grid->addRow({QStringLiteral("1"), QStringLiteral("長い長いセル")});
    grid->setGeometry(0, 80, 120, 100);
    root.show();
    QApplication::processEvents();

    const QStringList problems = layoutProblems(&root);
    auto has = [&](const QString& part) {
        for (const QString& p : problems)
            if (p.contains(part)) return true;
        return false;
    };
    EXPECT_TRUE(has("a overlaps b")) << problems.join('\n').toStdString();
    EXPECT_TRUE(has("wide: caption")) << problems.join('\n').toStdString();
    EXPECT_TRUE(has("cut: cut off")) << problems.join('\n').toStdString();
    EXPECT_TRUE(has("grid: columns wider than the grid")) << problems.join('\n').toStdString();
    EXPECT_TRUE(has("grid: cell (1,1)")) << problems.join('\n').toStdString();

    // Once in place, nothing is reported; an overlay may lie over its siblings.
    b->move(90, 0);
    wide->setGeometry(0, 40, 290, 30);
    cut->move(250, 170);
    grid->setColumnWidthTwips(0, 300);
    grid->setColumnWidthTwips(1, 1300);
    grid->setGeometry(0, 80, 200, 100);
    auto* overlay = new QWidget(&root);
    overlay->setProperty(kOverlayProperty, true);
    overlay->setGeometry(0, 0, 300, 200);
    overlay->show();
    QApplication::processEvents();
    EXPECT_EQ(layoutProblems(&root), QStringList());
}

}  // namespace
}  // namespace pairly::testing
