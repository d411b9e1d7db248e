#include "gui/widgets/icons.h"

#include <QFont>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace pairly::gui::widgets {

namespace {

// Everything is drawn in a 32×32 design space (400×260 for the splash) and scaled.
const QColor kFaceYellow(255, 214, 0);
const QColor kOutline(0, 0, 0);
const QColor kTongueRed(230, 30, 40);
const QColor kSignRed(220, 0, 0);

void faceBase(QPainter& p, const QColor& yellow) {
    QRadialGradient g(QPointF(12, 10), 20);
    g.setColorAt(0, yellow.lighter(118));
    g.setColorAt(1, yellow);
    p.setPen(QPen(kOutline, 1.6));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 14.2, 14.2);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawEllipse(QPointF(11.2, 12.5), 1.9, 2.8);
    p.drawEllipse(QPointF(20.8, 12.5), 1.9, 2.8);
}

QPen mouthPen() {
    QPen pen(kOutline, 1.9);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void sulkyFace(QPainter& p) {
    faceBase(p, kFaceYellow);
    p.setPen(mouthPen());
    p.drawLine(QPointF(10.5, 22), QPointF(21.5, 22));
}

void smilingFace(QPainter& p, const QColor& yellow) {
    faceBase(p, yellow);
    QPainterPath mouth(QPointF(9.5, 19));
    mouth.quadTo(QPointF(16, 27.5), QPointF(22.5, 19));
    p.setPen(mouthPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void sadFace(QPainter& p) {
    faceBase(p, kFaceYellow);
    QPainterPath mouth(QPointF(10, 24.5));
    mouth.quadTo(QPointF(16, 17), QPointF(22, 24.5));
    p.setPen(mouthPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
    // A tear under the right eye.
    QPainterPath tear(QPointF(21.5, 15.5));
    tear.cubicTo(QPointF(24, 19), QPointF(23.6, 21.2), QPointF(21.5, 21.2));
    tear.cubicTo(QPointF(19.4, 21.2), QPointF(19, 19), QPointF(21.5, 15.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 150, 235));
    p.drawPath(tear);
}

void laughingFace(QPainter& p) {
    faceBase(p, kFaceYellow);
    // Wide open mouth: flat upper lip, deep round lower lip.
    QPainterPath mouth(QPointF(8, 17.5));
    mouth.lineTo(QPointF(24, 17.5));
    mouth.cubicTo(QPointF(24, 25.5), QPointF(19.5, 28.2), QPointF(16, 28.2));
    mouth.cubicTo(QPointF(12.5, 28.2), QPointF(8, 25.5), QPointF(8, 17.5));
    mouth.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 0, 0));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setBrush(kTongueRed);
    p.drawEllipse(QPointF(16, 28), 6.2, 4.8);
    p.restore();
    QPen pen = mouthPen();
    pen.setWidthF(1.5);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void freeSituationFace(QPainter& p) {
    smilingFace(p, QColor(255, 236, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 140, 140, 170));
    p.drawEllipse(QPointF(7.8, 18.2), 2.4, 1.6);
    p.drawEllipse(QPointF(24.2, 18.2), 2.4, 1.6);
}

void noEntrySign(QPainter& p) {
    QRadialGradient g(QPointF(12, 10), 22);
    g.setColorAt(0, kSignRed.lighter(125));
    g.setColorAt(1, kSignRed);
    p.setPen(QPen(QColor(150, 0, 0), 1.2));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6.5, 13.2, 19, 5.6), 0.8, 0.8);
}

void clockFace(QPainter& p) {
    p.setPen(QPen(QColor(30, 60, 140), 2.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 13.8, 13.8);
    p.setPen(QPen(QColor(40, 40, 40), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int h = 0; h < 12; ++h) {
        const double a = h * M_PI / 6;
        const double inner = h % 3 == 0 ? 9.2 : 10.6;
        p.drawLine(QPointF(16 + inner * std::sin(a), 16 - inner * std::cos(a)),
                   QPointF(16 + 12 * std::sin(a), 16 - 12 * std::cos(a)));
    }
    // Ten past ten.
    p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap));
    const double ha = (10 + 10 / 60.0) * M_PI / 6, ma = 10 * M_PI / 30;
    p.drawLine(QPointF(16, 16), QPointF(16 + 6.5 * std::sin(ha), 16 - 6.5 * std::cos(ha)));
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16 + 9.5 * std::sin(ma), 16 - 9.5 * std::cos(ma)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 0, 0));
    p.drawEllipse(QPointF(16, 16), 1.4, 1.4);
}

