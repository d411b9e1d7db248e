#include "gui/widgets/chart_painter.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <limits>

namespace pairly::gui::widgets {

namespace {

// A value far outside the axis is drawn at this distance from the plot area at most, so that
// no coordinate overflows; the line it gives is clipped away all the same.
constexpr double kFarOut = 1e5;

}  // namespace

QImage markerImage(Marker marker, const QColor& color, qreal size) {
    const int px = static_cast<int>(std::ceil(size * 2));  // drawn at twice the size for crispness
    QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, px - 2, px - 2);
    if (marker == Marker::Ball) {
        // A shaded ball: highlight at the upper left, the series colour darkening outward.
        QRadialGradient g(r.center(), r.width() / 2,
                          r.topLeft() + QPointF(r.width() * 0.35, r.height() * 0.3));
        g.setColorAt(0.0, Qt::white);
        g.setColorAt(0.35, color.lighter(130));
        g.setColorAt(1.0, color.darker(220));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(r);
    } else {
        p.setPen(QPen(color.darker(160), px / 8.0));
        p.setBrush(color);
        p.drawEllipse(r.adjusted(px / 16.0, px / 16.0, -px / 16.0, -px / 16.0));
    }
    return img;
}

namespace {

// Each run of non-empty points as one polyline (its dash pattern unbroken); a lone point
// as its marker.
template <class Position>
void paintDashedRuns(QPainter* painter, const std::vector<double>& values, const SeriesLook& s,
                     const Position& position) {
    QPen pen(s.color, s.lineWidth, Qt::DashLine);
    pen.setCapStyle(Qt::FlatCap);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    QPolygonF run;
    auto flush = [&] {
        if (run.size() == 1) {
            const double half = s.markerSize / 2;
            painter->drawImage(
                QRectF(run[0].x() - half, run[0].y() - half, s.markerSize, s.markerSize),
                s.markerImage);
        } else if (run.size() > 1) {
            painter->drawPolyline(run);
        }
        run.clear();
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::isfinite(values[i]))
            run.append(position(i));
        else
            flush();
    }
    flush();
}

}  // namespace

void paintSeries(QPainter* painter, const std::vector<double>& values, const SeriesLook& s,
                 const PlotMapping& m) {
    const QRectF& area = m.area;
    const double top = area.top() - kFarOut, bottom = area.bottom() + kFarOut;
    auto position = [&](std::size_t i) {
        const double y = area.bottom() - (values[i] - m.y0) * m.ky;
        return QPointF(area.left() + (static_cast<double>(i) + 1 - m.x0) * m.kx,
                       std::clamp(y, top, bottom));
    };

    QPen pen(s.color, s.lineWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);

    // Each run of non-empty points is drawn as its line pieces, each with round ends as a
    // chart control draws them. Where several points share a pixel column only the lowest
    // and the highest of them are kept, in their order: the piece between them covers the
    // column, so the same pixels are drawn from a few thousand pieces at most. Pieces of a
    // run denser than its pixels are a pixel or two long, where square ends draw the same
    // band as round ones at a third of the cost.
    if (s.dashed) {
        paintDashedRuns(painter, values, s, position);
        return;
    }

    std::vector<QLineF> pieces;
    std::vector<QLineF> densePieces;
    std::vector<QRectF> denseColumns;  // a dense run's pieces within one pixel column
    std::vector<QPointF> lonePoints;
    const double halfWidth = s.lineWidth / 2;
    const std::size_t n = values.size();
    std::size_t i = 0;
    while (i < n) {
        if (!std::isfinite(values[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < n && std::isfinite(values[end])) ++end;
        if (end - i == 1) {
            lonePoints.push_back(position(i));
            i = end;
            continue;
        }
        const bool dense = static_cast<double>(end - i) > (position(end - 1).x() - position(i).x());
        std::vector<QLineF>& out = dense ? densePieces : pieces;
        QPointF previous;
        bool started = false;
        auto lineTo = [&](const QPointF& p) {
            if (started) out.emplace_back(previous, p);
            previous = p;
            started = true;
        };
        std::size_t k = i;
        while (k < end) {
            const QPointF first = position(k);
            const double column = std::floor(first.x());
            QPointF low = first, high = first;
            std::size_t lowAt = k, highAt = k;
            std::size_t m = k + 1;
            for (; m < end; ++m) {
                const QPointF p = position(m);
                if (std::floor(p.x()) != column) break;
                if (p.y() > low.y()) low = p, lowAt = m;
                if (p.y() < high.y()) high = p, highAt = m;
            }
            if (lowAt == highAt) {
                lineTo(low);
            } else if (dense) {
                // Upright within its column: with square ends it is the rectangle around
                // it, which is far cheaper to fill than a stroke.
                const QPointF& a = lowAt < highAt ? low : high;
                const QPointF& b = lowAt < highAt ? high : low;
                lineTo(a);
                const double x = (a.x() + b.x()) / 2;
                denseColumns.emplace_back(QPointF(x - halfWidth, high.y() - halfWidth),
                                          QPointF(x + halfWidth, low.y() + halfWidth));
                previous = b;
            } else {
                lineTo(lowAt < highAt ? low : high);
                lineTo(lowAt < highAt ? high : low);
            }
            k = m;
        }
        i = end;
    }
    painter->drawLines(pieces.data(), static_cast<int>(pieces.size()));
    if (!densePieces.empty()) {
        pen.setCapStyle(Qt::SquareCap);
        painter->setPen(pen);
        painter->drawLines(densePieces.data(), static_cast<int>(densePieces.size()));
    }
    if (!denseColumns.empty()) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(s.color);
        painter->drawRects(denseColumns.data(), static_cast<int>(denseColumns.size()));
    }

    // Markers: at every point when the series has them, else only at lone points. A marker
    // on the pixel of the one before adds nothing.
    const QImage& image = s.markerImage;
    const double half = s.markerSize / 2;
    QPoint lastPixel(std::numeric_limits<int>::min(), 0);
    auto drawMarker = [&](const QPointF& p) {
        const QPoint pixel = p.toPoint();
        if (pixel == lastPixel) return;
        lastPixel = pixel;
        painter->drawImage(QRectF(p.x() - half, p.y() - half, s.markerSize, s.markerSize), image);
    };
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    if (s.marker == Marker::None) {
        for (const QPointF& p : lonePoints) drawMarker(p);
        return;
    }
    for (std::size_t j = 0; j < n; ++j)
        if (std::isfinite(values[j])) drawMarker(position(j));
}

}  // namespace pairly::gui::widgets
