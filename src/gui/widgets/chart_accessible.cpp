#include "gui/widgets/chart_accessible.h"

#include <QAccessibleTableCellInterface>
#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QPointer>
#include <QTableView>
#include <QToolButton>
#include <map>
#include <vector>

#include "gui/widgets/chart.h"

namespace pairly::gui::widgets {

namespace {

QString limitText(double v) { return QString::number(v, 'g', 6); }

class ChartAccessible;

// One value of one point: row = point − 1, column = the visible series in order.
class ChartCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ChartCell(ChartAccessible* table, int row, int column)
        : table_(table), row_(row), column_(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    ChartAccessible* table_;
    int row_;
    int column_;
};

class ChartAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ChartAccessible(Chart* chart) : QAccessibleWidget(chart, QAccessible::Table) {}
    ~ChartAccessible() override {
        for (const auto& [key, id] : cells_) QAccessible::deleteAccessibleInterface(id);
    }

    Chart* chart() const { return static_cast<Chart*>(widget()); }

    // The series shown, in order: these are the columns.
    std::vector<int> visibleSeries() const {
        std::vector<int> out;
        for (int s = 1; s <= Chart::kSeriesCount; ++s)
            if (chart()->isSeriesVisible(s)) out.push_back(s);
        return out;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) return description();
        return QAccessibleWidget::text(t);
    }
    QString description() const {
        Chart* c = chart();
        QString out = QStringLiteral("左軸 %1～%2")
                          .arg(limitText(c->displayedAxisMinimum(Axis::Left)),
                               limitText(c->displayedAxisMaximum(Axis::Left)));
        bool right = false;
        for (int s : visibleSeries()) right = right || c->seriesAxis(s) == Axis::Right;
        if (right && c->isAxisVisible(Axis::Right))
            out += QStringLiteral("、右軸 %1～%2")
                       .arg(limitText(c->displayedAxisMinimum(Axis::Right)),
                            limitText(c->displayedAxisMaximum(Axis::Right)));
        return out + QStringLiteral("、%1点").arg(c->pointCount());
    }

    // No children are listed: a reader walks the table through the table interface.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // --- table ---------------------------------------------------------------------------
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override {
        const auto series = visibleSeries();
        if (column < 0 || column >= static_cast<int>(series.size())) return {};
        const QString name = chart()->seriesName(series[static_cast<std::size_t>(column)]);
        return name.isEmpty() ? QStringLiteral("系列%1").arg(column + 1) : name;
    }
    QString rowDescription(int row) const override { return QString::number(row + 1); }
    int columnCount() const override { return static_cast<int>(visibleSeries().size()); }
    int rowCount() const override { return chart()->pointCount(); }
    int selectedCellCount() const override { return 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
        const qint64 key = (static_cast<qint64>(row) << 8) | column;
        auto it = cells_.find(key);
        if (it != cells_.end()) return QAccessible::accessibleInterface(it->second);
        auto* cell = new ChartCell(const_cast<ChartAccessible*>(this), row, column);
        cells_[key] = QAccessible::registerAccessibleInterface(cell);
        return cell;
    }

    // The text of a value as the chart draws it, "" for a missing point.
    QString cellText(int row, int column) const {
        const auto series = visibleSeries();
        if (column < 0 || column >= static_cast<int>(series.size())) return {};
        return chart()->value(series[static_cast<std::size_t>(column)], row + 1);
    }

private:
    mutable std::map<qint64, QAccessible::Id> cells_;
};

bool ChartCell::isValid() const {
    return table_->isValid() && row_ < table_->rowCount() && column_ < table_->columnCount();
}
QAccessibleInterface* ChartCell::parent() const { return table_; }
QAccessibleInterface* ChartCell::table() const { return table_; }
QString ChartCell::text(QAccessible::Text t) const {
    if (t == QAccessible::Name || t == QAccessible::Value) return table_->cellText(row_, column_);
    return {};
}
QRect ChartCell::rect() const { return table_->rect(); }

}  // namespace

QAccessibleInterface* chartAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("pairly::gui::widgets::Chart") && object &&
        object->isWidgetType())
        if (auto* chart = qobject_cast<Chart*>(object)) return new ChartAccessible(chart);
    return nullptr;
}

void installChartAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(chartAccessibleFactory);
}

void nameCalendarParts(QCalendarWidget* calendar) {
    const std::pair<const char*, const char*> parts[] = {{"qt_calendar_prevmonth", "前の月"},
                                                         {"qt_calendar_nextmonth", "次の月"},
                                                         {"qt_calendar_calendarview", "日付"},
                                                         {"qt_calendar_yearedit", "年"}};
    for (const auto& [name, readerName] : parts)
        if (auto* part = calendar->findChild<QWidget*>(QString::fromLatin1(name)))
            part->setAccessibleName(QString::fromUtf8(readerName));
}

}  // namespace pairly::gui::widgets
