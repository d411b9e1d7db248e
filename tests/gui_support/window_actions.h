#pragma once
// What a user does to the main window, for the tests that walk every writing operation:
// clicks on list entries and grid rows, Enter in a field, a whole diary to start from and
// the bytes of every file of the data folder.
#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabWidget>
#include <filesystem>
#include <map>
#include <string>

#include "core/disk/folder_lock.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {

// Path below the data folder ("バックアップ/データ1_….txt") -> bytes, every regular file but
// the daily backups.
using FolderFiles = std::map<std::string, std::string>;

inline FolderFiles folderFiles(const TempFolder& folder) {
    FolderFiles files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder.path())) {
        if (!e.is_regular_file()) continue;
        const std::string name = e.path().lexically_relative(folder.path()).string();
        if (isDailyBackupPath(name)) continue;  // the start's daily copy, tested on its own
        if (name == disk::kLockFile) continue;  // empty, there once anything was written
        files[name] = folder.readBytes(name);
    }
    return files;
}

// The report window opened from the comparison screen; its tabs, or nullptr (with a
// failure) when it did not open.
inline QTabWidget* openReportTabs(ShellFixture& f) {
    f.click("cmdReport");
    auto* report = f.window->findChild<QWidget*>("frmReport");
    EXPECT_NE(report, nullptr);
    return report ? report->findChild<QTabWidget*>("tabReport") : nullptr;
}

inline void sendMouseTo(QWidget* w, QEvent::Type type, QPoint pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Press on one entry and release on another, as a drag within the list.
inline void dragEntry(QListWidget* list, int from, int to) {
    sendMouseTo(list->viewport(), QEvent::MouseButtonPress,
                list->visualItemRect(list->item(from)).center());
    sendMouseTo(list->viewport(), QEvent::MouseButtonRelease,
                list->visualItemRect(list->item(to)).center());
}
inline void clickEntry(QListWidget* list, int row) { dragEntry(list, row, row); }

inline void pressEnter(QWidget* w, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, keys, "\r");
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// A mouse click on a data row of a grid (row 1 is the first under the header).
inline void clickGridRow(gui::widgets::Grid& grid, int row, int column = 1) {
    grid.setTopRow(row);
    QApplication::processEvents();
    const QPoint at(grid.columnViewportPosition(column) + 4, grid.rowViewportPosition(row - 1) + 4);
    sendMouseTo(grid.viewport(), QEvent::MouseButtonPress, at);
    sendMouseTo(grid.viewport(), QEvent::MouseButtonRelease, at);
}

inline void selectDay(const ShellFixture& f, int y, int m, int d) {
    auto* calendar = f.find<QCalendarWidget>("mtvmain");
    calendar->setSelectedDate(QDate(y, m, d));
    emit calendar->clicked(QDate(y, m, d));
}

inline void typeInto(const ShellFixture& f, const char* field, const char* utf8) {
    f.find<QLineEdit>(field)->setText(QString::fromUtf8(utf8));
}

// One log line in the write form.
inline std::string diaryLine(const std::string& date, const std::string& situation,
                             const std::string& values, const std::string& comment = "") {
    return "\"" + date + "\",\"" + situation + "\"," + values + ",\"" + comment + "\",\"\"\r\n";
}

inline const std::string& diaryLog1() {
    static const std::string log = diaryLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                                   diaryLine("2026/12/04", "朝食前", "61,25.5,1390,9,45,4,2.7") +
                                   diaryLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8");
    return log;
}

// A couple's diary with every file the program keeps: both profiles and logs, the list,
// the memo and the five settings (the help tour off, so that no tour box interferes).
inline void writeDiary(const ShellFixture& f) {
    f.writeCouple(0);
    f.folder.writeCp932("状況リスト.txt", "起床後\r\n朝食前\r\n夕食後\r\n");
    f.folder.writeCp932("データ1.txt", diaryLog1());
    f.folder.writeCp932("データ2.txt", diaryLine("2026/12/07", "起床後", "70,20,1600,10,55,8,3.1"));
    f.folder.writeCp932("気付きメモ.txt", "前のメモ\r\n");
    f.folder.writeCp932("体重計刻み.txt", "0.1\r\n0.2\r\n");
    f.folder.writeCp932("移動平均.txt", "10\r\n");
    f.folder.writeCp932("自動時間.txt", " 0 \r\n");
    f.folder.writeCp932("マーカー.txt", "0\r\n");
}

}  // namespace pairly::testing
