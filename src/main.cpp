// ペアリー☆ログ: the data folder is the folder the program is started in.
#include <QApplication>
#include <filesystem>
#include <system_error>

#include "shell/main_window.h"
#include "ui/clock.h"
#include "ui/dialogs.h"
#include "ui/program_font.h"
#include "ui/qt_translations.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ペアリー☆ログ"));

    pairly::ui::applyProgramFont();
    // Without the translations Qt's own buttons stay in English; the program still runs.
    pairly::ui::installQtJapanese(app);

    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) folder = ".";

    pairly::ui::QtDialogs dialogs;
    pairly::ui::SystemClock clock;
    pairly::shell::MainWindow window(folder, dialogs, clock);
    dialogs.setParent(&window);
    QObject::connect(&window, &pairly::shell::MainWindow::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.startUp();
    return app.exec();
}
