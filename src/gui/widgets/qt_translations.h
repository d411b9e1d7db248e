#pragma once
// Qt's own texts (the standard buttons of message boxes, the input dialog's OK/Cancel,
// the month calendar, the context menus of text fields) in Japanese, from the
// translations Qt installs beside itself (Debian: qt6-translations-l10n).
#include <QString>

class QCoreApplication;

namespace pairly::gui::widgets {

// Where Qt's Japanese translation of its base texts is expected.
QString qtJapaneseFile();
// Loads that file into a translator owned by `app` and installs it; false (and Qt's English
// texts stay) when the file is missing or unreadable.
bool installQtJapanese(QCoreApplication& app);

}  // namespace pairly::gui::widgets
