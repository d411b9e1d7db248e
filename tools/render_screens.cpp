// Renders every filled screen of the main window on a data folder to PNG files, for
// looking at the layout without a display:
//   render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd] [WIDTHxHEIGHT|min]
// The size is the window's inside (1280x800 unless given; "min" is its minimum size).
// Besides one picture per screen it shows a few second states (the list filtered and with
// a body-composition table on top, the calendar's simple mode, the new-start panel) and
// prints the last screen, the record sheet and the weekly report into screen_print.pdf,
// record_sheet.pdf and report_print.pdf; the report window shows in report_week.png and
// report_month.png.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <initializer_list>

#include "core/text/dates.h"
#include "gui/printing/print_controller.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/program_font.h"

namespace {

using pairly::gui::shell::MainWindow;
using pairly::shell::Screen;

void save(MainWindow& window, const QDir& out, const char* file) {
    QApplication::processEvents();
    QApplication::processEvents();  // charts redraw on the next turn of the loop
    window.grab().save(out.filePath(QString::fromLatin1(file)));
}

// Clicks the named buttons of the screen shown, then saves the picture.
void clickAndSave(MainWindow& window, const QDir& out, std::initializer_list<const char*> names,
                  const char* file) {
    for (const char* name : names)
        if (auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name)))
            button->click();
    save(window, out, file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: render_screens DATA_FOLDER OUT_FOLDER [yyyy/mm/dd] "
                     "[WIDTHxHEIGHT|min]\n");
        return 2;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pairly::gui::widgets::applyProgramFont();
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
    pairly::gui::widgets::ScriptedDialogs dialogs;  // no box may block a render
    pairly::gui::widgets::FixedClock clock(day, 7 * 3600 + 5 * 60 + 9);
    // A copy of the folder: a start writes (the day's backup), and the folder given may be the
    // demo data in the source tree.
    QTemporaryDir copy;
    if (!copy.isValid()) return 1;
    const std::filesystem::path folder = copy.path().toStdString();
    std::error_code copied;
    std::filesystem::copy(argv[1], folder, std::filesystem::copy_options::recursive, copied);
    if (copied) {
        std::fprintf(stderr, "cannot copy %s: %s\n", argv[1], copied.message().c_str());
        return 1;
    }
    MainWindow window(folder, dialogs, clock);
    window.startUp();
    if (minimum) size = window.minimumSize();
    window.resize(size);
    std::printf("window %dx%d, minimum %dx%d\n", window.width(), window.height(),
                window.minimumWidth(), window.minimumHeight());
    const QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath(".");

    const struct {
        Screen screen;
        const char* file;
    } shots[] = {{Screen::Comparison, "comparison.png"},
                 {Screen::Input, "input.png"},
                 {Screen::List, "list.png"},
                 {Screen::Analysis, "analysis.png"},
                 {Screen::Calendar, "calendar.png"},
                 {Screen::Memo, "memo.png"},
                 {Screen::Trend, "trend.png"},
                 {Screen::Settings, "settings.png"}};
    for (const auto& shot : shots) {
        window.switchToScreen(shot.screen);
        save(window, out, shot.file);
    }

    // The input screen with the other partner selected: whose diary it is must show.
    window.switchToScreen(Screen::Input);
    clickAndSave(window, out, {"cmdUser2"}, "input_partner2.png");
    window.findChild<QAbstractButton*>("cmdUser1")->click();
    // A weighing saved in the copy of the folder: the line under the entry panel says whose.
    if (auto* list = window.findChild<QListWidget*>("lstAct")) {
        list->setCurrentRow(0);
        clickAndSave(window, out, {"cmdTaiHozon"}, "input_saved.png");
    }

    // The comparison graph as the change from each start, in percent.
    window.switchToScreen(Screen::Comparison);
    clickAndSave(window, out, {"optGra3"}, "comparison_percent.png");
    window.findChild<QAbstractButton*>("optGra2")->click();
    // The weekly and monthly report in its own window, both tabs.
    window.findChild<QPushButton*>("cmdReport")->click();
    if (auto* report = window.findChild<QWidget*>("frmReport")) {
        report->resize(1120, 720);  // the offscreen screen is smaller than a real one
        for (const auto& [tab, file] :
             {std::pair{0, "report_week.png"}, std::pair{1, "report_month.png"}}) {
            report->findChild<QTabWidget*>("tabReport")->setCurrentIndex(tab);
            QApplication::processEvents();
            QApplication::processEvents();
            report->grab().save(out.filePath(QString::fromLatin1(file)));
        }
        report->findChild<QTabWidget*>("tabReport")->setCurrentIndex(0);
    }

    // The list filtered to the last three months' Mondays, then with the basal-metabolism
    // table and chart on top.
    window.switchToScreen(Screen::List);
    clickAndSave(window, out, {"cmdKikan5", "cmdWeek_1"}, "list_filtered.png");
    clickAndSave(window, out, {"cmdTai2"}, "list_metabolism.png");
    // The trend graph with its trend line, then in goal mode too, and its metabolism chart.
    window.switchToScreen(Screen::Trend);
    clickAndSave(window, out, {"chkTrend"}, "trend_line.png");
    clickAndSave(window, out, {"cmdMokuChk"}, "trend_goal.png");
    clickAndSave(window, out, {"cmdTaisya"}, "trend_metabolism.png");
    // The calendar's second display mode.
    window.switchToScreen(Screen::Calendar);
    clickAndSave(window, out, {"cmdSel1_1"}, "calendar_simple.png");
    // And its third: each day against the day before.
    clickAndSave(window, out, {"cmdSel1_2"}, "calendar_previous_day.png");
    // The settings screen with the new-start panel open over it.
    window.switchToScreen(Screen::Settings);
    window.settingsScreen()->openNewStart();
    save(window, out, "new_start.png");

    window.printing().setDestinationChooser([&out](const QString& kind) {
        const QString file = kind == QStringLiteral("用紙印刷")   ? "record_sheet.pdf"
                             : kind == QStringLiteral("画面印刷") ? "screen_print.pdf"
                                                                  : "report_print.pdf";
        return pairly::gui::widgets::PrintDestination{QString(), out.filePath(file)};
    });
    window.printing().printScreen();
    window.printing().printRecordSheet();
    if (auto* print = window.findChild<QPushButton*>("cmdReportPrint")) print->click();
    return 0;
}
