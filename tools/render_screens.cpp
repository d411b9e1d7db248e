// Renders every filled screen of the main window on a data folder to PNG files, for
// looking at the layout without a display:
//   render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd [WIDTHxHEIGHT]]
// It also prints the last screen and the record sheet into screen_print.pdf and
// record_sheet.pdf there.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "maintenance/print_controller.h"
#include "shell/main_window.h"
#include "text/dates.h"
#include "ui/clock.h"
#include "ui/dialogs.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd [WIDTHxHEIGHT]]\n");
        return 2;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pairly::text::Date day{2026, 12, 7};
    if (argc > 3) {
        auto parsed = pairly::text::parseDate(argv[3]);
        if (!parsed) {
            std::fprintf(stderr, "not a date: %s\n", argv[3]);
            return 2;
        }
        day = *parsed;
    }
    pairly::ui::ScriptedDialogs dialogs;  // no box may block a render
    pairly::ui::FixedClock clock(day, 7 * 3600 + 5 * 60 + 9);
    int width = 1280, height = 800;
    if (argc > 4 && std::sscanf(argv[4], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "not a size: %s\n", argv[4]);
        return 2;
    }
    pairly::shell::MainWindow window(argv[1], dialogs, clock);
    window.resize(width, height);
    window.startUp();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath(".");
    using pairly::shell::Screen;
    const struct {
        Screen screen;
        const char* file;
    } shots[] = {{Screen::Comparison, "comparison.png"},
                 {Screen::Input, "input.png"},
                 {Screen::List, "list.png"},
                 {Screen::Settings, "settings.png"},
                 {Screen::Calendar, "calendar.png"},
                 {Screen::Memo, "memo.png"},
                 {Screen::Trend, "trend.png"},
                 {Screen::Analysis, "analysis.png"}};
    for (const auto& shot : shots) {
        window.switchToScreen(shot.screen);
        QApplication::processEvents();
        window.grab().save(out.filePath(QString::fromLatin1(shot.file)));
    }
    // The list once more, filtered: the last three months' Mondays, then with the
    // basal-metabolism table and chart on top.
    window.switchToScreen(Screen::List);
    const struct {
        const char* clicks[2];
        const char* file;
    } listShots[] = {{{"cmdKikan5", "cmdWeek_1"}, "list_filtered.png"},
                     {{"cmdTai2", nullptr}, "list_metabolism.png"}};
    for (const auto& shot : listShots) {
        for (const char* name : shot.clicks) {
            if (!name) continue;
            if (auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name)))
                button->click();
        }
        QApplication::processEvents();
        window.grab().save(out.filePath(QString::fromLatin1(shot.file)));
    }
    // The trend screen in goal mode, then with each metric chart on top.
    window.switchToScreen(Screen::Trend);
    const struct {
        const char* button;
        const char* file;
    } trendShots[] = {{"cmdMokuChk", "trend_goal.png"},
                      {"cmdTaisya", "trend_metabolism.png"},
                      {"cmdKinr", "trend_muscle.png"},
                      {"cmdKotur", "trend_bone.png"}};
    for (const auto& shot : trendShots) {
        if (auto* button = window.findChild<QPushButton*>(QString::fromLatin1(shot.button)))
            button->click();
        QApplication::processEvents();
        window.grab().save(out.filePath(QString::fromLatin1(shot.file)));
    }
    // The calendar's second display mode.
    window.switchToScreen(Screen::Calendar);
    if (auto* simple = window.findChild<QPushButton*>(QStringLiteral("cmdSel1_1"))) {
        simple->click();
        QApplication::processEvents();
        window.grab().save(out.filePath(QStringLiteral("calendar_simple.png")));
    }
    window.printing().setDestinationChooser([&out](const QString& kind) {
        const bool sheet = kind == QStringLiteral("用紙印刷");
        return pairly::ui::PrintDestination{
            QString(), out.filePath(sheet ? "record_sheet.pdf" : "screen_print.pdf")};
    });
    window.printing().printScreen();
    window.printing().printRecordSheet();
    return 0;
}
