#include "gui/widgets/grid.h"

#include <functional>

#include <QAbstractTableModel>
#include <QBrush>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <functional>

namespace pairly::ui {

namespace {

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

// Keeps a bulk change from repainting per cell.
class UpdatesOff {
public:
    explicit UpdatesOff(QWidget* w) : w_(w), was_(w->updatesEnabled()) {
        w_->setUpdatesEnabled(false);
    }
    ~UpdatesOff() { w_->setUpdatesEnabled(was_); }

private:
    QWidget* w_;
    bool was_;
};

constexpr int kCellPadding = 6;

// The selected row is tinted rather than covered, so the change colours of its cells stay
// readable.
class TintedSelectionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!(option.state & QStyle::State_Selected)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_Selected;
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
        QColor tint = option.palette.color(QPalette::Active, QPalette::Highlight);
        tint.setAlpha(60);
        painter->fillRect(option.rect, tint);
    }
};

}  // namespace

// The data rows of a grid: one string list per row and, only for rows that have any, one
// colour per column. Column settings live here too, so the roles answer from one place.
class GridModel : public QAbstractTableModel {
public:
    struct Row {
        QStringList cells;
        std::vector<QColor> colours;  // empty when the row has no coloured cell
        bool own = true;              // false: the cells are asked of the source
    };

    explicit GridModel(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : columns_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= columns_) return {};
        const int r = index.row();
        const int c = index.column();
        switch (role) {
            case Qt::DisplayRole:
                return text(r, c);
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

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical)
            return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
        if (section < 0 || section >= columns_) return {};
        if (role == Qt::DisplayRole) return headers_[section];
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(qtAlign(headerAlign_[static_cast<std::size_t>(section)]));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    // --- columns ---
    void setColumnCount(int n) {
        n = std::max(0, n);
        if (n > columns_) {
            beginInsertColumns(QModelIndex(), columns_, n - 1);
            resizeColumns(n);
            endInsertColumns();
        } else if (n < columns_) {
            beginRemoveColumns(QModelIndex(), n, columns_ - 1);
            resizeColumns(n);
            for (Row& row : rows_) {
                if (row.cells.size() > n) row.cells.resize(n);
                if (row.colours.size() > static_cast<std::size_t>(n)) row.colours.resize(n);
            }
            endRemoveColumns();
        }
    }
    void setHeader(int col, const QString& text) {
        headers_[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
    }
    QString header(int col) const { return headers_[col]; }
    void setHeaderAlign(int col, Align a) {
        headerAlign_[static_cast<std::size_t>(col)] = a;
        emit headerDataChanged(Qt::Horizontal, col, col);
    }
    Align headerAlign(int col) const { return headerAlign_[static_cast<std::size_t>(col)]; }
    void setColumnAlign(int col, Align a) {
        columnAlign_[static_cast<std::size_t>(col)] = a;
        if (!rows_.empty())
            emit dataChanged(index(0, col), index(rowCount() - 1, col), {Qt::TextAlignmentRole});
    }
    Align columnAlign(int col) const { return columnAlign_[static_cast<std::size_t>(col)]; }

    // --- rows ---
    void clear() {
        sourceText_ = nullptr;
        sourceColour_ = nullptr;
        if (rows_.empty()) return;
        beginResetModel();
        rows_.clear();
        pending_ = false;
        endResetModel();
    }
    void setSource(int n, std::function<QString(int, int)> text,
                   std::function<QColor(int, int)> colour) {
        beginResetModel();
        pending_ = false;
        rows_.assign(static_cast<std::size_t>(std::max(0, n)), Row{{}, {}, false});
        sourceText_ = std::move(text);
        sourceColour_ = std::move(colour);
        endResetModel();
    }
    void append(const QList<QStringList>& rows) {
        if (rows.isEmpty()) return;
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
        rows_.reserve(rows_.size() + static_cast<std::size_t>(rows.size()));
        for (const QStringList& cells : rows)
            rows_.push_back({cells.size() > columns_ ? cells.mid(0, columns_) : cells, {}});
        endInsertRows();
    }
    void resizeRows(int n) {
        n = std::max(0, n);
        const int old = rowCount();
        if (n > old) {
            beginInsertRows(QModelIndex(), old, n - 1);
            rows_.resize(static_cast<std::size_t>(n));
            endInsertRows();
        } else if (n < old) {
            beginRemoveRows(QModelIndex(), n, old - 1);
            rows_.resize(static_cast<std::size_t>(n));
            endRemoveRows();
        }
    }

    // --- cells (model rows) ---
    QString text(int r, int c) const {
        const Row& row = rows_[static_cast<std::size_t>(r)];
        if (!row.own) return sourceText_ ? sourceText_(r + 1, c) : QString();
        return c < row.cells.size() ? row.cells[c] : QString();
    }
    void setText(int r, int c, const QString& text) {
        takeOver(r);
        QStringList& cells = rows_[static_cast<std::size_t>(r)].cells;
        while (cells.size() <= c) cells.append(QString());
        cells[c] = text;
        noteChanged(r, c);
    }
    QColor colour(int r, int c) const {
        const Row& row = rows_[static_cast<std::size_t>(r)];
        if (!row.own) return sourceColour_ ? sourceColour_(r + 1, c) : QColor();
        const auto& colours = row.colours;
        return static_cast<std::size_t>(c) < colours.size() ? colours[static_cast<std::size_t>(c)]
                                                            : QColor();
    }
    void setColour(int r, int c, const QColor& colour) {
        takeOver(r);
        auto& colours = rows_[static_cast<std::size_t>(r)].colours;
        if (!colour.isValid() && static_cast<std::size_t>(c) >= colours.size()) return;
        if (colours.size() < static_cast<std::size_t>(columns_))
            colours.resize(static_cast<std::size_t>(columns_));
        colours[static_cast<std::size_t>(c)] = colour;
        noteChanged(r, c);
    }

private:
    // A row from the source becomes a row of its own before one of its cells changes.
    void takeOver(int r) {
        Row& row = rows_[static_cast<std::size_t>(r)];
        if (row.own) return;
        QStringList cells;
        std::vector<QColor> colours(static_cast<std::size_t>(columns_));
        bool coloured = false;
        for (int c = 0; c < columns_; ++c) {
            cells << text(r, c);
            colours[static_cast<std::size_t>(c)] = colour(r, c);
            coloured = coloured || colours[static_cast<std::size_t>(c)].isValid();
        }
        row.cells = std::move(cells);
        if (coloured) row.colours = std::move(colours);
        row.own = true;
    }

    void resizeColumns(int n) {
        columns_ = n;
        headers_.resize(n);
        headerAlign_.resize(static_cast<std::size_t>(n), Align::Center);
        columnAlign_.resize(static_cast<std::size_t>(n), Align::Left);
    }

    // Cell changes are told to the views once per event-loop turn, as one range: filling
    // a long list cell by cell must not cost a repaint per cell.
    void noteChanged(int r, int c) {
        if (pending_) {
            top_ = std::min(top_, r);
            bottom_ = std::max(bottom_, r);
            left_ = std::min(left_, c);
            right_ = std::max(right_, c);
            return;
        }
        pending_ = true;
        top_ = bottom_ = r;
        left_ = right_ = c;
        QMetaObject::invokeMethod(
            this, [this] { flush(); }, Qt::QueuedConnection);
    }
    void flush() {
        if (!pending_) return;
        pending_ = false;
        const int lastRow = std::min(bottom_, rowCount() - 1);
        const int lastCol = std::min(right_, columns_ - 1);
        if (top_ > lastRow || left_ > lastCol) return;
        emit dataChanged(index(top_, left_), index(lastRow, lastCol));
    }

    std::vector<Row> rows_;
    std::function<QString(int, int)> sourceText_;
    std::function<QColor(int, int)> sourceColour_;
    int columns_ = 0;
    QStringList headers_;
    std::vector<Align> headerAlign_;
    std::vector<Align> columnAlign_;
    bool pending_ = false;
    int top_ = 0, bottom_ = 0, left_ = 0, right_ = 0;
};

Grid::Grid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new TintedSelectionDelegate(this));
    // Pixel scrolling lets the last row reach the top even when fewer rows remain.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // Widths come from the screens in twips; narrow day columns must not be widened.
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    applyRowHeight();

    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& i) { emit clickedCell(i.row() + 1, i.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { emit doubleClickedCell(i.row() + 1, i.column()); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { emit clickedCell(0, c); });
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int c) { emit doubleClickedCell(0, c); });
}

