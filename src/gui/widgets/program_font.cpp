#include "gui/widgets/program_font.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace pairly::gui::widgets {

void applyProgramFont() {
    const QString japaneseFamily = QStringLiteral("Noto Sans CJK JP");
    if (!QFontDatabase::families().contains(japaneseFamily)) return;
    QFont font(japaneseFamily);
    font.setPointSizeF(QApplication::font().pointSizeF());
    QApplication::setFont(font);
}

}  // namespace pairly::gui::widgets