void floppyDisk(QPainter& p) {
    QPainterPath body(QPointF(4, 4));
    body.lineTo(24.5, 4);
    body.lineTo(28, 7.5);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.setPen(QPen(QColor(10, 30, 80), 1.2));
    p.setBrush(QColor(40, 90, 190));
    p.drawPath(body);
    // Metal shutter with its window.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 210, 220));
    p.drawRect(QRectF(9, 4.6, 13, 8.4));
    p.setBrush(QColor(40, 90, 190));
    p.drawRect(QRectF(17.5, 6, 2.8, 5.6));
    // Paper label.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(7.5, 16, 17, 11), 1, 1);
    p.setPen(QPen(QColor(150, 160, 190), 0.8));
    for (double y : {19.0, 22.0, 25.0}) p.drawLine(QPointF(9.5, y), QPointF(22.5, y));
}

void meterPointer(QPainter& p, bool up) {
    // A small arrow in the middle of the square; the tip marks the value.
    QPainterPath arrow;
    if (up) {
        arrow.moveTo(16, 7);
        arrow.lineTo(23, 16);
        arrow.lineTo(18.5, 16);
        arrow.lineTo(18.5, 25);
        arrow.lineTo(13.5, 25);
        arrow.lineTo(13.5, 16);
        arrow.lineTo(9, 16);
    } else {
        arrow.moveTo(16, 25);
        arrow.lineTo(23, 16);
        arrow.lineTo(18.5, 16);
        arrow.lineTo(18.5, 7);
        arrow.lineTo(13.5, 7);
        arrow.lineTo(13.5, 16);
        arrow.lineTo(9, 16);
    }
    arrow.closeSubpath();
    QPen pen(Qt::white, 1.4);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(QColor(20, 20, 20));
    p.drawPath(arrow);
}

void star(QPainterPath& path, QPointF c, double outer, double inner) {
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = i * M_PI / 5;
        const QPointF pt(c.x() + r * std::sin(a), c.y() - r * std::cos(a));
        if (i == 0) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
}

void winnerMark(QPainter& p) {
    // Ribbon.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 30, 50));
    QPolygonF left({QPointF(7, 1), QPointF(13, 1), QPointF(18, 13), QPointF(13.5, 15)});
    p.drawPolygon(left);
    p.setBrush(QColor(30, 80, 200));
    QPolygonF right({QPointF(25, 1), QPointF(19, 1), QPointF(14, 13), QPointF(18.5, 15)});
    p.drawPolygon(right);
    // Gold disc with a star.
    QRadialGradient g(QPointF(13, 17), 13);
    g.setColorAt(0, QColor(255, 245, 170));
    g.setColorAt(0.55, QColor(255, 200, 0));
    g.setColorAt(1, QColor(205, 140, 0));
    p.setPen(QPen(QColor(150, 95, 0), 1.3));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 21), 9.8, 9.8);
    QPainterPath s;
    star(s, QPointF(16, 21.5), 6, 2.5);
    p.setPen(QPen(QColor(170, 110, 0), 0.8));
    p.setBrush(QColor(255, 235, 120));
    p.drawPath(s);
}

void heart(QPainterPath& path, QPointF c, double w) {
    const double h = w * 0.9;
    path.moveTo(c.x(), c.y() + h * 0.5);
    path.cubicTo(c.x() - w * 0.9, c.y() - h * 0.05, c.x() - w * 0.45, c.y() - h * 0.75, c.x(),
                 c.y() - h * 0.3);
    path.cubicTo(c.x() + w * 0.45, c.y() - h * 0.75, c.x() + w * 0.9, c.y() - h * 0.05, c.x(),
                 c.y() + h * 0.5);
    path.closeSubpath();
}

void figure(QPainter& p, QPointF head, const QColor& color) {
    QLinearGradient g(head - QPointF(0, 20), head + QPointF(0, 110));
    g.setColorAt(0, color.lighter(125));
    g.setColorAt(1, color.darker(115));
    p.setPen(QPen(color.darker(160), 2));
    p.setBrush(g);
    p.drawEllipse(head, 20, 20);
    QPainterPath body(QPointF(head.x() - 34, head.y() + 98));
    body.cubicTo(head.x() - 34, head.y() + 40, head.x() - 16, head.y() + 26, head.x(),
                 head.y() + 26);
    body.cubicTo(head.x() + 16, head.y() + 26, head.x() + 34, head.y() + 40, head.x() + 34,
                 head.y() + 98);
    body.closeSubpath();
    p.drawPath(body);
}

