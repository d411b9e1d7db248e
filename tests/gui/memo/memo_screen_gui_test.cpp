// The one-line diary screen in the main window: the comment table, saving a comment by
// Enter and by the button, the notes memo, and every failing write.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <optional>

#include "core/disk/file_ops.h"
#include "gui/memo/memo_screen.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

std::string line(const std::string& date, const std::string& weight, const std::string& comment,
                 const std::string& reserved = "") {
    return "\"" + date + "\",\"朝食前\"," + weight + ",22.5,1400,8,45.3,5,2.8,\"" + comment +
           "\",\"" + reserved + "\"\r\n";
}

// Three weighings; the second carries the time of saving as its comment, the first a
// reserved field from an import.
const std::string kLog1 = line("2026/12/05", "65.3", "", "旧") +
                          line("2026/12/06", "65.32", "7:05:09") +
                          line("2026/12/07", "64.9", "a, b");
const std::string kLog2 = line("2026/12/07", "55", "みさき");

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void pressEnter(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

class MemoScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeCouple();
        f.folder.writeCp932("データ1.txt", kLog1);
        f.folder.writeCp932("データ2.txt", kLog2);
    }
    void open() {
        if (!f.window) f.start();
        f.click("cmdMemo");
        QApplication::processEvents();
    }
    gui::widgets::Grid& grid() const { return *f.find<gui::widgets::Grid>("msgMemoList"); }
    QLineEdit* txtMemo() const { return f.find<QLineEdit>("txtMemo"); }
    QPlainTextEdit* txtKizuki() const { return f.find<QPlainTextEdit>("txtKizuki"); }
    bool saveEnabled() const { return f.find("cmdMemoHozon")->isEnabled(); }
    // A mouse click on a data row, as the user makes it.
    void clickRow(int row, int col = 1) const {
        grid().setTopRow(row);
        QApplication::processEvents();
        const QPoint at(grid().columnViewportPosition(col) + 4,
                        grid().rowViewportPosition(row - 1) + 4);
        sendMouse(grid().viewport(), QEvent::MouseButtonPress, at);
        sendMouse(grid().viewport(), QEvent::MouseButtonRelease, at);
    }
    std::string log1() const { return f.folder.readCp932("データ1.txt"); }
    // Typing replaces the memo (setPlainText would count as a fresh load).
    void typeMemo(const char* text) const {
        txtKizuki()->selectAll();
        txtKizuki()->insertPlainText(qs(text));
    }
    QColor memoButtonColour() const { return f.buttonColour("cmdKizukiHozon"); }

    ShellFixture f;
};

TEST_F(MemoScreenTest, TableShowsEveryWeighingAndItsChange) {
    open();
    gui::widgets::Grid& g = grid();
    ASSERT_EQ(g.columnCount(), 13);
    ASSERT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.fontPointSize(), 9);
    const struct {
        const char* header;
        int twips;
        gui::widgets::Align align;
    } columns[] = {{"回数", 560, gui::widgets::Align::Right},
                   {"日付", 1070, gui::widgets::Align::Center},
                   {"行動", 1680, gui::widgets::Align::Left},
                   {"体重", 500, gui::widgets::Align::Right},
                   {"前差", 500, gui::widgets::Align::Right},
                   {"差", 300, gui::widgets::Align::Center},
                   {"脂肪", 500, gui::widgets::Align::Right},
                   {"一言日記（言い訳など）", 5600, gui::widgets::Align::Left}};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(g.text(0, c), qs(columns[c].header)) << c;
        EXPECT_EQ(g.headerAlignment(c), gui::widgets::Align::Center) << c;
        EXPECT_EQ(g.columnAlignment(c), columns[c].align) << c;
        // Never narrower than given; wider only where the screen's font needs it.
        EXPECT_GE(g.columnWidthTwips(c), columns[c].twips - 15) << c;
        EXPECT_LE(g.columnWidthTwips(c), columns[c].twips * 2) << c;
    }
    for (int c = 8; c < 13; ++c) EXPECT_EQ(g.columnWidthTwips(c), 0) << c;

    const QStringList row2 = {"2",     "2026/12/06", qs("朝食前"), "65.32", "0.0",
                              qs("↑"), "22.5",       "7:05:09",    "1400",  "8",
                              "45.3",  "5",          "2.8"};
    for (int c = 0; c < 13; ++c) EXPECT_EQ(g.text(2, c), row2[c]) << c;
    EXPECT_EQ(g.text(1, 4), "0.0");
    EXPECT_EQ(g.text(1, 5), qs("→"));
    EXPECT_EQ(g.text(3, 4), "-0.4");
    EXPECT_EQ(g.text(3, 5), qs("↓"));
    EXPECT_EQ(g.cellColor(1, 5), QColor(255, 255, 192));
    EXPECT_EQ(g.cellColor(2, 5), QColor(255, 192, 192));
    EXPECT_EQ(g.cellColor(3, 5), QColor(192, 255, 192));
    EXPECT_EQ(g.topVisibleRow(), 1);  // a short table is not scrolled
    EXPECT_FALSE(saveEnabled());
}

