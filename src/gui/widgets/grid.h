#pragma once
// A text grid with one fixed header row, in the manner every list screen needs:
// widths in twips, per-column alignment, cell colours, "last row on top" scrolling.
//
// Cells are typed (text::Cell: a number with its pattern, a text, or missing) and become
// text only when drawn or read. The rows always come from one source: a pair of functions
// that give a cell and its colour, either the screen's own (setRowSource, for long lists
// made from their data) or the grid's table of cells (addRow and friends, for short ones).
// The model serves them to the view and to tests, accessibility and copy-paste through the
// standard roles: DisplayRole (text), TextAlignmentRole and BackgroundRole (the colour).
// A text of any length is drawn and read from its beginning (DisplayRole, text()), cut
// with "…"; a cell whose text does not fit its column shows more of it in a tooltip.
//
// Row numbering, the same in every method and in the source functions: row 0 is the header
// row, data rows are 1..rowCount(), as the screens count their records. Columns count from
// 0. Only toModelRow/toGridRow turn these into the model's rows.
#include <QColor>
#include <QList>
#include <QModelIndex>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <vector>

#include "core/text/cell.h"
#include "gui/widgets/grid_model.h"

namespace pairly::gui::widgets {

class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    // 1440 twips per inch at the given logical DPI, rounded to whole pixels.
    static int twipsToPixels(int twips, double logicalDpi);
    static int pixelsToTwips(int pixels, double logicalDpi);

    // --- columns and header ---------------------------------------------------------------
    // Sets the column count to headers.size() and the header texts. Header cells are
    // centred; data alignment of new columns is Left. Existing data rows are kept (cells
    // beyond a smaller count are dropped).
    void setColumns(const QStringList& headers);
    void setHeaderText(int col, const QString& text);
    QString headerText(int col) const;
    // What the header shows when the pointer rests on it (a header cut short: the whole
    // text); empty for none. setColumns() clears it.
    void setHeaderToolTip(int col, const QString& tip);
    QString headerToolTip(int col) const;
    // Header alignment per column (centred unless changed).
    void setHeaderAlignment(int col, Align align);
    Align headerAlignment(int col) const;
    // Data alignment per column; applies to the cells already there and to later ones.
    void setColumnAlignment(int col, Align align);
    Align columnAlignment(int col) const;
    // Column width in twips, converted with this widget's logical DPI. A width of 0 hides
    // the column; its cells keep their texts.
    void setColumnWidthTwips(int col, int twips);
    int columnWidthTwips(int col) const;

    // Font size in points for the header and every cell; row heights follow it.
    void setFontPointSize(double points);
    double fontPointSize() const;

    // Minimum height that shows this many rows, header included (layout hint only).
    void setVisibleRows(int rowsWithHeader);

    // --- rows -----------------------------------------------------------------------------
    int rowCount() const;  // data rows
    int columnCount() const;
    // Back to the header row alone (data rows removed, scroll at the top). Headers,
    // widths and alignments stay.
    void clearRows();
    // Back to the grid's own table, then appends one data row; missing trailing cells stay
    // empty. Returns its row number (1..).
    int addRow(const QStringList& cells);
    int addCellRow(std::vector<text::Cell> cells);
    // Appends many rows in one step.
    void addRows(const QList<QStringList>& rows);
    // Replaces the rows by `rows` data rows whose cells are asked of `cells` (and `colours`,
    // an invalid QColor for none), only when a cell is drawn or read: the way for lists of
    // thousands of rows. What the functions read must stay as it is until the next
    // clearRows() or setRowSource(), or be told with refreshRows().
    using CellSource = std::function<text::Cell(int row, int col)>;
    using ColourSource = std::function<QColor(int row, int col)>;
    void setRowSource(int rows, CellSource cells, ColourSource colours = {});
    // The source's data changed for rows first..last: they are drawn again.
    void refreshRows(int first, int last);
    // n data rows in the grid's own table: rows beyond n are dropped, new rows are empty.
    void setRowCount(int n);

    // --- cells (row 0 = header) -----------------------------------------------------------
    // setText on row 0 sets the header text. Out-of-range positions are ignored / read "".
    // setText and setCellColor change the grid's own table; the cells of a row source are
    // the source's (change its data and call refreshRows), so they are ignored there.
    void setText(int row, int col, const QString& text);
    void setCell(int row, int col, text::Cell cell);
    QString text(int row, int col) const;  // as drawn (DisplayRole)
    // The typed cell (missing for the header and out of range).
    text::Cell cell(int row, int col) const;
    // Background colour of a data cell; an invalid QColor removes it. cellColor() is an
    // invalid QColor when the cell has none. Many calls in a row are cheap: the view
    // repaints once.
    void setCellColor(int row, int col, const QColor& color);
    QColor cellColor(int row, int col) const;
    // Alignment of one data cell as drawn.
    Align cellAlignment(int row, int col) const;
    // The model index of a data cell (invalid for the header row or out of range).
    QModelIndex cellIndex(int row, int col) const;

    // --- current cell and scrolling -------------------------------------------------------
    // Current data row (1..rowCount(), 0 when none) and column (-1 when none).
    int currentGridRow() const;
    int currentGridColumn() const;
    void setCurrentGridCell(int row, int col);

    // When the grid has more than `rows` rows (header included), scrolls so that the
    // last data row is the top visible row (blank space below it if need be) and returns
    // true; otherwise leaves the scroll position alone and returns false.
    bool scrollLastRowToTopIfMoreThan(int rows);
    // Makes data row `row` the top visible row (1..rowCount()).
    void setTopRow(int row);
    // The data row shown directly under the header (1..), 0 when there are no rows.
    int topVisibleRow() const;
    // The data row shown at the bottom edge of the view (1..), 0 when there are no rows.
    int bottomVisibleRow() const;

signals:
    // Clicks with the grid's own row numbering: row 0 is a click on the header.
    void clickedCell(int row, int col);
    void doubleClickedCell(int row, int col);

protected:
    void updateGeometries() override;

private:
    void applyRowHeight();
    // The one place where grid rows (header 0, data 1..) meet the model's rows (data 0..).
    static int toModelRow(int gridRow) { return gridRow - 1; }
    static int toGridRow(int modelRow) { return modelRow + 1; }
    bool isDataCell(int row, int col) const;
    // Makes the grid's own table the model's source (a reset) unless it is already.
    void useOwnTable();

    GridModel* model_;
    CellTable own_;
    bool ownRows_ = true;
    // Extra scroll room so the last row can reach the top; cleared by clearRows().
    bool tailRoom_ = false;
    int visibleRows_ = 0;
};

}  // namespace pairly::gui::widgets
