#pragma once
// A line chart with category points 1..n, up to four series on a left and a right
// value axis, values handed over as numbers (NaN = missing point, no line to or through
// it), per-axis limits and divisions, point markers, dashed reference lines and one click
// event.
#include <QChartView>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <array>
#include <vector>

#include "core/chart/composition.h"
#include "gui/widgets/chart_painter.h"
#include "gui/widgets/deferred_build.h"

class QValueAxis;

namespace pairly::gui::widgets {

enum class Axis { Left, Right };

class Chart : public QChartView {
    Q_OBJECT
public:
    static constexpr int kSeriesCount = 4;

    explicit Chart(QWidget* parent = nullptr);

    // --- points and values (series 1..4, points 1..pointCount()) --------------------------
    // Points beyond a smaller count are dropped; new points are empty.
    // setPointCount(0) followed by setPointCount(n) gives n empty points.
    void setPointCount(int n);
    int pointCount() const { return pointCount_; }
    // Whole series at once (index 0 = point 1, NaN = missing); the point count grows if
    // needed and points beyond the series are missing. Out-of-range series are ignored.
    void setSeriesValues(int series, const chart::Series& values);
    // A point's figure as a label writes it (up to 15 digits); "" when it is not drawn
    // (missing, not finite) or out of range.
    QString value(int series, int point) const;

    // --- series --------------------------------------------------------------------------
    // Which value axis a series is drawn against; every series starts on the left axis.
    void setSeriesAxis(int series, Axis axis);
    Axis seriesAxis(int series) const;
    void setSeriesColor(int series, const QColor& color);
    // What a screen reader calls the series (the column of the chart's table).
    void setSeriesName(int series, const QString& name);
    QString seriesName(int series) const;
    QColor seriesColor(int series) const;
    // Hidden series draw neither line nor markers (their values stay). Series 4 starts
    // hidden, so a chart of three series shows (and tells a screen reader) only those.
    void setSeriesVisible(int series, bool visible);
    bool isSeriesVisible(int series) const;
    void setSeriesMarker(int series, Marker marker);
    Marker seriesMarker(int series) const;
    // Same marker for every series.
    void setMarker(Marker marker);
    // Line width in pixels (default 2).
    void setSeriesLineWidth(int series, qreal width);

    // --- value axes ----------------------------------------------------------------------
    // An axis scales itself to the data of its series until a range is set.
    void setAxisRange(Axis axis, double minimum, double maximum);
    // Back to automatic scaling.
    void setAxisAuto(Axis axis);
    bool isAxisAuto(Axis axis) const;
    // The limits as last set (or computed, when automatic) — even inverted ones.
    double axisMinimum(Axis axis) const;
    double axisMaximum(Axis axis) const;
    // The range actually drawn: inverted, equal or non-finite limits are replaced by a
    // sane range so that the chart still shows (empty) instead of failing.
    double displayedAxisMinimum(Axis axis) const;
    double displayedAxisMaximum(Axis axis) const;
    // Number of major divisions (tick count − 1). Values below 1 or above 200 are refused
    // (returns false, previous count kept).
    bool setAxisDivisions(Axis axis, int divisions);
    int axisDivisions(Axis axis) const;
    // Hiding an axis hides its scale; the series keep their scaling. The right axis is
    // drawn only when it is visible and at least one series is bound to it.
    void setAxisVisible(Axis axis, bool visible);
    bool isAxisVisible(Axis axis) const;
    // Value labels drawn whole even where the chart allots a label less than the height of
    // its box (its padding taken off): a short chart with ten divisions still reads. Off by
    // default, for the small charts whose labels would overlap.
    void setAxisLabelsWhole(bool whole);
    // Whether an axis shows a label cut to "…".
    bool axisLabelsCut(Axis axis) const;
    // Font size of the axis labels in points (small charts want small labels).
    void setLabelFontPointSize(double points);

    // --- reference lines -----------------------------------------------------------------
    // A dashed horizontal line at a value of an axis (a goal, not data: it neither scales
    // the axis nor is part of any series). Drawn while its axis is shown and the value lies
    // within the axis; non-finite values are ignored.
    struct ReferenceLine {
        Axis axis = Axis::Left;
        double value = 0;
        QColor colour;
    };
    void addReferenceLine(Axis axis, double value, const QColor& colour);
    void clearReferenceLines();
    const std::vector<ReferenceLine>& referenceLines() const { return referenceLines_; }

    // --- inspection for tests ------------------------------------------------------------
    // Runs of consecutive non-empty points of a series as they are drawn: each entry is
    // the list of (point, value) of one line piece. Builds pending changes first.
    QList<QList<QPointF>> segments(int series);
    // Applies pending value and axis changes now (normally done on the next event-loop
    // turn or paint).
    void ensureBuilt() { build_.ensureBuilt(); }
    // Where (category, value) against the series' axis lies in this widget's coordinates,
    // as last laid out.
    QPointF pointPosition(int series, double category, double value);

signals:
    // A mouse click (press) anywhere on the chart.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    class PlotItem;
    struct SeriesState {
        std::vector<double> values;  // NaN for a missing point
        Axis axis = Axis::Left;
        QString name;
        bool visible = true;
        SeriesLook look;
    };
    struct AxisState {
        QValueAxis* axis = nullptr;
        bool automatic = true;
        double minimum = 0;
        double maximum = 10;
        int divisions = 5;
        bool visible = true;
    };

    bool validSeries(int series) const { return series >= 1 && series <= kSeriesCount; }
    SeriesState& seriesAt(int series) { return series_[series - 1]; }
    const SeriesState& seriesAt(int series) const { return series_[series - 1]; }
    AxisState& axisAt(Axis a) { return axes_[a == Axis::Left ? 0 : 1]; }
    const AxisState& axisAt(Axis a) const { return axes_[a == Axis::Left ? 0 : 1]; }
    void markDirty() { build_.markDirty(); }
    void build();
    void styleSeries(int series);
    void applyAxes();
    double edgeRoom() const;
    void applyCategoryAxis();
    void drawSeries(QPainter* painter) const;
    void drawReferenceLines(QPainter* painter, const QRectF& area) const;
    void computeDisplayedRange(Axis axis, double& lo, double& hi) const;
    bool dataRange(Axis axis, double& lo, double& hi) const;

    int pointCount_ = 0;
    std::array<SeriesState, kSeriesCount> series_;
    std::array<AxisState, 2> axes_;
    std::vector<ReferenceLine> referenceLines_;
    QValueAxis* categoryAxis_ = nullptr;
    qreal plotHeightUsed_ = 0;
    PlotItem* plot_ = nullptr;
    DeferredBuild build_{this, [this] { build(); }};
};

}  // namespace pairly::gui::widgets
