// The real main window offscreen on two maximal logs (and on a three-year pair): start-up
// without the splash minimum, every menu button and both partner buttons on every screen,
// each with its first paint; the grid and chart on the largest data a screen gives them;
// peak memory; long texts on the comment and comparison screens.
// pairly_window_bench [--runs N] [--window-only | --widgets-only | --long-texts-only]
#include "bench/window_timing.h"

#include <sys/resource.h>
#include <time.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "bench/bench_data.h"
#include "gui/memo/memo_screen.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"

namespace pairly::bench {

// --- table --------------------------------------------------------------------------------

TimingTable::Row& TimingTable::row(const std::string& operation, const std::string& unit) {
    for (Row& r : rows_)
        if (r.operation == operation) return r;
    rows_.push_back({operation, unit, {}, {}});
    return rows_.back();
}

void TimingTable::add(const std::string& operation, const Lap& lap) {
    Row& r = row(operation, "ms");
    r.samples.push_back(lap.wallMs);
    r.cpu.push_back(lap.cpuMs);
}

void TimingTable::addValue(const std::string& operation, double value, const std::string& unit) {
    row(operation, unit).samples.push_back(value);
}

namespace {

double median(std::vector<double> s) {
    std::sort(s.begin(), s.end());
    const std::size_t n = s.size();
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
}

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

void TimingTable::print() const {
    for (const Row& r : rows_) {
        char cpu[32] = "-";
        if (!r.cpu.empty()) std::snprintf(cpu, sizeof cpu, "%.1f", median(r.cpu));
        std::printf("%s\t%.1f\t%s\t%s\t%zu\n", r.operation.c_str(), median(r.samples), cpu,
                    r.unit.c_str(), r.samples.size());
    }
    std::fflush(stdout);
}

Stopwatch::Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(processCpuMs()) {}

Lap Stopwatch::elapsed() const {
    const auto now = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(now - wall_).count(), processCpuMs() - cpu_};
}

// --- painting -----------------------------------------------------------------------------

void settle() {
    // Idle: two passes in a row in which nothing was left to run, the window system having
    // taken every picture sent to it (sync) in between. A step is bounded all the same, so
    // that a timer firing again and again cannot hold the bench.
    auto* dispatcher = QAbstractEventDispatcher::instance();
    for (int idle = 0, pass = 0; idle < 2 && pass < 1000; ++pass) {
        QCoreApplication::sendPostedEvents();
        if (dispatcher->processEvents(QEventLoop::AllEvents)) {
            idle = 0;
            continue;
        }
        QGuiApplication::sync();
        ++idle;
    }
}

class PaintWatch::Filter : public QObject {
public:
    explicit Filter(QWidget* window) : window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_)
            ++paints;
        return false;
    }
    QWidget* window_;
    int paints = 0;
};

PaintWatch::PaintWatch(QWidget* window) : filter_(new Filter(window->window())) {
    qApp->installEventFilter(filter_);
}

PaintWatch::~PaintWatch() {
    qApp->removeEventFilter(filter_);
    delete filter_;
}

int PaintWatch::paints() const { return filter_->paints; }

void finishWithPaint(QWidget* widget, const PaintWatch& watch) {
    settle();
    if (watch.paints() > 0) return;
    widget->repaint();
    settle();
}

double peakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

