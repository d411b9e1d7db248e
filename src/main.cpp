// ペアリー☆ログ: `pairlylog [FOLDER]`; see shell/command_line.h for the data folder.
#include <QApplication>
#include <QIcon>
#include <filesystem>
#include <iostream>

#include "core/shell/command_line.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/program_font.h"
#include "gui/widgets/qt_translations.h"

int main(int argc, char** argv) {
    namespace shell = pairly::shell;
    // --version and --help answer before Qt starts, so they need no display.
    const shell::CommandLine command = shell::parseCommandLine(argc, argv);
    if (command.action != shell::CommandLine::Action::Window) {
        return shell::answerWithoutWindow(command, std::cout, std::cerr);
    }
    auto folder =
        shell::chooseDataFolder(command.folder, shell::currentFolder(), shell::homeFolder());
    std::string problem;
    if (!shell::makeDataFolder(folder, problem)) {
        std::cerr << problem << '\n';
        return 1;
    }
    // A data folder given as a link is followed once, here; inside it nothing is.
    std::error_code resolved;
    if (auto real = std::filesystem::canonical(folder, resolved); !resolved) folder = real;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ペアリー☆ログ"));
    // The installed menu entry and icon; both are simply absent when run from the build.
    QGuiApplication::setDesktopFileName(QStringLiteral("pairlylog"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("pairlylog")));

    pairly::gui::widgets::applyProgramFont();
    // Without the translations Qt's own buttons stay in English; the program still runs.
    pairly::gui::widgets::installQtJapanese(app);

    pairly::gui::widgets::QtDialogs dialogs;
    pairly::gui::widgets::SystemClock clock;
    pairly::gui::shell::MainWindow window(folder, dialogs, clock);
    dialogs.setParent(&window);
    QObject::connect(&window, &pairly::gui::shell::MainWindow::programEnded, &app,
                     &QApplication::quit, Qt::QueuedConnection);
    window.startUp();
    return app.exec();
}