TEST_F(MemoScreenTest, EnterBeforeAnyClickSavesNothing) {
    open();
    txtMemo()->setText(qs("まだ選んでいない"));
    pressEnter(txtMemo());
    f.click("cmdMemoHozon");  // disabled: no effect
    EXPECT_EQ(log1(), kLog1);
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.window->memoScreen()->selectedCommentRow(), 0);
}

TEST_F(MemoScreenTest, ClickedCommentIsReplacedByEnterAndByTheButton) {
    open();
    const auto namesBefore = f.folder.fileNames();
    ASSERT_TRUE(f.window->isVisible());
    f.window->activateWindow();
    QApplication::setActiveWindow(f.window.get());
    for (int i = 0; i < 100 && !f.window->isActiveWindow(); ++i) QApplication::processEvents();
    ASSERT_TRUE(f.window->isActiveWindow());

    clickRow(2);
    EXPECT_EQ(txtMemo()->text(), "7:05:09");
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(grid().currentGridRow(), 2);
    EXPECT_EQ(grid().currentGridColumn(), 7);
    EXPECT_EQ(f.window->memoScreen()->selectedCommentRow(), 2);
    EXPECT_EQ(f.find<QLabel>("lblMemoTarget")->text(), qs("2回目　2026/12/06　朝食前　65.32Kg"));
    EXPECT_TRUE(txtMemo()->hasFocus());

    // The time written on saving is replaced like any other comment; only it changes.
    txtMemo()->setText(qs("飲み会, 反省"));
    pressEnter(txtMemo());
    std::string expected = line("2026/12/05", "65.3", "", "旧") +
                           line("2026/12/06", "65.32", "飲み会, 反省") +
                           line("2026/12/07", "64.9", "a, b");
    EXPECT_EQ(log1(), expected);
    EXPECT_EQ(grid().text(2, 7), qs("飲み会, 反省"));
    EXPECT_EQ(grid().currentGridColumn(), 7);
    EXPECT_TRUE(saveEnabled());  // one comment after another without reopening

    // The next one by the button; the record with the reserved field keeps it.
    clickRow(1, 7);
    EXPECT_EQ(txtMemo()->text(), "");
    txtMemo()->setText(qs("朝から快調"));
    f.click("cmdMemoHozon");
    expected = line("2026/12/05", "65.3", "朝から快調", "旧") +
               line("2026/12/06", "65.32", "飲み会, 反省") + line("2026/12/07", "64.9", "a, b");
    EXPECT_EQ(log1(), expected);
    EXPECT_EQ(grid().text(1, 7), qs("朝から快調"));
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.folder.fileNames(), namesBefore);  // no temporary file left

    // A click on the header picks nothing.
    emit grid().clickedCell(0, 7);
    EXPECT_EQ(f.window->memoScreen()->selectedCommentRow(), 1);
}

TEST_F(MemoScreenTest, CommentThatCannotBeStoredIsRefused) {
    open();
    const struct {
        const char* text;
        const char* says;
    } cases[] = {{"\"引用\"", "ダブルクォーテーション"}, {"ケーキ🍰", "「🍰」"}};
    for (const auto& c : cases) {
        f.dialogs.shown.clear();
        clickRow(3);
        txtMemo()->setText(qs(c.text));
        pressEnter(txtMemo());
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.text;
        EXPECT_EQ(f.dialogs.shown[0].title, qs("入力エラー"));
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_TRUE(f.dialogs.shown[0].text.contains(qs(c.says)))
            << f.dialogs.shown[0].text.toStdString();
        EXPECT_EQ(log1(), kLog1);
        EXPECT_EQ(grid().text(3, 7), "a, b");
        EXPECT_EQ(txtMemo()->text(), qs(c.text));  // kept, to be corrected
    }
}

