#include "gui/widgets/grid_model.h"

#include <QBrush>
#include <algorithm>

#include "gui/widgets/elided_text.h"

namespace pairly::gui::widgets {

Qt::Alignment qtAlign(Align a) {
    switch (a) {
        case Align::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Center:
            return Qt::AlignCenter;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// --- GridModel -------------------------------------------------------------------------------

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return {};
    const int r = index.row();
    const int c = index.column();
    switch (role) {
        // A long text is drawn from its beginning: laying out all of a comment of megabytes
        // would hold the window up on every paint.
        case Qt::DisplayRole:
            return QString::fromStdString(cell(r, c).formatted(widgets::kShownTextChars));
        case Qt::ToolTipRole: {
            const text::Cell shown = cell(r, c);
            if (shown.kind() != text::Cell::Kind::Text) return {};
            return QString::fromStdString(shown.formatted(widgets::kTipTextChars));
        }
        case Qt::TextAlignmentRole:
            return static_cast<int>(qtAlign(columnAlign_[static_cast<std::size_t>(c)]));
        case Qt::BackgroundRole: {
            const QColor cell = colour(r, c);
            if (cell.isValid()) return QBrush(cell);
            return {};
        }
        default:
            return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= columns_) return {};
    if (role == Qt::DisplayRole) return headers_[section];
    if (role == Qt::ToolTipRole && !headerTips_[section].isEmpty()) return headerTips_[section];
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(qtAlign(headerAlign_[static_cast<std::size_t>(section)]));
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::setColumnCount(int n) {
    n = std::max(0, n);
    if (n > columns_) {
        beginInsertColumns(QModelIndex(), columns_, n - 1);
        resizeColumns(n);
        endInsertColumns();
    } else if (n < columns_) {
        beginRemoveColumns(QModelIndex(), n, columns_ - 1);
        resizeColumns(n);
        endRemoveColumns();
    }
}

void GridModel::setHeader(int col, const QString& text) {
    headers_[col] = text;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

void GridModel::setHeaderTip(int col, const QString& tip) {
    headerTips_[col] = tip;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

void GridModel::setHeaderAlign(int col, Align a) {
    headerAlign_[static_cast<std::size_t>(col)] = a;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

void GridModel::setColumnAlign(int col, Align a) {
    columnAlign_[static_cast<std::size_t>(col)] = a;
    if (rows_ > 0) emit dataChanged(index(0, col), index(rows_ - 1, col), {Qt::TextAlignmentRole});
}

void GridModel::resizeColumns(int n) {
    columns_ = n;
    headers_.resize(n);
    headerTips_.resize(n);
    headerAlign_.resize(static_cast<std::size_t>(n), Align::Center);
    columnAlign_.resize(static_cast<std::size_t>(n), Align::Left);
}

void GridModel::setSource(int n, Cells cells, Colours colours) {
    beginResetModel();
    pending_ = false;
    rows_ = std::max(0, n);
    cells_ = std::move(cells);
    colours_ = std::move(colours);
    endResetModel();
}

void GridModel::setRowCountKeepingSource(int n) {
    n = std::max(0, n);
    if (n > rows_) {
        beginInsertRows(QModelIndex(), rows_, n - 1);
        rows_ = n;
        endInsertRows();
    } else if (n < rows_) {
        beginRemoveRows(QModelIndex(), n, rows_ - 1);
        rows_ = n;
        endRemoveRows();
    }
}

text::Cell GridModel::cell(int row, int col) const {
    return cells_ ? cells_(row, col) : text::Cell();
}

QColor GridModel::colour(int row, int col) const {
    return colours_ ? colours_(row, col) : QColor();
}

void GridModel::noteChanged(int row, int col) {
    if (pending_) {
        top_ = std::min(top_, row);
        bottom_ = std::max(bottom_, row);
        left_ = std::min(left_, col);
        right_ = std::max(right_, col);
        return;
    }
    pending_ = true;
    top_ = bottom_ = row;
    left_ = right_ = col;
    QMetaObject::invokeMethod(
        this, [this] { flush(); }, Qt::QueuedConnection);
}

void GridModel::noteRowsChanged(int first, int last) {
    if (columns_ == 0 || first > last) return;
    noteChanged(first, 0);
    noteChanged(last, columns_ - 1);
}

void GridModel::flush() {
    if (!pending_) return;
    pending_ = false;
    const int lastRow = std::min(bottom_, rows_ - 1);
    const int lastCol = std::min(right_, columns_ - 1);
    if (top_ > lastRow || left_ > lastCol) return;
    emit dataChanged(index(top_, left_), index(lastRow, lastCol));
}

// --- CellTable -------------------------------------------------------------------------------

void CellTable::clear() {
    cells_.clear();
    colours_.clear();
}

void CellTable::append(std::vector<text::Cell> row, int columns) {
    if (row.size() > static_cast<std::size_t>(columns))
        row.resize(static_cast<std::size_t>(columns));
    cells_.push_back(std::move(row));
    colours_.emplace_back();
}

void CellTable::resize(int n) {
    cells_.resize(static_cast<std::size_t>(std::max(0, n)));
    colours_.resize(cells_.size());
}

void CellTable::truncateColumns(int columns) {
    const auto n = static_cast<std::size_t>(std::max(0, columns));
    for (auto& row : cells_)
        if (row.size() > n) row.resize(n);
    for (auto& row : colours_)
        if (row.size() > n) row.resize(n);
}

text::Cell CellTable::cell(int row, int col) const {
    const auto& cells = cells_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)]
                                                        : text::Cell();
}

void CellTable::setCell(int row, int col, text::Cell cell) {
    auto& cells = cells_[static_cast<std::size_t>(row)];
    if (cells.size() <= static_cast<std::size_t>(col))
        cells.resize(static_cast<std::size_t>(col) + 1);
    cells[static_cast<std::size_t>(col)] = std::move(cell);
}

QColor CellTable::colour(int row, int col) const {
    const auto& colours = colours_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < colours.size() ? colours[static_cast<std::size_t>(col)]
                                                          : QColor();
}

void CellTable::setColour(int row, int col, const QColor& colour, int columns) {
    auto& colours = colours_[static_cast<std::size_t>(row)];
    if (!colour.isValid() && static_cast<std::size_t>(col) >= colours.size()) return;
    if (colours.size() < static_cast<std::size_t>(columns))
        colours.resize(static_cast<std::size_t>(columns));
    colours[static_cast<std::size_t>(col)] = colour;
}

}  // namespace pairly::gui::widgets
