// The window's keys: each presses its button, and the button's tooltip names it.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <map>

#include "gui/widgets/help_viewer.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

// What the key does in the window: every enabled shortcut bound to it fires.
int pressKeys(QWidget& window, const QKeySequence& keys) {
    int fired = 0;
    for (QShortcut* shortcut : window.findChildren<QShortcut*>()) {
        if (shortcut->key() != keys || !shortcut->isEnabled()) continue;
        EXPECT_EQ(shortcut->context(), Qt::WindowShortcut);
        emit shortcut->activated();
        ++fired;
    }
    return fired;
}

TEST(ShellKeyboard, EachKeyPressesItsButtonAndItsTooltipSaysSo) {
    ShellFixture f;
    f.writeCouple();
    f.start();
    const struct {
        const char* keys;
        const char* button;
        const char* tooltip;
    } cases[] = {
        {"Ctrl+1", "cmdMain", "入力（Ctrl+1）"},
        {"Ctrl+2", "cmdTaijyu", "範囲指定（Ctrl+2）"},
        {"Ctrl+3", "cmdAvgtai", "比較（Ctrl+3）"},
        {"Ctrl+4", "cmdBunseki", "分析リスト（Ctrl+4）"},
        {"Ctrl+5", "cmdCale", "カレンダー（Ctrl+5）"},
        {"Ctrl+6", "cmdMemo", "一言日記（Ctrl+6）"},
        {"Ctrl+7", "cmdRentai", "全グラフ（Ctrl+7）"},
        {"Ctrl+8", "cmdSettei", "編集（Ctrl+8）"},
        {"F1", "cmdHelp", "使い方の説明を開きます（F1）"},
        {"Ctrl+P", "cmdPrint", "表示中の画面を印刷します（Ctrl+P）"},
    };
    // Every click of these buttons is counted.
    std::map<QString, int> clicks;
    for (const auto& c : cases) {
        QPushButton* button = f.find<QPushButton>(c.button);
        ASSERT_NE(button, nullptr) << c.button;
        QObject::connect(button, &QPushButton::clicked, button,
                         [&clicks, name = button->objectName()] { ++clicks[name]; });
    }
    for (const auto& c : cases) {
        clicks.clear();
        f.dialogs.shown.clear();
        f.dialogs.answers = {gui::widgets::Answer::Cancel};  // the print's question
        EXPECT_EQ(pressKeys(*f.window, QKeySequence(QString::fromLatin1(c.keys))), 1) << c.keys;
        const std::map<QString, int> expected = {{QString::fromLatin1(c.button), 1}};
        EXPECT_EQ(clicks, expected) << c.keys;
        EXPECT_EQ(f.find<QPushButton>(c.button)->toolTip(), qs(c.tooltip)) << c.keys;
    }
    // The keys did what the buttons do: the last menu key showed its screen, F1 the help,
    // Ctrl+P asked before printing.
    EXPECT_TRUE(f.find<QPushButton>("cmdSettei")->isChecked());
    ASSERT_NE(f.window->helpViewer(), nullptr);
    EXPECT_TRUE(f.window->helpViewer()->isVisible());
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("印刷確認"));
}

TEST(ShellKeyboard, AKeyLeavesADisabledButtonUnpressed) {
    ShellFixture f;
    f.writeCouple();
    f.start();
    QPushButton* print = f.find<QPushButton>("cmdPrint");
    int clicked = 0;
    QObject::connect(print, &QPushButton::clicked, print, [&clicked] { ++clicked; });
    print->setEnabled(false);
    pressKeys(*f.window, QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(clicked, 0);
    EXPECT_TRUE(f.dialogs.shown.empty());
}

}  // namespace
}  // namespace pairly::testing
