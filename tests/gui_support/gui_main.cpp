// Entry point of the screen tests: one QApplication for the whole run, offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/widgets/qt_translations.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The screens see Qt's own texts in Japanese, as the program shows them.
    pairly::gui::widgets::installQtJapanese(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Qt's own caches look like leaks to LeakSanitizer; the core tests keep leak checking.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