namespace {

// Buttons of the top row that do not switch screens.
const std::set<QString> kNotMenu = {"cmdUser1", "cmdUser2", "cmdHelp",
                                    "cmdOwari", "cmdPrint", "cmdPrint1"};

// The menu buttons in the order of the top row: every enabled command button there that is
// not a partner, help, print or quit button, so a screen added later is timed as well.
std::vector<QPushButton*> menuButtons(gui::shell::MainWindow& window) {
    std::vector<QPushButton*> out;
    auto* row = window.findChild<QWidget*>("topRow");
    if (!row) return out;
    for (QPushButton* b : row->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        if (b->objectName().startsWith("cmd") && !kNotMenu.count(b->objectName()) && b->isEnabled())
            out.push_back(b);
    }
    return out;
}

QWidget* visiblePanel(gui::shell::MainWindow& window) {
    auto* area = window.findChild<QWidget*>("screenArea");
    if (!area) return nullptr;
    for (QWidget* w : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden()) return w;
    return nullptr;
}

// A click as the window system delivers it (press and release at the button's middle), up
// to the screen painted and the event queue empty: what a person waits for.
Lap timedClick(gui::shell::MainWindow& window, QPushButton* button) {
    settle();
    PaintWatch watch(&window);
    const QPoint at = button->mapTo(&window, button->rect().center());
    const Stopwatch stopwatch;
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    finishWithPaint(&window, watch);
    return stopwatch.elapsed();
}

std::string label(QPushButton* button) {
    return (button->objectName() + " (" + button->text() + ")").toStdString();
}

void timeWindow(const BenchFolder& folder, const std::string& suffix, int runs, TimingTable& table,
                bool memory) {
    for (int run = 0; run < runs; ++run) {
        gui::widgets::ScriptedDialogs dialogs;
        gui::widgets::FixedClock clock({kLastYear, kLastMonth, kLastDay}, 7 * 3600 + 5 * 60 + 9);
        const Stopwatch stopwatch;
        auto window = std::make_unique<gui::shell::MainWindow>(folder.path(), dialogs, clock);
        Lap startUp;
        {
            PaintWatch watch(window.get());
            window->startUp();
            finishWithPaint(window.get(), watch);
            startUp = stopwatch.elapsed();
        }
        table.add("start-up" + suffix, startUp);
        if (run == 0 && memory)
            table.addValue("peak memory after start-up" + suffix, peakMemoryMb(), "MB");

        auto* user1 = window->findChild<QPushButton*>("cmdUser1");
        auto* user2 = window->findChild<QPushButton*>("cmdUser2");
        const auto buttons = menuButtons(*window);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            QPushButton* b = buttons[i];
            QWidget* before = visiblePanel(*window);
            Lap click = timedClick(*window, b);
            if (visiblePanel(*window) == before && buttons.size() > 1) {
                // Its screen was already shown: show another one first.
                buttons[(i + 1) % buttons.size()]->click();
                settle();
                click = timedClick(*window, b);
            }
            table.add(label(b) + suffix, click);
            const std::string screen = " on " + b->objectName().toStdString();
            table.add("cmdUser2" + screen + suffix, timedClick(*window, user2));
            table.add("cmdUser1" + screen + suffix, timedClick(*window, user1));
            if (run == 0 && memory)
                table.addValue("peak memory after " + b->objectName().toStdString() + suffix,
                               peakMemoryMb(), "MB");
        }
        // The input screen opened after a partner change on a screen that leaves it as it
        // was: it fills itself for that partner when shown.
        auto* cmdMain = window->findChild<QPushButton*>("cmdMain");
        auto* cmdAvgtai = window->findChild<QPushButton*>("cmdAvgtai");
        if (cmdMain && cmdAvgtai) {
            cmdAvgtai->click();
            user2->click();
            table.add("cmdMain after cmdUser2 on cmdAvgtai" + suffix, timedClick(*window, cmdMain));
            user1->click();
        }
        // The report window of the comparison screen: opened (built, filled, first paint),
        // then asked for again while open (filled anew and raised).
        auto* cmdReport = window->findChild<QPushButton*>("cmdReport");
        if (cmdAvgtai && cmdReport) {
            cmdAvgtai->click();
            for (const char* step : {"report window open", "report window again"}) {
                settle();
                const Stopwatch stopwatch;
                cmdReport->click();
                auto* report = window->findChild<QWidget*>("frmReport");
                if (!report) break;
                // Nothing is painted before the events run: watched from here on.
                PaintWatch watch(report);
                finishWithPaint(report, watch);
                table.add(std::string("cmdReport (") + step + ")" + suffix, stopwatch.elapsed());
            }
            if (auto* report = window->findChild<QWidget*>("frmReport")) report->close();
        }
        if (memory) table.addValue("peak memory after every screen" + suffix, peakMemoryMb(), "MB");
        for (const auto& shown : dialogs.shown)
            std::fprintf(stderr, "note: a box was shown: %s\n", shown.text.toStdString().c_str());
    }
}

// Two maximal logs with a 60 KiB comment on partner 1's newest weighing and a nickname of
// 300 characters: the comment screen opened and that comment picked, and the comparison
// screen with the long nickname.
void timeLongTexts(int runs, TimingTable& table) {
    const BenchFolder folder;
    addLongTexts(folder.path());
    for (int run = 0; run < runs; ++run) {
        gui::widgets::ScriptedDialogs dialogs;
        gui::widgets::FixedClock clock({kLastYear, kLastMonth, kLastDay}, 7 * 3600 + 5 * 60 + 9);
        gui::shell::MainWindow window(folder.path(), dialogs, clock);
        window.startUp();
        settle();
        auto* cmdMemo = window.findChild<QPushButton*>("cmdMemo");
        auto* cmdAvgtai = window.findChild<QPushButton*>("cmdAvgtai");
        table.add("cmdMemo (60 KiB comment)", timedClick(window, cmdMemo));
        {
            settle();
            PaintWatch watch(&window);
            const Stopwatch pick;
            window.memoScreen()->selectCommentRow(store::kMaxRecords);
            finishWithPaint(&window, watch);
            table.add("msgMemoList pick of the 60 KiB comment", pick.elapsed());
        }
        table.add("cmdAvgtai (300-character nickname)", timedClick(window, cmdAvgtai));
    }
}

}  // namespace
}  // namespace pairly::bench

int main(int argc, char** argv) {
    int runs = 5;
    bool window = true, widgets = true, threeYears = true, longTexts = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--window-only") == 0) {
            widgets = threeYears = longTexts = false;
        } else if (std::strcmp(argv[i], "--widgets-only") == 0) {
            window = threeYears = longTexts = false;
        } else if (std::strcmp(argv[i], "--long-texts-only") == 0) {
            window = widgets = threeYears = false;
        } else {
            std::fprintf(stderr,
                         "usage: pairly_window_bench [--runs N] [--window-only | --widgets-only | "
                         "--long-texts-only]\n");
            return 2;
        }
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using namespace pairly::bench;
    TimingTable table;
    if (window) {
        const BenchFolder folder;
        timeWindow(folder, "", runs, table, true);
    }
    if (widgets) timeGridAndChart(table, runs);
    if (threeYears) {
        const BenchFolder folder(kThreeYears);
        timeWindow(folder, " (3 years)", runs, table, false);
    }
    if (longTexts) timeLongTexts(runs, table);
    table.print();
    return 0;
}
