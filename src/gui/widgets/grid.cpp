#include "gui/widgets/grid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace pairly::gui::widgets {

namespace {

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
    // A text cut by its column is shown whole (up to a bound) when the pointer rests on it;
    // a text that fits needs no tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString tip = index.data(Qt::ToolTipRole).toString();
        const QString shown = index.data(Qt::DisplayRole).toString();
        const int room = option.rect.width() - 2 * kTextMargin;
        if (tip.isEmpty() ||
            (shown == tip && option.fontMetrics.horizontalAdvance(shown) <= room)) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(event->globalPos(), tip, view, option.rect);
        return true;
    }

private:
    // The style's room between a cell's edge and its text (PM_FocusFrameHMargin + 1).
    static constexpr int kTextMargin = 3;
};

}  // namespace

Grid::Grid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    ownRows_ = false;
    useOwnTable();
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
            [this](const QModelIndex& i) { emit clickedCell(toGridRow(i.row()), i.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        emit doubleClickedCell(toGridRow(i.row()), i.column());
    });
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
    own_.truncateColumns(n);  // the cells of dropped columns go with them
    model_->setColumnCount(n);
    for (int c = 0; c < n; ++c) {
        model_->setHeader(c, headers[c]);
        model_->setHeaderTip(c, QString());
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

void Grid::setHeaderToolTip(int col, const QString& tip) {
    if (col < 0 || col >= columnCount()) return;
    model_->setHeaderTip(col, tip);
}

QString Grid::headerToolTip(int col) const {
    if (col < 0 || col >= columnCount()) return {};
    return model_->headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString();
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

bool Grid::isDataCell(int row, int col) const {
    return row >= 1 && row <= rowCount() && col >= 0 && col < columnCount();
}

void Grid::useOwnTable() {
    if (ownRows_) return;
    ownRows_ = true;
    own_.clear();
    model_->setSource(
        0, [this](int r, int c) { return own_.cell(r, c); },
        [this](int r, int c) { return own_.colour(r, c); });
}

void Grid::clearRows() {
    UpdatesOff off(this);
    clearSelection();
    ownRows_ = false;
    useOwnTable();
    tailRoom_ = false;
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setValue(0);
}

int Grid::addRow(const QStringList& cells) {
    addRows({cells});
    return rowCount();
}

int Grid::addCellRow(std::vector<text::Cell> cells) {
    useOwnTable();
    own_.append(std::move(cells), columnCount());
    model_->setRowCountKeepingSource(own_.rows());
    return rowCount();
}

void Grid::addRows(const QList<QStringList>& rows) {
    if (rows.isEmpty()) return;
    useOwnTable();
    for (const QStringList& texts : rows) {
        std::vector<text::Cell> cells;
        cells.reserve(static_cast<std::size_t>(texts.size()));
        for (const QString& t : texts) cells.push_back(text::Cell::text(t.toStdString()));
        own_.append(std::move(cells), columnCount());
    }
    model_->setRowCountKeepingSource(own_.rows());
}

void Grid::setRowSource(int rows, CellSource cells, ColourSource colours) {
    UpdatesOff off(this);
    clearSelection();
    ownRows_ = false;
    own_.clear();
    GridModel::Cells modelCells;
    if (cells)
        modelCells = [cells = std::move(cells)](int r, int c) { return cells(toGridRow(r), c); };
    GridModel::Colours modelColours;
    if (colours)
        modelColours = [colours = std::move(colours)](int r, int c) {
            return colours(toGridRow(r), c);
        };
    model_->setSource(rows, std::move(modelCells), std::move(modelColours));
}

void Grid::refreshRows(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, rowCount());
    if (first > last) return;
    model_->noteRowsChanged(toModelRow(first), toModelRow(last));
}

void Grid::setRowCount(int n) {
    useOwnTable();
    own_.resize(n);
    model_->setRowCountKeepingSource(own_.rows());
}

void Grid::setText(int row, int col, const QString& text) {
    if (row == 0) {
        setHeaderText(col, text);
        return;
    }
    setCell(row, col, text::Cell::text(text.toStdString()));
}

void Grid::setCell(int row, int col, text::Cell cell) {
    if (!ownRows_ || !isDataCell(row, col)) return;
    own_.setCell(toModelRow(row), col, std::move(cell));
    model_->noteChanged(toModelRow(row), col);
}

QString Grid::text(int row, int col) const {
    if (row == 0) return headerText(col);
    // As drawn: a long text from its beginning.
    return isDataCell(row, col) ? model_->data(cellIndex(row, col), Qt::DisplayRole).toString()
                                : QString();
}

text::Cell Grid::cell(int row, int col) const {
    return isDataCell(row, col) ? model_->cell(toModelRow(row), col) : text::Cell();
}

void Grid::setCellColor(int row, int col, const QColor& color) {
    if (!ownRows_ || !isDataCell(row, col)) return;
    own_.setColour(toModelRow(row), col, color, columnCount());
    model_->noteChanged(toModelRow(row), col);
}

QColor Grid::cellColor(int row, int col) const {
    return isDataCell(row, col) ? model_->colour(toModelRow(row), col) : QColor();
}

Align Grid::cellAlignment(int row, int col) const {
    if (row == 0) return headerAlignment(col);
    return columnAlignment(col);
}

QModelIndex Grid::cellIndex(int row, int col) const {
    return isDataCell(row, col) ? model_->index(toModelRow(row), col) : QModelIndex();
}

int Grid::currentGridRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? toGridRow(i.row()) : 0;
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
    setCurrentIndex(
        model_->index(toModelRow(row), std::clamp(col, 0, std::max(0, columnCount() - 1))));
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
    verticalScrollBar()->setValue(verticalHeader()->sectionPosition(toModelRow(row)));
}

int Grid::topVisibleRow() const {
    if (rowCount() == 0) return 0;
    const int r = rowAt(0);
    return r < 0 ? rowCount() : toGridRow(r);
}

int Grid::bottomVisibleRow() const {
    if (rowCount() == 0) return 0;
    const int r = rowAt(viewport()->height() - 1);
    return r < 0 ? rowCount() : toGridRow(r);
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
    const int needed = verticalHeader()->sectionPosition(toModelRow(rowCount()));
    if (bar->maximum() < needed) bar->setRange(0, needed);
    bar->setValue(value);
}

}  // namespace pairly::gui::widgets