Grid::~Grid() = default;

int Grid::twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

int Grid::pixelsToTwips(int pixels, double logicalDpi) {
    if (logicalDpi <= 0) return 0;
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

int Grid::rowCount() const { return model_->rowCount(); }

int Grid::columnCount() const { return model_->columnCount(); }

void Grid::setColumns(const QStringList& headers) {
    UpdatesOff off(this);
    const int n = static_cast<int>(headers.size());
    model_->setColumnCount(n);
    for (int c = 0; c < n; ++c) {
        model_->setHeader(c, headers[c]);
        model_->setHeaderAlign(c, Align::Center);
    }
    setVisibleRows(visibleRows_);
}

void Grid::setHeaderText(int col, const QString& text) {
    if (col < 0 || col >= columnCount()) return;
    model_->setHeader(col, text);
}

QString Grid::headerText(int col) const {
    return col >= 0 && col < columnCount() ? model_->header(col) : QString();
}

void Grid::setHeaderAlignment(int col, Align align) {
    if (col < 0 || col >= columnCount()) return;
    model_->setHeaderAlign(col, align);
}

Align Grid::headerAlignment(int col) const {
    return col >= 0 && col < columnCount() ? model_->headerAlign(col) : Align::Center;
}

void Grid::setColumnAlignment(int col, Align align) {
    if (col < 0 || col >= columnCount()) return;
    model_->setColumnAlign(col, align);
}

Align Grid::columnAlignment(int col) const {
    return col >= 0 && col < columnCount() ? model_->columnAlign(col) : Align::Left;
}

void Grid::setColumnWidthTwips(int col, int twips) {
    if (col < 0 || col >= columnCount() || twips < 0) return;
    const int px = twipsToPixels(twips, logicalDpiX());
    // A zero width hides the column (it still carries its texts), so it cannot be dragged open.
    setColumnHidden(col, px == 0);
    if (px > 0) setColumnWidth(col, px);
}

int Grid::columnWidthTwips(int col) const {
    if (col < 0 || col >= columnCount() || isColumnHidden(col)) return 0;
    return pixelsToTwips(columnWidth(col), logicalDpiX());
}

void Grid::setFontPointSize(double points) {
    if (!(points > 0)) return;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
    horizontalHeader()->setFont(f);
    applyRowHeight();
    setVisibleRows(visibleRows_);
}

double Grid::fontPointSize() const { return font().pointSizeF(); }

void Grid::applyRowHeight() {
    // One height for every row, set on the header as its default: no per-row measuring
    // while filling long lists.
    const int h = QFontMetrics(font()).height() + kCellPadding;
    verticalHeader()->setMinimumSectionSize(std::min(h, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(h);
}

void Grid::setVisibleRows(int rowsWithHeader) {
    visibleRows_ = std::max(0, rowsWithHeader);
    if (visibleRows_ == 0) return;
    // The header may have no sections yet: never count it lower than one line of its font.
    const int header = std::max(horizontalHeader()->sizeHint().height(),
                                QFontMetrics(horizontalHeader()->font()).height() + kCellPadding);
    const int rows = (visibleRows_ - 1) * verticalHeader()->defaultSectionSize();
    const int hbar = horizontalScrollBar()->sizeHint().height();
    setMinimumHeight(header + rows + hbar + 2 * frameWidth());
}

void Grid::clearRows() {
    UpdatesOff off(this);
    clearSelection();
    model_->clear();
    tailRoom_ = false;
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setValue(0);
}

int Grid::addRow(const QStringList& cells) {
    model_->append({cells});
    return rowCount();
}

void Grid::addRows(const QList<QStringList>& rows) { model_->append(rows); }

void Grid::setRowSource(int rows, std::function<QString(int row, int col)> text,
                        std::function<QColor(int row, int col)> colour) {
    UpdatesOff off(this);
    clearSelection();
    model_->setSource(rows, std::move(text), std::move(colour));
}

void Grid::setRowCount(int n) { model_->resizeRows(n); }

void Grid::setText(int row, int col, const QString& text) {
    if (row == 0) {
        setHeaderText(col, text);
        return;
    }
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return;
    model_->setText(row - 1, col, text);
}

QString Grid::text(int row, int col) const {
    if (row == 0) return headerText(col);
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return QString();
    return model_->text(row - 1, col);
}

void Grid::setCellColor(int row, int col, const QColor& color) {
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return;
    model_->setColour(row - 1, col, color);
}

QColor Grid::cellColor(int row, int col) const {
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return QColor();
    return model_->colour(row - 1, col);
}

Align Grid::cellAlignment(int row, int col) const {
    if (row == 0) return headerAlignment(col);
    return columnAlignment(col);
}

QModelIndex Grid::cellIndex(int row, int col) const {
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return QModelIndex();
    return model_->index(row - 1, col);
}

int Grid::currentGridRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int Grid::currentGridColumn() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : -1;
}

void Grid::setCurrentGridCell(int row, int col) {
    if (row < 1 || row > rowCount()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentIndex(model_->index(row - 1, std::clamp(col, 0, std::max(0, columnCount() - 1))));
}

bool Grid::scrollLastRowToTopIfMoreThan(int rows) {
    if (rowCount() == 0 || rowCount() + 1 <= rows) return false;
    setTopRow(rowCount());
    return true;
}

void Grid::setTopRow(int row) {
    if (rowCount() == 0) return;
    row = std::clamp(row, 1, rowCount());
    if (!tailRoom_) {
        tailRoom_ = true;
        // A fixed bar: showing or hiding it would resize the viewport and recompute the range.
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    updateGeometries();
    verticalScrollBar()->setValue(verticalHeader()->sectionPosition(row - 1));
}

int Grid::topVisibleRow() const {
    if (rowCount() == 0) return 0;
    const int r = rowAt(0);
    return r < 0 ? rowCount() : r + 1;
}

int Grid::bottomVisibleRow() const {
    if (rowCount() == 0) return 0;
    const int r = rowAt(viewport()->height() - 1);
    return r < 0 ? rowCount() : r + 1;
}

void Grid::updateGeometries() {
    if (!tailRoom_ || rowCount() == 0) {
        QTableView::updateGeometries();
        return;
    }
    // The base class limits the range so that the last row ends at the bottom edge; keep
    // the position and allow scrolling on until the last row starts at the top edge.
    QScrollBar* bar = verticalScrollBar();
    const int value = bar->value();
    QTableView::updateGeometries();
    const int needed = verticalHeader()->sectionPosition(rowCount() - 1);
    if (bar->maximum() < needed) bar->setRange(0, needed);
    bar->setValue(value);
}

}  // namespace pairly::ui
