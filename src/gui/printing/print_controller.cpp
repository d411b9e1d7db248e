#include "gui/printing/print_controller.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "core/printing/record_sheet.h"
#include "core/store/data_folder.h"

namespace pairly::maintenance {

namespace {

const QString kScreenKind = QStringLiteral("画面印刷");
const QString kSheetKind = QStringLiteral("用紙印刷");

}  // namespace

PrintController::PrintController(ui::AppContext& ctx, QWidget& window, QObject* parent)
    : QObject(parent), ctx_(ctx), window_(window) {}

ui::PrintDestination PrintController::defaultDestination(const QString& kind) const {
    ui::PrintDestination destination;
    destination.printerName = ui::defaultPrinterName();
    return destination.isPdf() ? pdfDestination(kind) : destination;
}

ui::PrintDestination PrintController::pdfDestination(const QString& kind) const {
    ui::PrintDestination destination;
    const std::string stem = kind.toStdString();
    const text::Date day = ctx_.clock.today();
    const int seconds = ctx_.clock.secondsSinceMidnight();
    // A print of the same second never replaces the one before it.
    std::string name = printFileName(stem, day, seconds);
    for (int copy = 2; store::fileExists(ctx_.dataFolder, name); ++copy)
        name = printFileName(stem, day, seconds, copy);
    destination.pdfPath = QString::fromStdString((ctx_.dataFolder / name).string());
    return destination;
}

bool PrintController::confirm(const QString& question) {
    return ctx_.dialogs.message(
               question + QStringLiteral("\n\n良かったらＯＫボタンを押してください"),
               QStringLiteral("印刷確認"), ui::Icon::Question,
               ui::Buttons::OkCancel) == ui::Answer::Ok;
}

void PrintController::print(const QString& kind, ui::PageOrientation orientation,
                            const ui::PageDrawer& draw) {
    const ui::PrintDestination destination = choose_ ? choose_(kind) : defaultDestination(kind);
    const bool printed = printPage_ ? printPage_(destination, orientation, draw)
                                    : ui::printPage(destination, orientation, draw);
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
                                         ui::PageOrientation orientation,
                                         const ui::PageDrawer& draw) {
    if (!confirm(question)) return;
    print(kind, orientation, draw);
}

void PrintController::printScreen() {
    if (!confirm(QStringLiteral("表示中の画面イメージで印刷しますか？"))) return;
    // Taken after the question has closed, so the image shows the screen alone.
    const QImage image = window_.grab().toImage();
    print(kScreenKind, ui::PageOrientation::Landscape,
          [&image](QPainter& painter, const QRectF& page, double, double) {
              ui::drawImageFitted(painter, page, image);
          });
}

void PrintController::printRecordSheet() {
    if (!confirm(QStringLiteral("体重記録用紙を印刷しますか？"))) return;
    print(kSheetKind, ui::PageOrientation::Portrait,
          [](QPainter& painter, const QRectF&, double dpiX, double dpiY) {
              drawRecordSheet(painter, dpiX, dpiY);
          });
}

void PrintController::drawRecordSheet(QPainter& painter, double dpiX, double dpiY) {
    const RecordSheet sheet = buildRecordSheet();
    ui::TwipsPainter twips(painter, dpiX, dpiY);
    for (const SheetLine& l : sheet.lines) twips.line(l.x1, l.y1, l.x2, l.y2);
    twips.setFontPoints(sheet.fontPoints);
    for (const SheetText& t : sheet.texts)
        twips.text(t.x, t.y, QString::fromStdString(t.text), t.maxWidth);
}

}  // namespace pairly::maintenance
