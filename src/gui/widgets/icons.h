#pragma once
// The program's pictures, drawn in code so they stay crisp at any size and pixel ratio.
#include <QIcon>
#include <QPixmap>
#include <QSize>

class QLabel;
class QPainter;
class QWidget;
class QRectF;

namespace pairly::gui::widgets {

enum class Picture {
    LaughingFace,       // round yellow face, wide open smile with a red tongue ("笑い")
    SmilingFace,        // smiling curve ("ニコ")
    SulkyFace,          // straight-line mouth ("ムスッ")
    NoEntrySign,        // red disc with a white bar (no data / "未登録")
    FreeSituationFace,  // bright yellow smiling face for the free-situation button
    ClockFace,          // analogue clock (automatic time)
    FloppyDisk,         // save
    MeterPointerUp,     // small upward arrow centred in a square (pointer under the BMI bands)
    MeterPointerDown,   // small downward arrow centred in a square (pointer above the bands)
    WinnerMark,         // gold medal with a ribbon, for the comparison screen
    Splash,             // start-up picture: two figures, a heart and the title
    SadFace,            // drooping mouth and a blue tear, for the calendar's verdict
};

// Natural size of a picture in device-independent pixels: 32×32 for the icons, 400×260
// for the splash.
QSize naturalSize(Picture picture);

// Draws the picture scaled into `rect` (keeping its aspect ratio, centred).
void paintPicture(QPainter& painter, const QRectF& rect, Picture picture);

// A pixmap of `size` device-independent pixels (natural size when empty) rendered at
// `devicePixelRatio` (the application's ratio when 0); transparent outside the drawing.
QPixmap pixmap(Picture picture, QSize size = QSize(), qreal devicePixelRatio = 0);

// An icon that draws itself at whatever size and ratio it is asked for.
QIcon icon(Picture picture);

// A fixed 32 × 32 label showing a picture, with its object name and tooltip.
QLabel* pictureLabel(const QString& objectName, const QString& toolTip, Picture picture,
                     QWidget* parent);

// Shorthands for the pictures the screens use most (size in device-independent pixels).
inline QPixmap laughingFace(int size = 32) { return pixmap(Picture::LaughingFace, {size, size}); }
inline QPixmap smilingFace(int size = 32) { return pixmap(Picture::SmilingFace, {size, size}); }
inline QPixmap sulkyFace(int size = 32) { return pixmap(Picture::SulkyFace, {size, size}); }
inline QPixmap noEntrySign(int size = 32) { return pixmap(Picture::NoEntrySign, {size, size}); }
inline QPixmap winnerMark(int size = 32) { return pixmap(Picture::WinnerMark, {size, size}); }
inline QPixmap splashPicture() { return pixmap(Picture::Splash); }

}  // namespace pairly::gui::widgets
