// Renders every filled screen of the main window on a data folder to PNG files, for
// looking at the layout without a display:
//   render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd] [WIDTHxHEIGHT|min]
// The size is the window's inside (1280x800 unless given; "min" is its minimum size).
// The last picture is the settings screen with the new-start panel open.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRegularExpression>
#include <cstdio>

#include "maintenance/settings_screen.h"
#include "shell/main_window.h"
#include "text/dates.h"
#include "ui/clock.h"
#include "ui/dialogs.h"
#include "ui/program_font.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd] "
                     "[WIDTHxHEIGHT|min]\n");
        return 2;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pairly::ui::applyProgramFont();
    pairly::text::Date day{2026, 12, 7};
    QSize size(1280, 800);
    bool minimum = false;
    for (int i = 3; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const auto sizeMatch = QRegularExpression("^(\\d+)x(\\d+)$").match(arg);
        if (arg == "min") {
            minimum = true;
        } else if (sizeMatch.hasMatch()) {
            size = QSize(sizeMatch.captured(1).toInt(), sizeMatch.captured(2).toInt());
        } else if (auto parsed = pairly::text::parseDate(argv[i])) {
            day = *parsed;
        } else {
            std::fprintf(stderr, "not a date or size: %s\n", argv[i]);
            return 2;
        }
    }
    pairly::ui::ScriptedDialogs dialogs;  // no box may block a render
    pairly::ui::FixedClock clock(day, 7 * 3600 + 5 * 60 + 9);
    pairly::shell::MainWindow window(argv[1], dialogs, clock);
    window.startUp();
    if (minimum) size = window.minimumSize();
    window.resize(size);
    std::printf("window %dx%d, minimum %dx%d\n", window.width(), window.height(),
                window.minimumWidth(), window.minimumHeight());
    const QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath(".");
    using pairly::shell::Screen;
    const struct {
        Screen screen;
        const char* file;
    } shots[] = {{Screen::Comparison, "comparison.png"},
                 {Screen::Input, "input.png"},
                 {Screen::Settings, "settings.png"}};
    for (const auto& shot : shots) {
        window.switchToScreen(shot.screen);
        QApplication::processEvents();
        QApplication::processEvents();  // charts redraw on the next turn of the loop
        window.grab().save(out.filePath(QString::fromLatin1(shot.file)));
    }
    // The settings screen once more, with the new-start panel open over it.
    window.settingsScreen()->openNewStart();
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("new_start.png")));
    return 0;
}
