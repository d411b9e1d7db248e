#pragma once
// Printing one page on a printer without a print dialog, or into a PDF file when no
// printer is set up; positions in twips for pages laid out like the program's forms.
#include <QString>
#include <functional>

class QImage;
class QPainter;
class QRectF;

namespace pairly::gui::widgets {

// Where a document goes: a printer of the system by name, or else a PDF file.
struct PrintDestination {
    QString printerName;
    QString pdfPath;
    bool isPdf() const { return printerName.isEmpty(); }
};

// The system's default printer; empty when none is set up.
QString defaultPrinterName();

enum class PageOrientation { Portrait, Landscape };

// Draws one page. The painter's origin is the top-left corner of the printable area,
// `page` is that area in device pixels; dpiX/dpiY are the device's resolution.
using PageDrawer =
    std::function<void(QPainter& painter, const QRectF& page, double dpiX, double dpiY)>;

// Prints one A4 page. False when the printer or the file cannot be opened or reports an
// error; a PDF that could not be completed is removed again.
bool printPage(const PrintDestination& destination, PageOrientation orientation,
               const PageDrawer& draw);

// Lines and texts placed in twips (1/1440 inch) on a device of the given resolution.
class TwipsPainter {
public:
    TwipsPainter(QPainter& painter, double dpiX, double dpiY);
    void line(int x1, int y1, int x2, int y2);
    // Sets the font size of the texts that follow.
    void setFontPoints(double points);
    // A text with its top-left corner at (x, y). One wider than maxWidth twips is narrowed
    // to that width, keeping its height, so that it never runs into its neighbour.
    void text(int x, int y, const QString& text, int maxWidth);

private:
    double px(int twips) const { return twips * dpiX_ / 1440.0; }
    double py(int twips) const { return twips * dpiY_ / 1440.0; }

    QPainter& painter_;
    double dpiX_, dpiY_;
};

// The image scaled to fill the page as far as its proportions allow, at the top of the
// page and centred across it.
void drawImageFitted(QPainter& painter, const QRectF& page, const QImage& image);

}  // namespace pairly::gui::widgets
