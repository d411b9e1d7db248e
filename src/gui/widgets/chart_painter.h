#pragma once
// Draws one series of the chart over its plot area: line pieces between neighbouring
// points, a dot at lone points, markers where the series has them.
#include <QColor>
#include <QImage>
#include <QRectF>
#include <vector>

class QPainter;

namespace pairly::gui::widgets {

enum class Marker { None, Circle, Ball };

// How a series looks.
struct SeriesLook {
    QColor color;
    qreal lineWidth = 2;
    // A dashed series is drawn as one line per run, so the dashes go on evenly from point
    // to point (a forecast, not data).
    bool dashed = false;
    Marker marker = Marker::None;
    QImage markerImage;  // drawn at every point (or at lone points when Marker::None)
    qreal markerSize = 0;
};

// Where values land: point i (0-based) at category i + 1, against the category range
// x0.. and the value range y0.. scaled into `area`.
struct PlotMapping {
    QRectF area;
    double x0 = 0, kx = 1;  // category at the left edge, pixels per category
    double y0 = 0, ky = 1;  // value at the bottom edge, pixels per unit
};

// The picture drawn at each point with this marker, `size` pixels across.
QImage markerImage(Marker marker, const QColor& color, qreal size);

// Draws the series (NaN: a missing point, no line to or through it).
void paintSeries(QPainter* painter, const std::vector<double>& values, const SeriesLook& s,
                 const PlotMapping& m);

}  // namespace pairly::gui::widgets
