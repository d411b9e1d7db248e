// ペアリー☆ログ: the data folder is the folder the program is started in.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <filesystem>
#include <system_error>

#include "shell/main_window.h"
#include "ui/clock.h"
#include "ui/dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ペアリー☆ログ"));

    // Japanese glyphs from one family keep captions evenly sized.
    const QString japaneseFamily = QStringLiteral("Noto Sans CJK JP");
    if (QFontDatabase::families().contains(japaneseFamily)) {
        QFont font(japaneseFamily);
        font.setPointSizeF(QApplication::font().pointSizeF());
        QApplication::setFont(font);
    }

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