void splash(QPainter& p) {
    QLinearGradient bg(0, 0, 0, 260);
    bg.setColorAt(0, QColor(255, 240, 245));
    bg.setColorAt(1, QColor(255, 250, 225));
    p.setPen(QPen(QColor(235, 150, 180), 3));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(1.5, 1.5, 397, 257), 14, 14);

    // Scattered little stars.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 205, 60, 190));
    for (QPointF c : {QPointF(40, 36), QPointF(362, 44), QPointF(330, 118), QPointF(70, 120)}) {
        QPainterPath s;
        star(s, c, 8, 3.4);
        p.drawPath(s);
    }

    figure(p, QPointF(128, 62), QColor(90, 150, 230));
    figure(p, QPointF(272, 62), QColor(245, 120, 160));
    QPainterPath h;
    heart(h, QPointF(200, 92), 44);
    QRadialGradient hg(QPointF(190, 78), 40);
    hg.setColorAt(0, QColor(255, 120, 140));
    hg.setColorAt(1, QColor(220, 20, 60));
    p.setPen(QPen(QColor(160, 0, 40), 2));
    p.setBrush(hg);
    p.drawPath(h);

    // Title with a white rim so it reads on any background.
    QFont f(QStringLiteral("Noto Sans CJK JP"));
    f.setPixelSize(44);
    f.setBold(true);
    const QString title = QStringLiteral("ペアリー☆ログ");
    QPainterPath t;
    t.addText(0, 0, f, title);
    const QRectF tb = t.boundingRect();
    t.translate(200 - tb.center().x(), 222 - tb.center().y());
    QPen rim(Qt::white, 7);
    rim.setJoinStyle(Qt::RoundJoin);
    p.strokePath(t, rim);
    p.fillPath(t, QColor(215, 40, 110));
}

void draw(QPainter& p, Picture picture) {
    switch (picture) {
        case Picture::LaughingFace:
            laughingFace(p);
            break;
        case Picture::SmilingFace:
            smilingFace(p, kFaceYellow);
            break;
        case Picture::SulkyFace:
            sulkyFace(p);
            break;
        case Picture::NoEntrySign:
            noEntrySign(p);
            break;
        case Picture::FreeSituationFace:
            freeSituationFace(p);
            break;
        case Picture::ClockFace:
            clockFace(p);
            break;
        case Picture::FloppyDisk:
            floppyDisk(p);
            break;
        case Picture::MeterPointerUp:
            meterPointer(p, true);
            break;
        case Picture::MeterPointerDown:
            meterPointer(p, false);
            break;
        case Picture::WinnerMark:
            winnerMark(p);
            break;
        case Picture::Splash:
            splash(p);
            break;
        case Picture::SadFace:
            sadFace(p);
            break;
    }
}

class PictureEngine : public QIconEngine {
public:
    explicit PictureEngine(Picture picture) : picture_(picture) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        if (mode == QIcon::Disabled) painter->setOpacity(0.35);
        paintPicture(*painter, rect, picture_);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pm(size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new PictureEngine(picture_); }

private:
    Picture picture_;
};

}  // namespace

QSize naturalSize(Picture picture) {
    return picture == Picture::Splash ? QSize(400, 260) : QSize(32, 32);
}

void paintPicture(QPainter& painter, const QRectF& rect, Picture picture) {
    const QSizeF design = naturalSize(picture);
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const double scale = std::min(rect.width() / design.width(), rect.height() / design.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(rect.center().x() - design.width() * scale / 2,
                      rect.center().y() - design.height() * scale / 2);
    painter.scale(scale, scale);
    draw(painter, picture);
    painter.restore();
}

QPixmap pixmap(Picture picture, QSize size, qreal devicePixelRatio) {
    if (size.isEmpty()) size = naturalSize(picture);
    if (devicePixelRatio <= 0) {
        devicePixelRatio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    }
    QPixmap pm(QSize(std::lround(size.width() * devicePixelRatio),
                     std::lround(size.height() * devicePixelRatio)));
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintPicture(p, QRectF(QPointF(0, 0), QSizeF(size)), picture);
    return pm;
}

QIcon icon(Picture picture) { return QIcon(new PictureEngine(picture)); }

QLabel* pictureLabel(const QString& objectName, const QString& toolTip, Picture picture,
                     QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setToolTip(toolTip);
    label->setPixmap(pixmap(picture, QSize(32, 32)));
    label->setFixedSize(32, 32);
    return label;
}

}  // namespace pairly::gui::widgets