TEST_F(MemoScreenTest, EveryFailingStepOfACommentSaveKeepsTheOldCommentShown) {
    open();
    const auto namesBefore = f.folder.fileNames();
    const std::string after = line("2026/12/05", "65.3", "", "旧") +
                              line("2026/12/06", "65.32", "7:05:09") +
                              line("2026/12/07", "64.9", "new");
    long steps = 0;
    {
        clickRow(3);
        txtMemo()->setText("new");
        auto count = InjectFaults::from(1000000);
        f.click("cmdMemoHozon");
        steps = count.seen();
    }
    ASSERT_EQ(log1(), after);
    int failures = 0;
    for (long n = 1; n <= steps; ++n) {
        f.folder.writeCp932("データ1.txt", kLog1);
        f.window->memoScreen()->fillCommentTable();
        f.dialogs.shown.clear();
        clickRow(3);
        txtMemo()->setText("new");
        {
            auto fail = InjectFaults::once(n);
            f.click("cmdMemoHozon");
        }
        // Every step matters, so every fault is told: the old log with a failure, or the
        // new one with the word that the disk did not confirm it.
        const bool saved = log1() == after;
        EXPECT_TRUE(saved || log1() == kLog1) << "step " << n;
        EXPECT_EQ(f.folder.fileNames(), namesBefore) << "step " << n;
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << "step " << n;
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        if (saved) {
            EXPECT_EQ(f.dialogs.shown[0].title, qs("書き込み確認エラー")) << "step " << n;
            EXPECT_EQ(grid().text(3, 7), "new");
            continue;
        }
        ++failures;
        EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー")) << "step " << n;
        EXPECT_EQ(grid().text(3, 7), "a, b") << "step " << n;
    }
    EXPECT_GE(failures, 5);
}

TEST_F(MemoScreenTest, LogThatCannotBeReadIsNotWrittenBack) {
    open();
    clickRow(3);
    txtMemo()->setText("new");
    {
        auto fail = InjectFaults::always({disk::fileops::Op::Read});
        f.click("cmdMemoHozon");
    }
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
    EXPECT_TRUE(f.dialogs.shown[0].text.contains(qs("読み込めなかった")));
    EXPECT_EQ(log1(), kLog1);
    EXPECT_EQ(grid().text(3, 7), "a, b");

    // A log changed behind the screen's back is not overwritten either: the table shows
    // it as it is now, and what was typed is on the clipboard.
    f.dialogs.shown.clear();
    f.folder.writeCp932("データ1.txt", line("2026/12/04", "66", "") + kLog1);
    f.click("cmdMemoHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存中止"));
    EXPECT_TRUE(f.dialogs.shown[0].text.startsWith(
        qs("データ1.txt は、このウィンドウで読み込んだ後に、別のウィンドウか別のパソコンで")));
    EXPECT_EQ(log1(), line("2026/12/04", "66", "") + kLog1);
    EXPECT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "new");
}

TEST_F(MemoScreenTest, LongTableOpensOnItsNewestRows) {
    std::string log;
    for (int i = 1; i <= 20; ++i)
        log += line("2026/11/" + std::string(i < 10 ? "0" : "") + std::to_string(i), "60", "");
    f.folder.writeCp932("データ1.txt", log);
    open();
    EXPECT_EQ(grid().rowCount(), 20);
    // Fourteen rows fit under the header: the last at the bottom, the view full.
    EXPECT_EQ(grid().bottomVisibleRow(), 20);
    EXPECT_LE(grid().topVisibleRow(), 7);
}

TEST_F(MemoScreenTest, PartnerChangeRefillsAndDisablesTheButton) {
    open();
    typeMemo("共通のメモ");
    clickRow(2);
    ASSERT_TRUE(saveEnabled());

    f.click("cmdUser2");
    EXPECT_FALSE(f.find<QWidget>("fraMemo")->isHidden());
    ASSERT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(grid().text(1, 7), qs("みさき"));
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(txtMemo()->text(), "");
    EXPECT_EQ(f.window->memoScreen()->selectedCommentRow(), 2);
    txtMemo()->setText("x");
    pressEnter(txtMemo());
    EXPECT_EQ(f.folder.readCp932("データ2.txt"), kLog2);
    EXPECT_EQ(log1(), kLog1);
    // The memo belongs to both.
    EXPECT_EQ(txtKizuki()->toPlainText(), qs("共通のメモ"));

    // Leaving and coming back refills too.
    f.click("cmdUser1");
    f.click("cmdMain");
    f.click("cmdMemo");
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_FALSE(saveEnabled());
}

