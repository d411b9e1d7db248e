#include "gui/printing/print_controller.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "core/disk/data_folder.h"
#include "core/printing/record_sheet.h"

namespace pairly::gui::printing {

namespace {

const QString kScreenKind = QStringLiteral("画面印刷");
const QString kSheetKind = QStringLiteral("用紙印刷");

}  // namespace

PrintController::PrintController(common::AppContext& ctx, QWidget& window, QObject* parent)
    : QObject(parent), ctx_(ctx), window_(window) {}

widgets::PrintDestination PrintController::defaultDestination(const QString& kind) const {
    widgets::PrintDestination destination;
    destination.printerName = widgets::defaultPrinterName();
    return destination.isPdf() ? pdfDestination(kind) : destination;
}

widgets::PrintDestination PrintController::pdfDestination(const QString& kind) const {
    widgets::PrintDestination destination;
    const std::string stem = kind.toStdString();
    const text::Date day = ctx_.clock.today();
    const int seconds = ctx_.clock.secondsSinceMidnight();
    // A print of the same second never replaces the one before it.
    std::string name = pairly::printing::printFileName(stem, day, seconds);
    for (int copy = 2; disk::fileExists(ctx_.dataFolder, name); ++copy)
        name = pairly::printing::printFileName(stem, day, seconds, copy);
    destination.pdfPath = QString::fromStdString((ctx_.dataFolder / name).string());
    return destination;
}

bool PrintController::confirm(const QString& question) {
    return ctx_.dialogs.message(
               question + QStringLiteral("\n\n良かったらＯＫボタンを押してください"),
               QStringLiteral("印刷確認"), widgets::Icon::Question,
               widgets::Buttons::OkCancel) == widgets::Answer::Ok;
}

void PrintController::print(const QString& kind, widgets::PageOrientation orientation,
                            const widgets::PageDrawer& draw) {
    const widgets::PrintDestination destination =
        choose_ ? choose_(kind) : defaultDestination(kind);
    const bool printed = printPage_ ? printPage_(destination, orientation, draw)
                                    : widgets::printPage(destination, orientation, draw);
    if (!printed) {
        if (destination.isPdf()) {
            ctx_.dialogs.warn(QStringLiteral("PDFファイルを作成できませんでした。\n") +
                                  QDir::toNativeSeparators(destination.pdfPath) +
                                  QStringLiteral("\n\nデータフォルダに書き込めるか、"
                                                 "ディスクの空き容量を確認してください。"),
                              QStringLiteral("印刷エラー"));
        } else {
            ctx_.dialogs.warn(QStringLiteral("プリンター「") + destination.printerName +
                                  QStringLiteral("」で印刷できませんでした。\n\n"
                                                 "プリンターの状態を確認してください。"),
                              QStringLiteral("印刷エラー"));
        }
        return;
    }
    if (destination.isPdf()) {
        ctx_.dialogs.inform(QStringLiteral("プリンターが設定されていないため、"
                                           "PDFファイルに保存しました。\n\n") +
                                QDir::toNativeSeparators(destination.pdfPath),
                            QStringLiteral("印刷"));
    }
}

void PrintController::printAfterQuestion(const QString& question, const QString& kind,
                                         widgets::PageOrientation orientation,
                                         const widgets::PageDrawer& draw) {
    if (!confirm(question)) return;
    print(kind, orientation, draw);
}

void PrintController::printScreen() {
    if (!confirm(QStringLiteral("表示中の画面イメージで印刷しますか？"))) return;
    // Taken after the question has closed, so the image shows the screen alone.
    const QImage image = window_.grab().toImage();
    print(kScreenKind, widgets::PageOrientation::Landscape,
          [&image](QPainter& painter, const QRectF& page, double, double) {
              widgets::drawImageFitted(painter, page, image);
          });
}

void PrintController::printRecordSheet() {
    if (!confirm(QStringLiteral("体重記録用紙を印刷しますか？"))) return;
    print(kSheetKind, widgets::PageOrientation::Portrait,
          [](QPainter& painter, const QRectF&, double dpiX, double dpiY) {
              drawRecordSheet(painter, dpiX, dpiY);
          });
}

void PrintController::drawRecordSheet(QPainter& painter, double dpiX, double dpiY) {
    const pairly::printing::RecordSheet sheet = pairly::printing::buildRecordSheet();
    widgets::TwipsPainter twips(painter, dpiX, dpiY);
    for (const pairly::printing::SheetLine& l : sheet.lines) twips.line(l.x1, l.y1, l.x2, l.y2);
    twips.setFontPoints(sheet.fontPoints);
    for (const pairly::printing::SheetText& t : sheet.texts)
        twips.text(t.x, t.y, QString::fromStdString(t.text), t.maxWidth);
}

}  // namespace pairly::gui::printing
