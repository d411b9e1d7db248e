// Renders every filled screen of the main window on a data folder to PNG files, for
// looking at the layout without a display:
//   render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd [WIDTHxHEIGHT]]
// A screen that needs more room than the window has is named on stderr.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

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
    QSize size(1280, 800);
    if (argc > 4) {
        int w = 0, h = 0;
        if (std::sscanf(argv[4], "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0) {
            std::fprintf(stderr, "not a size: %s\n", argv[4]);
            return 2;
        }
        size = QSize(w, h);
    }
    pairly::ui::ScriptedDialogs dialogs;  // no box may block a render
    pairly::ui::FixedClock clock(day, 7 * 3600 + 5 * 60 + 9);
    pairly::shell::MainWindow window(argv[1], dialogs, clock);
    window.resize(size);
    window.startUp();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath(".");
    using pairly::shell::Screen;
    const struct {
        Screen screen;
        const char* file;
        const char* button;  // pressed on the screen before the picture, if any
    } shots[] = {{Screen::Comparison, "comparison.png", nullptr},
                 {Screen::Input, "input.png", nullptr},
                 {Screen::Settings, "settings.png", nullptr},
                 {Screen::Calendar, "calendar.png", nullptr},
                 // The calendar's second display mode.
                 {Screen::Calendar, "calendar_simple.png", "cmdSel1_1"},
                 {Screen::Trend, "trend.png", nullptr},
                 {Screen::Trend, "trend_goal.png", "cmdMokuChk"},
                 {Screen::Trend, "trend_metabolism.png", "cmdTaisya"},
                 {Screen::Trend, "trend_muscle.png", "cmdKinr"},
                 {Screen::Trend, "trend_bone.png", "cmdKotur"},
                 {Screen::Analysis, "analysis.png", nullptr}};
    for (const auto& shot : shots) {
        window.switchToScreen(shot.screen);
        if (shot.button) {
            if (auto* button = window.findChild<QPushButton*>(QString::fromLatin1(shot.button)))
                button->click();
        }
        QApplication::processEvents();
        const QSize needed = window.minimumSizeHint();
        if (needed.width() > size.width() || needed.height() > size.height())
            std::fprintf(stderr, "%s: needs %dx%d\n", shot.file, needed.width(), needed.height());
        window.grab().save(out.filePath(QString::fromLatin1(shot.file)));
    }
    return 0;
}