TEST_F(MemoScreenTest, MemoKeepsEmptyLinesAcrossARestart) {
    f.folder.writeCp932("気付きメモ.txt", "二人で\r\n\r\n");
    open();
    EXPECT_EQ(txtKizuki()->toPlainText(), qs("二人で\n"));
    EXPECT_EQ(memoButtonColour(), ShellFixture::defaultColour());

    typeMemo("夜\n\n\"甘い物\"は控える\n");
    EXPECT_EQ(memoButtonColour(), QColor(255, 224, 192));  // not saved yet
    f.click("cmdKizukiHozon");
    EXPECT_EQ(f.folder.readCp932("気付きメモ.txt"), "夜\r\n\r\n\"甘い物\"は控える\r\n\r\n");
    EXPECT_EQ(memoButtonColour(), ShellFixture::defaultColour());
    // The save says so.
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("気付きメモを保存しました。"));
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存終了"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);

    f.window.reset();
    f.start();
    EXPECT_EQ(txtKizuki()->toPlainText(), qs("夜\n\n\"甘い物\"は控える\n"));
}

TEST_F(MemoScreenTest, EveryFailingStepOfAMemoSaveWarnsAndKeepsTheOldMemo) {
    const std::string before = "前のメモ\r\n";
    f.folder.writeCp932("気付きメモ.txt", before);
    open();
    const auto namesBefore = f.folder.fileNames();
    typeMemo("新しいメモ");
    long steps = 0;
    {
        auto count = InjectFaults::from(1000000);
        f.click("cmdKizukiHozon");
        steps = count.seen();
    }
    int failures = 0;
    for (long n = 1; n <= steps; ++n) {
        f.folder.writeCp932("気付きメモ.txt", before);
        f.window->memoScreen()->loadMemo();  // the screen holds the memo it read
        typeMemo("新しいメモ");
        f.dialogs.shown.clear();
        {
            auto fail = InjectFaults::once(n);
            f.click("cmdKizukiHozon");
        }
        // Each fault is told: the old memo kept with a failure, or the new one saved with
        // the word that the disk did not confirm it.
        const std::string memo = f.folder.readCp932("気付きメモ.txt");
        EXPECT_TRUE(memo == before || memo == "新しいメモ\r\n") << "step " << n;
        EXPECT_EQ(f.folder.fileNames(), namesBefore) << "step " << n;
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << "step " << n;
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        if (memo == before) {
            ++failures;
            EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
            EXPECT_EQ(memoButtonColour(), QColor(255, 224, 192)) << "step " << n;
        } else {
            EXPECT_EQ(f.dialogs.shown[0].title, qs("書き込み確認エラー")) << "step " << n;
            EXPECT_EQ(memoButtonColour(), ShellFixture::defaultColour()) << "step " << n;
        }
    }
    EXPECT_GE(failures, 4);

    // A character the file cannot hold is named and nothing is written.
    f.dialogs.shown.clear();
    f.folder.writeCp932("気付きメモ.txt", before);
    typeMemo("ケーキ🍰");
    f.click("cmdKizukiHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("入力エラー"));
    EXPECT_TRUE(f.dialogs.shown[0].text.contains(qs("「🍰」")));
    EXPECT_EQ(f.folder.readCp932("気付きメモ.txt"), before);
}

TEST_F(MemoScreenTest, EndingTheProgramAsksAboutUnsavedText) {
    using gui::widgets::Answer;
    const std::string memoBefore = "前のメモ\r\n";
    const std::string savedLog =
        kLog1.substr(0, kLog1.rfind("\"a, b\"")) + "\"夜は控える\",\"\"\r\n";
    const struct {
        const char* name;
        const char* memo;              // typed and not saved
        bool comment;                  // typed and not saved
        std::optional<Answer> answer;  // none: no question expected
        bool memoWriteFails;
        bool closed;
        bool memoSaved, commentSaved;
        const char* question;
    } cases[] = {
        {"nothing typed", nullptr, false, {}, false, true, false, false, nullptr},
        {"memo, yes", "新しいメモ", false, Answer::Yes, false, true, true, false,
         "気付きメモの変更が保存されていません。\n\n保存しますか？"},
        {"memo, no", "新しいメモ", false, Answer::No, false, true, false, false,
         "気付きメモの変更が保存されていません。\n\n保存しますか？"},
        {"memo, cancel", "新しいメモ", false, Answer::Cancel, false, false, false, false,
         "気付きメモの変更が保存されていません。\n\n保存しますか？"},
        {"comment, yes", nullptr, true, Answer::Yes, false, true, false, true,
         "一言日記の変更が保存されていません。\n\n保存しますか？"},
        {"comment, cancel", nullptr, true, Answer::Cancel, false, false, false, false,
         "一言日記の変更が保存されていません。\n\n保存しますか？"},
        // A save that does not go through says why, and the window stays open.
        {"memo, yes, write fails", "新しいメモ", false, Answer::Yes, true, false, false, false,
         "気付きメモの変更が保存されていません。\n\n保存しますか？"},
        {"both, yes, memo refused", "ケーキ🍰", true, Answer::Yes, false, false, false, true,
         "気付きメモと一言日記の変更が保存されていません。\n\n保存しますか？"},
    };
    for (const auto& c : cases) {
        for (const bool byQuitButton : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (byQuitButton ? ", 終了" : ", window closed"));
            f.window.reset();
            f.folder.writeCp932("気付きメモ.txt", memoBefore);
            f.folder.writeCp932("データ1.txt", kLog1);
            open();
            bool ended = false;
            QObject::connect(f.window.get(), &gui::shell::MainWindow::programEnded,
                             [&] { ended = true; });
            if (c.memo) typeMemo(c.memo);
            if (c.comment) {
                clickRow(3);
                txtMemo()->setText(qs("夜は控える"));
            }
            f.dialogs.shown.clear();
            if (c.answer) f.dialogs.answers.push_back(*c.answer);
            {
                std::optional<InjectFaults> fail;
                if (c.memoWriteFails)
                    fail.emplace(InjectFaults::always({disk::fileops::Op::Rename}));
                if (byQuitButton)
                    f.click("cmdOwari");
                else
                    f.window->close();
            }
            EXPECT_EQ(ended, c.closed);
            EXPECT_EQ(f.window->isVisible(), !c.closed);
            if (c.question) {
                ASSERT_GE(f.dialogs.shown.size(), 1u);
                EXPECT_EQ(f.dialogs.shown[0].text, qs(c.question));
                EXPECT_EQ(f.dialogs.shown[0].title, qs("終了確認"));
                EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Question);
                EXPECT_EQ(f.dialogs.shown[0].buttons, gui::widgets::Buttons::YesNoCancel);
            } else {
                EXPECT_TRUE(f.dialogs.shown.empty());
            }
            EXPECT_TRUE(!c.closed || c.answer != Answer::Yes || f.dialogs.shown.size() == 1u);
            if (!c.closed && c.answer == Answer::Yes) {
                ASSERT_EQ(f.dialogs.shown.size(), 2u);
                EXPECT_EQ(f.dialogs.shown[1].title,
                          qs(c.memoWriteFails ? "保存エラー" : "入力エラー"));
            }
            EXPECT_EQ(f.folder.readCp932("気付きメモ.txt"),
                      c.memoSaved ? "新しいメモ\r\n" : memoBefore);
            EXPECT_EQ(log1(), c.commentSaved ? savedLog : kLog1);
            // What was typed is still there when the window stays open.
            if (!c.closed && c.memo) {
                EXPECT_EQ(txtKizuki()->toPlainText(), qs(c.memo));
            }
            if (!c.closed && c.comment) {
                EXPECT_EQ(txtMemo()->text(), qs("夜は控える"));
            }
        }
    }
}

