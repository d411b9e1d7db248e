#pragma once
// The help document in a window of its own, owned by the main window.
#include <QWidget>

class QTextBrowser;

namespace pairly::gui::widgets {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The document compiled into the program.
    static constexpr const char* kDocument = "qrc:/help/pairlyhelp.html";

    explicit HelpViewer(QWidget* owner);
    QTextBrowser* browser() const { return browser_; }
    // Back to the first page of the document.
    void showDefaultTopic();

private:
    QTextBrowser* browser_;
};

}  // namespace pairly::gui::widgets
