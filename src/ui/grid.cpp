#include "ui/grid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace pairly::ui {

namespace {

Align fromQt(Qt::Alignment a) {
    if (a & Qt::AlignRight) return Align::Right;
    if (a & Qt::AlignHCenter) return Align::Center;
    return Align::Left;
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

Grid::Grid(QWidget* parent) : QTableWidget(parent) {
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

    connect(this, &QTableWidget::cellClicked, this,
            [this](int r, int c) { emit clickedCell(r + 1, c); });
    connect(this, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int c) { emit doubleClickedCell(r + 1, c); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { emit clickedCell(0, c); });
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int c) { emit doubleClickedCell(0, c); });
}

int Grid::twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

int Grid::pixelsToTwips(int pixels, double logicalDpi) {
    if (logicalDpi <= 0) return 0;
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

Qt::Alignment Grid::qtAlign(Align a) const {
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

QTableWidgetItem* Grid::makeItem(const QString& text, int col) const {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    Align a =
        col >= 0 && col < static_cast<int>(columnAlign_.size()) ? columnAlign_[col] : Align::Left;
    item->setTextAlignment(qtAlign(a));
    return item;
}

QTableWidgetItem* Grid::headerItem(int col) {
    QTableWidgetItem* item = horizontalHeaderItem(col);
    if (!item) {
        item = new QTableWidgetItem();
        item->setTextAlignment(Qt::AlignCenter);
        setHorizontalHeaderItem(col, item);
    }
    return item;
}

void Grid::setColumns(const QStringList& headers) {
    UpdatesOff off(this);
    const int n = static_cast<int>(headers.size());
    setColumnCount(n);
    columnAlign_.resize(n, Align::Left);
    for (int c = 0; c < n; ++c) {
        QTableWidgetItem* item = headerItem(c);
        item->setText(headers[c]);
        item->setTextAlignment(Qt::AlignCenter);
    }
    setVisibleRows(visibleRows_);
}

void Grid::setHeaderText(int col, const QString& text) {
    if (col < 0 || col >= columnCount()) return;
    headerItem(col)->setText(text);
}

QString Grid::headerText(int col) const {
    const QTableWidgetItem* item = col >= 0 ? horizontalHeaderItem(col) : nullptr;
    return item ? item->text() : QString();
}

void Grid::setHeaderAlignment(int col, Align align) {
    if (col < 0 || col >= columnCount()) return;
    headerItem(col)->setTextAlignment(qtAlign(align));
}

Align Grid::headerAlignment(int col) const {
    const QTableWidgetItem* item = col >= 0 ? horizontalHeaderItem(col) : nullptr;
    return item ? fromQt(Qt::Alignment(item->textAlignment())) : Align::Center;
}

void Grid::setColumnAlignment(int col, Align align) {
    if (col < 0 || col >= columnCount()) return;
    if (static_cast<int>(columnAlign_.size()) < columnCount())
        columnAlign_.resize(columnCount(), Align::Left);
    columnAlign_[col] = align;
    UpdatesOff off(this);
    const Qt::Alignment qa = qtAlign(align);
    for (int r = 0; r < rowCount(); ++r) {
        if (QTableWidgetItem* it = item(r, col)) it->setTextAlignment(qa);
    }
}

Align Grid::columnAlignment(int col) const {
    return col >= 0 && col < static_cast<int>(columnAlign_.size()) ? columnAlign_[col]
                                                                   : Align::Left;
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
    // A fixed height for every row: no per-row measuring while filling long lists.
    const int h = QFontMetrics(font()).height() + kCellPadding;
    verticalHeader()->setMinimumSectionSize(std::min(h, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(h);
    for (int r = 0; r < rowCount(); ++r) {
        if (rowHeight(r) != h) setRowHeight(r, h);
    }
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
    setRowCount(0);
    tailRoom_ = false;
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setValue(0);
}

int Grid::addRow(const QStringList& cells) {
    UpdatesOff off(this);
    const int r = rowCount();
    setRowCount(r + 1);
    const int n = std::min(static_cast<int>(cells.size()), columnCount());
    for (int c = 0; c < n; ++c) setItem(r, c, makeItem(cells[c], c));
    return r + 1;
}

void Grid::addRows(const QList<QStringList>& rows) {
    if (rows.isEmpty()) return;
    UpdatesOff off(this);
    const int first = rowCount();
    setRowCount(first + static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& cells = rows[i];
        const int n = std::min(static_cast<int>(cells.size()), columnCount());
        for (int c = 0; c < n; ++c) setItem(first + i, c, makeItem(cells[c], c));
    }
}

void Grid::setText(int row, int col, const QString& text) {
    if (row == 0) {
        setHeaderText(col, text);
        return;
    }
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return;
    if (QTableWidgetItem* it = item(row - 1, col)) {
        it->setText(text);
    } else {
        setItem(row - 1, col, makeItem(text, col));
    }
}

QString Grid::text(int row, int col) const {
    if (row == 0) return headerText(col);
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return QString();
    const QTableWidgetItem* it = item(row - 1, col);
    return it ? it->text() : QString();
}

void Grid::setCellColor(int row, int col, const QColor& color) {
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return;
    QTableWidgetItem* it = item(row - 1, col);
    if (!it) {
        it = makeItem(QString(), col);
        setItem(row - 1, col, it);
    }
    it->setBackground(color.isValid() ? QBrush(color) : QBrush());
}

QColor Grid::cellColor(int row, int col) const {
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return QColor();
    const QTableWidgetItem* it = item(row - 1, col);
    if (!it) return QColor();
    const QBrush b = it->background();
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

Align Grid::cellAlignment(int row, int col) const {
    if (row == 0) return headerAlignment(col);
    const QTableWidgetItem* it =
        row >= 1 && row <= rowCount() && col >= 0 ? item(row - 1, col) : nullptr;
    return it ? fromQt(Qt::Alignment(it->textAlignment())) : columnAlignment(col);
}

int Grid::currentGridRow() const { return currentRow() + 1; }

int Grid::currentGridColumn() const { return currentColumn(); }

void Grid::setCurrentGridCell(int row, int col) {
    if (row < 1 || row > rowCount()) {
        setCurrentCell(-1, -1);
        return;
    }
    setCurrentCell(row - 1, std::clamp(col, 0, std::max(0, columnCount() - 1)));
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

void Grid::updateGeometries() {
    if (!tailRoom_ || rowCount() == 0) {
        QTableWidget::updateGeometries();
        return;
    }
    // The base class limits the range so that the last row ends at the bottom edge; keep
    // the position and allow scrolling on until the last row starts at the top edge.
    QScrollBar* bar = verticalScrollBar();
    const int value = bar->value();
    QTableWidget::updateGeometries();
    const int needed = verticalHeader()->sectionPosition(rowCount() - 1);
    if (bar->maximum() < needed) bar->setRange(0, needed);
    bar->setValue(value);
}

}  // namespace pairly::ui