TEST_F(MemoScreenTest, SavedTextIsNotAskedAboutAgain) {
    open();
    typeMemo("新しいメモ");
    clickRow(2);
    txtMemo()->setText(qs("朝は軽く"));
    f.click("cmdMemoHozon");
    f.click("cmdKizukiHozon");
    // A row clicked and left as it is holds nothing new either.
    clickRow(1);
    f.dialogs.shown.clear();
    bool ended = false;
    QObject::connect(f.window.get(), &gui::shell::MainWindow::programEnded, [&] { ended = true; });
    f.click("cmdOwari");
    EXPECT_TRUE(ended);
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST_F(MemoScreenTest, MemoThatCannotBeReadIsNeverOverwritten) {
    f.folder.writeCp932("気付きメモ.txt", "大事なメモ\r\n");
    {
        auto fail = InjectFaults::always({disk::fileops::Op::Read});
        f.start();
    }
    bool warned = false;
    for (const auto& box : f.dialogs.shown)
        warned = warned ||
                 (box.title == qs("読み込みエラー") && box.text.contains(qs("気付きメモ.txt")) &&
                  box.icon == gui::widgets::Icon::Warning);
    EXPECT_TRUE(warned);
    open();
    EXPECT_TRUE(txtKizuki()->isReadOnly());
    EXPECT_FALSE(f.find("cmdKizukiHozon")->isEnabled());
    EXPECT_EQ(f.folder.readCp932("気付きメモ.txt"), "大事なメモ\r\n");
}

}  // namespace
}  // namespace pairly::testing
