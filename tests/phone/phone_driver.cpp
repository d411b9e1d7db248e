// Runs the real main window offscreen on a data folder, with a fixed clock and scripted
// dialogs, so that the phone tests can talk to its server and look at its screens. The
// phone page listens as the user's configuration says. Commands on stdin, one per line:
//   click NAME           presses the named button
//   pick ROW             picks row ROW of lstAct on the input screen
//   type NAME TEXT       sets the text of the named field
//   grab FILE            saves a picture of the window
//   shown                prints "screen NAME", each row of msgDayList as "row A|B|…",
//                        and "status TEXT" (the status line, while shown)
// Prints "ready PORT" once the window is up, "done" after each command, and every
// message box as "box TITLE<TAB>TEXT".
//   phone_driver FOLDER yyyy/mm/dd SECONDS
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSocketNotifier>
#include <cstdio>
#include <string>

#include "core/text/dates.h"
#include "gui/phone/phone_service.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/grid.h"

// Qt keeps some of its own objects to the end of the process.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

using pairly::gui::shell::MainWindow;

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void run(MainWindow& window, const QString& line) {
    const QString verb = line.section(' ', 0, 0), name = line.section(' ', 1, 1);
    const QString rest = line.section(' ', 2);
    if (verb == "click") {
        if (auto* b = window.findChild<QAbstractButton*>(name)) b->click();
    } else if (verb == "pick") {
        auto* list = window.findChild<QListWidget*>("lstAct");
        list->setCurrentRow(name.toInt());
    } else if (verb == "type") {
        if (auto* f = window.findChild<QLineEdit*>(name)) f->setText(rest);
    } else if (verb == "grab") {
        window.grab().save(name);
    } else if (verb == "shown") {
        for (QWidget* screen : window.findChild<QWidget*>("screenArea")
                                   ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (!screen->isHidden()) say("screen " + screen->objectName());
        auto* grid = window.findChild<pairly::gui::widgets::Grid*>("msgDayList");
        for (int r = 1; grid && r <= grid->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 10; ++c) cells << grid->text(r, c);
            say("row " + cells.join('|'));
        }
        auto* word = window.findChild<QLabel*>("lblPhoneStatus");
        if (word && word->isVisible()) say("status " + word->text());
    }
    say("done");
}

}  // namespace

int main(int argc, char** argv) {
    const auto day = argc == 4 ? pairly::text::parseDate(argv[2]) : std::nullopt;
    if (!day) {
        std::fprintf(stderr, "usage: phone_driver FOLDER yyyy/mm/dd SECONDS\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pairly::gui::widgets::ScriptedDialogs dialogs;
    dialogs.onMessage = [](const pairly::gui::widgets::ScriptedDialogs::Shown& box) {
        say("box " + box.title + "\t" + QString(box.text).replace('\n', "\\n"));
    };
    pairly::gui::widgets::FixedClock clock(*day, std::stoi(argv[3]));
    MainWindow window(argv[1], dialogs, clock);
    window.startUp();
    QObject::connect(&window, &MainWindow::programEnded, &app, &QApplication::quit);
    say("ready " + QString::number(window.phoneService()->settings().port) + " " +
        (window.phoneService()->server().listening() ? "listening" : "off"));
    QSocketNotifier input(0, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(0, buffer, sizeof buffer);
        if (n <= 0) return QApplication::quit();
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            run(window, QString::fromStdString(pending.substr(0, end)));
            pending.erase(0, end + 1);
        }
    });
    return app.exec();
}
