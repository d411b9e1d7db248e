#pragma once
// The two print buttons of the top row: cmdPrint prints the main window as shown, cmdPrint1
// the blank weight record sheet. Both ask first and print without a print dialog.
#include <QObject>
#include <functional>

#include "gui/common/app_context.h"
#include "gui/widgets/printing.h"

class QPainter;
class QWidget;

namespace pairly::gui::printing {

class PrintController : public QObject {
    Q_OBJECT
public:
    // `window` is what the screen print shows.
    PrintController(common::AppContext& ctx, QWidget& window, QObject* parent = nullptr);

    // cmdPrint: after the confirmation, the window's client area as an image on one page.
    void printScreen();
    // cmdPrint1: after the confirmation, the record sheet on one page.
    void printRecordSheet();

    // Any other page: after `question` is confirmed, the page drawn by `draw` goes where
    // prints of `kind` go, with the same messages as the two buttons.
    void printAfterQuestion(const QString& question, const QString& kind,
                            widgets::PageOrientation orientation, const widgets::PageDrawer& draw);

    // Where a print of this kind ("画面印刷", "用紙印刷") goes. By default the system's
    // default printer, or, when none is set up, a new PDF in the data folder.
    using DestinationChooser = std::function<widgets::PrintDestination(const QString& kind)>;
    void setDestinationChooser(DestinationChooser chooser) { choose_ = std::move(chooser); }
    widgets::PrintDestination defaultDestination(const QString& kind) const;
    // A PDF in the data folder named by the kind, the date and the time; never an existing file.
    widgets::PrintDestination pdfDestination(const QString& kind) const;

    // What puts the page on paper; widgets::printPage unless a test records the page instead.
    using PagePrinter = std::function<bool(const widgets::PrintDestination&,
                                           widgets::PageOrientation, const widgets::PageDrawer&)>;
    void setPagePrinter(PagePrinter printer) { printPage_ = std::move(printer); }

    // The sheet on a device of the given resolution, origin at its printable area.
    static void drawRecordSheet(QPainter& painter, double dpiX, double dpiY);

private:
    bool confirm(const QString& question);
    void print(const QString& kind, widgets::PageOrientation orientation,
               const widgets::PageDrawer& draw);

    common::AppContext& ctx_;
    QWidget& window_;
    DestinationChooser choose_;
    PagePrinter printPage_;
};

}  // namespace pairly::gui::printing
