#include "gui/widgets/printing.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace pairly::gui::widgets {

namespace {

// A PDF stands for a printer's printable area: a small margin all round.
constexpr double kPdfMarginMm = 5;

// A PDF is complete when its trailer was written.
bool pdfComplete(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) return false;
    file.seek(file.size() - 16);
    return file.read(16).contains("%%EOF");
}

}  // namespace

QString defaultPrinterName() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? QString() : info.printerName();
}

bool printPage(const PrintDestination& destination, PageOrientation orientation,
               const PageDrawer& draw) {
    QPrinter printer(QPrinter::HighResolution);
    if (destination.isPdf()) {
        if (destination.pdfPath.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(destination.pdfPath);
    } else {
        printer.setPrinterName(destination.printerName);
        if (!printer.isValid()) return false;
    }
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
    if (destination.isPdf())
        printer.setPageMargins(QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                               QPageLayout::Millimeter);

    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
        const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
        draw(painter, page, printer.logicalDpiX(), printer.logicalDpiY());
        ok = painter.end();
    }
    ok = ok && printer.printerState() != QPrinter::Error &&
         printer.printerState() != QPrinter::Aborted;
    if (destination.isPdf()) {
        ok = ok && pdfComplete(destination.pdfPath);
        if (!ok) QFile::remove(destination.pdfPath);
    }
    return ok;
}

TwipsPainter::TwipsPainter(QPainter& painter, double dpiX, double dpiY)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY) {
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, dpiX / 150.0));  // a thin line, as a printer draws it
    painter_.setPen(pen);
}

void TwipsPainter::line(int x1, int y1, int x2, int y2) {
    painter_.drawLine(QPointF(px(x1), py(y1)), QPointF(px(x2), py(y2)));
}

void TwipsPainter::setFontPoints(double points) {
    QFont font = QGuiApplication::font();
    // One font that has every glyph of the sheet, so a text is laid out in one piece.
    font.setFamilies(
        {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"), font.family()});
    // Points of the device: pixels = points / 72 × its resolution.
    font.setPixelSize(std::max(1, static_cast<int>(points * dpiY_ / 72.0 + 0.5)));
    painter_.setFont(font);
}

void TwipsPainter::text(int x, int y, const QString& text, int maxWidth) {
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const double width = metrics.horizontalAdvance(text);
    const double room = px(maxWidth);
    painter_.save();
    painter_.translate(px(x), py(y));
    if (width > room && width > 0) painter_.scale(room / width, 1.0);
    painter_.drawText(QPointF(0, metrics.ascent()), text);
    painter_.restore();
}

void drawImageFitted(QPainter& painter, const QRectF& page, const QImage& image) {
    if (image.isNull() || page.isEmpty()) return;
    const double scale = std::min(page.width() / image.width(), page.height() / image.height());
    const QSizeF size(image.width() * scale, image.height() * scale);
    const QRectF target(page.left() + (page.width() - size.width()) / 2, page.top(), size.width(),
                        size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

}  // namespace pairly::gui::widgets
