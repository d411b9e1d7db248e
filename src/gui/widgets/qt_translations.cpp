#include "gui/widgets/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace pairly::gui::widgets {

QString qtJapaneseFile() {
    return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath("qtbase_ja.qm");
}

bool installQtJapanese(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(qtJapaneseFile())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace pairly::gui::widgets
