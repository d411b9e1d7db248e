#pragma once
// A main window on a data folder written by the test, with scripted dialogs and a fixed clock.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <memory>
#include <string>

#include "gui/shell/main_window.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::testing {

class ShellFixture {
public:
    ShellFixture() : clock({2026, 12, 7}, 9 * 3600) {}

    // Profile bytes as the program writes them: label/value pairs, CR LF, CP932.
    void writeProfile(int slot, const std::string& nickname, const std::string& height,
                      const std::string& target) const {
        folder.writeCp932(slot == 1 ? "ﾌﾟﾗｲﾍﾞｰﾄ1.txt" : "ﾌﾟﾗｲﾍﾞｰﾄ2.txt",
                          "\"氏名\",\"" + nickname + "\"\r\n\"身長\"," + height +
                              "\r\n\"目標体重\"," + target + "\r\n");
    }
    void writeHelpFlag(int flag) const {
        folder.writeCp932("設定.txt", "\"ヘルプツアー\"," + std::to_string(flag) + "\r\n");
    }
    // Two partners, a situation list and the tour switched off unless asked.
    void writeCouple(int helpFlag = 0) const {
        writeProfile(1, "はなこ", "158.5", "50");
        writeProfile(2, "たろう", "172", "65");
        folder.writeCp932("状況リスト.txt", "\"起床後\"\r\n\"夕食後\"\r\n");
        writeHelpFlag(helpFlag);
    }

    gui::shell::MainWindow& start() {
        window = std::make_unique<gui::shell::MainWindow>(folder.path(), dialogs, clock);
        window->startUp();
        return *window;
    }

    template <class T = QPushButton>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) const { find<QPushButton>(name)->click(); }
    QColor buttonColour(const char* name) const {
        return find<QPushButton>(name)->palette().color(QPalette::Button);
    }
    static QColor defaultColour() { return QApplication::palette().color(QPalette::Button); }

    TempFolder folder;
    gui::widgets::ScriptedDialogs dialogs;
    gui::widgets::FixedClock clock;
    std::unique_ptr<gui::shell::MainWindow> window;
};

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace pairly::testing
