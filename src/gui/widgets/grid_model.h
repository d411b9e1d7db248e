#pragma once
// The model behind Grid: data rows only (the header texts live in the horizontal header),
// numbered from 0, whose cells are asked of a source when drawn or read. Cells are typed
// (text::Cell) and become text here, in data(), for the rows the view draws: a bounded
// beginning of a long text for DisplayRole, a longer one for ToolTipRole.
#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/text/cell.h"

namespace pairly::gui::widgets {

enum class Align { Left, Center, Right };

Qt::Alignment qtAlign(Align a);

class GridModel : public QAbstractTableModel {
public:
    // Row and column of a data cell, both from 0.
    using Cells = std::function<text::Cell(int row, int col)>;
    using Colours = std::function<QColor(int row, int col)>;

    explicit GridModel(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // --- columns ---
    void setColumnCount(int n);
    void setHeader(int col, const QString& text);
    QString header(int col) const { return headers_[col]; }
    void setHeaderTip(int col, const QString& tip);
    void setHeaderAlign(int col, Align a);
    Align headerAlign(int col) const { return headerAlign_[static_cast<std::size_t>(col)]; }
    void setColumnAlign(int col, Align a);
    Align columnAlign(int col) const { return columnAlign_[static_cast<std::size_t>(col)]; }

    // --- rows: `n` rows from the source (a reset) ---
    void setSource(int n, Cells cells, Colours colours);
    // The source grew or shrank at its end.
    void setRowCountKeepingSource(int n);

    text::Cell cell(int row, int col) const;
    QColor colour(int row, int col) const;

    // Cell changes are told to the views once per event-loop turn, as one range: filling
    // a long list cell by cell must not cost a repaint per cell.
    void noteChanged(int row, int col);
    void noteRowsChanged(int first, int last);

private:
    void flush();
    void resizeColumns(int n);

    int rows_ = 0;
    Cells cells_;
    Colours colours_;
    int columns_ = 0;
    QStringList headers_;
    QStringList headerTips_;
    std::vector<Align> headerAlign_;
    std::vector<Align> columnAlign_;
    bool pending_ = false;
    int top_ = 0, bottom_ = 0, left_ = 0, right_ = 0;
};

// Rows a grid holds itself (filled row by row by the screens with short tables): typed
// cells and, only for rows that have any, one colour per column. Grid serves it to its
// model as the model's source, like any other.
class CellTable {
public:
    int rows() const { return static_cast<int>(cells_.size()); }
    void clear();
    void append(std::vector<text::Cell> row, int columns);
    void resize(int n);
    void truncateColumns(int columns);
    text::Cell cell(int row, int col) const;
    void setCell(int row, int col, text::Cell cell);
    QColor colour(int row, int col) const;
    void setColour(int row, int col, const QColor& colour, int columns);

private:
    std::vector<std::vector<text::Cell>> cells_;
    std::vector<std::vector<QColor>> colours_;  // empty for a row without colours
};

}  // namespace pairly::gui::widgets
