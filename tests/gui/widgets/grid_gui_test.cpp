// Grid: header row, twips, alignment, colours, "last row on top" scrolling, clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <map>
#include <string>
#include <vector>

#include "gui/widgets/grid.h"

namespace pairly::gui::widgets {
namespace {

QStringList dayRow(int n) {
    return {QString::number(n), QStringLiteral("朝食前"), QStringLiteral("60.%1Kg").arg(n % 10)};
}

void fill(Grid& g, int dataRows) {
    g.clearRows();
    for (int i = 1; i <= dataRows; ++i) g.addRow(dayRow(i));
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos) {
    QMouseEvent ev(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), Qt::LeftButton,
                   type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                   Qt::NoModifier);
    QApplication::sendEvent(target, &ev);
}

TEST(GridTest, TwipsConvertAt1440PerInch) {
    struct Case {
        int twips;
        double dpi;
        int pixels;
    } cases[] = {{1440, 96, 96}, {800, 96, 53},  {660, 96, 44}, {1150, 96, 77},
                 {700, 120, 58}, {800, 144, 80}, {0, 96, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Grid::twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    }
    EXPECT_EQ(Grid::pixelsToTwips(96, 96), 1440);

    Grid g;
    g.setColumns({QStringLiteral("日数"), QStringLiteral("日付")});
    g.setColumnWidthTwips(0, 660);
    g.setColumnWidthTwips(1, 1150);
    EXPECT_EQ(g.columnWidth(0), Grid::twipsToPixels(660, g.logicalDpiX()));
    EXPECT_EQ(g.columnWidth(1), Grid::twipsToPixels(1150, g.logicalDpiX()));
    EXPECT_NEAR(g.columnWidthTwips(1), 1150, 1440.0 / g.logicalDpiX());

    // Zero width: the column is out of sight but keeps its texts (comment table columns).
    g.addRow({"1", "04/04/14"});
    g.setColumnWidthTwips(1, 0);
    EXPECT_TRUE(g.isColumnHidden(1));
    EXPECT_EQ(g.columnWidthTwips(1), 0);
    EXPECT_EQ(g.text(1, 1), QStringLiteral("04/04/14"));
    g.setColumnWidthTwips(1, 305);
    EXPECT_FALSE(g.isColumnHidden(1));
    EXPECT_EQ(g.columnWidth(1), Grid::twipsToPixels(305, g.logicalDpiX()));
}

TEST(GridTest, HeaderRowTextsAndAlignment) {
    Grid g;
    g.setColumns({QStringLiteral("回"), QStringLiteral("行動"), QStringLiteral("体重")});
    g.setColumnAlignment(0, Align::Right);
    g.setColumnAlignment(2, Align::Right);
    EXPECT_EQ(g.addRow(dayRow(1)), 1);
    EXPECT_EQ(g.addRow({QStringLiteral("2")}), 2);  // short row: the rest stays empty

    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.columnCount(), 3);
    EXPECT_EQ(g.headerText(1), QStringLiteral("行動"));
    EXPECT_EQ(g.text(0, 2), QStringLiteral("体重"));  // row 0 is the header
    EXPECT_EQ(g.text(1, 1), QStringLiteral("朝食前"));
    EXPECT_EQ(g.text(2, 0), QStringLiteral("2"));
    EXPECT_EQ(g.text(2, 2), QString());
    EXPECT_EQ(g.text(3, 0), QString());  // beyond the last row
    EXPECT_EQ(g.text(1, 7), QString());

    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.headerAlignment(c), Align::Center) << c;
    EXPECT_EQ(g.cellAlignment(1, 0), Align::Right);
    EXPECT_EQ(g.cellAlignment(1, 1), Align::Left);
    EXPECT_EQ(g.cellAlignment(1, 2), Align::Right);

    // Changing a column's alignment reaches cells already there and cells set later.
    g.setColumnAlignment(1, Align::Center);
    EXPECT_EQ(g.cellAlignment(1, 1), Align::Center);
    g.setText(2, 1, QStringLiteral("夕食後"));
    EXPECT_EQ(g.cellAlignment(2, 1), Align::Center);
    EXPECT_EQ(g.text(2, 1), QStringLiteral("夕食後"));
    // The model holds data rows only; its row r is grid row r + 1, and it serves what is
    // drawn through the standard roles.
    const QModelIndex cell = g.model()->index(1, 1);
    EXPECT_EQ(g.cellIndex(2, 1), cell);
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), QStringLiteral("夕食後"));
    EXPECT_EQ(cell.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(g.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("行動"));
    EXPECT_FALSE(g.cellIndex(0, 1).isValid());
    EXPECT_FALSE(g.cellIndex(3, 1).isValid());

    g.setText(0, 1, QStringLiteral("状況"));
    EXPECT_EQ(g.headerText(1), QStringLiteral("状況"));
    EXPECT_EQ(g.headerAlignment(1), Align::Center);

    g.clearRows();
    EXPECT_EQ(g.rowCount(), 0);
    EXPECT_EQ(g.headerText(2), QStringLiteral("体重"));
    EXPECT_EQ(g.columnAlignment(2), Align::Right);

    // Cells are read-only.
    g.addRow(dayRow(1));
    EXPECT_FALSE(g.model()->flags(g.cellIndex(1, 0)) & Qt::ItemIsEditable);
}

TEST(GridTest, CellColoursReadBack) {
    Grid g;
    g.setColumns({"a", "b", "c"});
    g.addRow({"1", "↑", ""});
    g.addRow({"2", "→"});
    const QColor red(255, 192, 192), yellow(255, 255, 192);
    g.setCellColor(1, 1, red);
    g.setCellColor(2, 2, yellow);  // a cell without text yet
    EXPECT_EQ(g.cellColor(1, 1), red);
    EXPECT_EQ(g.cellColor(2, 2), yellow);
    EXPECT_EQ(g.text(2, 2), QString());
    EXPECT_FALSE(g.cellColor(1, 0).isValid());
    EXPECT_FALSE(g.cellColor(9, 0).isValid());
    g.setCellColor(1, 1, QColor());
    EXPECT_FALSE(g.cellColor(1, 1).isValid());
    g.setText(2, 2, "x");  // text keeps the colour
    EXPECT_EQ(g.cellColor(2, 2), yellow);
    // The colour is what the model serves to the view; a cell without one serves none.
    EXPECT_EQ(g.cellIndex(2, 2).data(Qt::BackgroundRole).value<QBrush>().color(), yellow);
    EXPECT_FALSE(g.cellIndex(1, 1).data(Qt::BackgroundRole).isValid());
}

TEST(GridTest, LastRowGoesToTopOnlyAboveTheThreshold) {
    // Rows counted with the header, as the screens give their thresholds.
    struct Case {
        int dataRows;
        int threshold;
        int height;
        bool scrolls;
        int top;
    } cases[] = {
        {8, 9, 150, false, 1},   // nine rows with the header: stays
        {9, 9, 150, true, 9},    // ten rows: the last row is on top
        {30, 9, 150, true, 30},  // far past the threshold
        {7, 8, 150, false, 1},
        {8, 8, 150, true, 8},
        // Tall enough to show every row: still brought to the top.
        {12, 9, 900, true, 12},
    };
    for (const Case& c : cases) {
        Grid g;
        g.setColumns({"回", "行動", "体重"});
        g.resize(300, c.height);
        g.show();
        fill(g, c.dataRows);
        QApplication::processEvents();
        EXPECT_EQ(g.scrollLastRowToTopIfMoreThan(c.threshold), c.scrolls) << c.dataRows;
        QApplication::processEvents();
        EXPECT_EQ(g.topVisibleRow(), c.top) << c.dataRows << " rows, threshold " << c.threshold;
        // A later resize keeps the last row on top.
        g.resize(320, c.height + 40);
        QApplication::processEvents();
        EXPECT_EQ(g.topVisibleRow(), c.top) << c.dataRows << " after resize";
    }
}

TEST(GridTest, VisibleRowsHintShowsThatManyRows) {
    Grid g;
    g.setVisibleRows(9);  // before the headers exist, as screens may do
    g.setFontPointSize(11);
    g.setColumns({"回", "行動", "体重"});
    fill(g, 8);
    g.resize(300, g.minimumHeight());
    g.show();
    QApplication::processEvents();
    const int lastBottom = g.rowViewportPosition(7) + g.rowHeight(7);
    EXPECT_LE(lastBottom, g.viewport()->height());
    EXPECT_EQ(g.topVisibleRow(), 1);
}

TEST(GridTest, ClearRowsScrollsBackToTheTop) {
    Grid g;
    g.setColumns({"回", "行動", "体重"});
    g.resize(300, 150);
    g.show();
    fill(g, 20);
    ASSERT_TRUE(g.scrollLastRowToTopIfMoreThan(9));
    QApplication::processEvents();
    ASSERT_EQ(g.topVisibleRow(), 20);
    g.clearRows();
    EXPECT_EQ(g.topVisibleRow(), 0);
    fill(g, 5);
    QApplication::processEvents();
    EXPECT_EQ(g.topVisibleRow(), 1);
    EXPECT_FALSE(g.scrollLastRowToTopIfMoreThan(9));
    EXPECT_EQ(g.topVisibleRow(), 1);
    g.setTopRow(4);
    QApplication::processEvents();
    EXPECT_EQ(g.topVisibleRow(), 4);
}

TEST(GridTest, ClicksReportGridRows) {
    Grid g;
    g.setColumns({"回", "行動", "体重"});
    g.resize(400, 300);
    g.show();
    fill(g, 5);
    QApplication::processEvents();

    QList<std::pair<int, int>> clicks, doubles;
    QObject::connect(&g, &Grid::clickedCell, [&](int r, int c) { clicks.append({r, c}); });
    QObject::connect(&g, &Grid::doubleClickedCell, [&](int r, int c) { doubles.append({r, c}); });

    const QPoint cell = g.visualRect(g.cellIndex(3, 1)).center();
    sendMouse(g.viewport(), QEvent::MouseButtonPress, cell);
    sendMouse(g.viewport(), QEvent::MouseButtonRelease, cell);
    sendMouse(g.viewport(), QEvent::MouseButtonDblClick, cell);
    sendMouse(g.viewport(), QEvent::MouseButtonRelease, cell);
    ASSERT_FALSE(clicks.isEmpty());
    EXPECT_EQ(clicks.first(), std::make_pair(3, 1));
    ASSERT_EQ(doubles.size(), 1);
    EXPECT_EQ(doubles.first(), std::make_pair(3, 1));
    EXPECT_EQ(g.currentGridRow(), 3);
    EXPECT_EQ(g.currentGridColumn(), 1);

    g.setCurrentGridCell(5, 0);
    EXPECT_EQ(g.currentGridRow(), 5);
    EXPECT_EQ(g.currentIndex().row(), 4);
}

TEST(GridTest, SelectedRowKeepsItsCellColours) {
    Grid g;
    g.setColumns({"回", "差"});
    g.resize(300, 200);
    g.show();
    g.addRow({"1", ""});
    g.addRow({"2", ""});
    g.setCellColor(1, 1, QColor(255, 192, 192));
    g.setCurrentGridCell(1, 0);
    g.selectRow(0);
    QApplication::processEvents();
    const QImage img = g.viewport()->grab().toImage();
    const QColor cell = img.pixelColor(g.visualRect(g.cellIndex(1, 1)).center());
    EXPECT_GT(cell.red(), cell.green() + 10) << cell.name().toStdString();
    EXPECT_GT(cell.red(), cell.blue() + 10) << cell.name().toStdString();
}

TEST(GridTest, FontSizeAndBulkRows) {
    Grid g;
    g.setColumns({"日数", "日付", "体重１", "体重２"});
    const int smallRow = g.verticalHeader()->defaultSectionSize();
    g.setFontPointSize(11);
    EXPECT_DOUBLE_EQ(g.fontPointSize(), 11);
    EXPECT_DOUBLE_EQ(g.horizontalHeader()->font().pointSizeF(), 11);

    QList<QStringList> rows;
    for (int i = 1; i <= 5000; ++i) rows.append({QString::number(i), "04/04/14", "60.5", ""});
    g.addRows(rows);
    g.addRow({"5001", "04/04/15", "", "55.0"});
    EXPECT_EQ(g.rowCount(), 5001);
    EXPECT_EQ(g.text(5000, 0), QStringLiteral("5000"));
    EXPECT_EQ(g.text(5001, 3), QStringLiteral("55.0"));
    // Every row has the height of the grid's font, the first as the last.
    EXPECT_EQ(g.rowHeight(0), g.rowHeight(5000));
    g.setFontPointSize(16);
    EXPECT_GT(g.rowHeight(4000), smallRow);
    EXPECT_EQ(g.rowHeight(0), g.rowHeight(4000));
}

TEST(GridTest, RowsKeepTheirCellsThroughColumnAndRowChanges) {
    Grid g;
    g.setColumns({"a", "b", "c"});
    g.addRow({"1", "2", "3", "4"});  // a cell beyond the columns is dropped
    g.setCellColor(1, 2, QColor(255, 192, 192));
    EXPECT_EQ(g.text(1, 3), QString());
    g.setColumns({"a", "b", "c", "d"});
    EXPECT_EQ(g.text(1, 3), QString());
    EXPECT_EQ(g.text(1, 2), QStringLiteral("3"));
    EXPECT_EQ(g.columnAlignment(3), Align::Left);
    g.setColumns({"a", "b"});  // fewer columns: their cells go
    g.setColumns({"a", "b", "c"});
    EXPECT_EQ(g.text(1, 2), QString());
    EXPECT_FALSE(g.cellColor(1, 2).isValid());
    EXPECT_EQ(g.text(1, 1), QStringLiteral("2"));

    g.setRowCount(4);
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.text(4, 0), QString());
    g.setText(4, 2, "x");
    EXPECT_EQ(g.text(4, 2), QStringLiteral("x"));
    g.setRowCount(1);
    EXPECT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.text(1, 0), QStringLiteral("1"));
    EXPECT_EQ(g.text(2, 0), QString());
    g.setRowCount(-3);
    EXPECT_EQ(g.rowCount(), 0);
}

TEST(GridTest, ManyCellChangesAreToldToTheViewOnce) {
    // Colouring a long list cell by cell must not cost a repaint per cell: the model tells
    // its views once per event-loop turn, with one range over every changed cell.
    Grid g;
    g.setColumns({"a", "b", "c"});
    QList<QStringList> rows;
    for (int i = 1; i <= 3000; ++i) rows.append({QString::number(i), "", ""});
    g.addRows(rows);
    QList<std::pair<QModelIndex, QModelIndex>> told;
    QObject::connect(g.model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& a, const QModelIndex& b) {
                         told.append({a, b});
                     });
    for (int r = 10; r <= 2000; ++r) g.setCellColor(r, 2, QColor(192, 255, 192));
    g.setText(5, 1, "↑");
    EXPECT_TRUE(told.isEmpty());
    QApplication::processEvents();
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0].first, g.cellIndex(5, 1));
    EXPECT_EQ(told[0].second, g.cellIndex(2000, 2));
    EXPECT_EQ(g.cellColor(2000, 2), QColor(192, 255, 192));
    // Rows cleared before the view was told: nothing out of range is told.
    g.setCellColor(2999, 0, QColor(255, 0, 0));
    g.clearRows();
    QApplication::processEvents();
    EXPECT_EQ(told.size(), 1);
}

// Rows from a source are asked for only when drawn or read, with the grid's numbering; the
// source's cells are its own (a changed datum is told with refreshRows); clearing or a new
// source lets the old one go.
TEST(GridTest, RowSourceServesRowsOnDemand) {
    Grid g;
    g.setColumns({"a", "b", "c"});
    g.resize(300, 200);
    int asked = 0;
    std::map<std::pair<int, int>, std::string> edits;
    std::vector<std::string> words = {"x", "y", "z"};
    g.setRowSource(
        100000,
        [&](int row, int col) {
            ++asked;
            const auto edit = edits.find({row, col});
            if (edit != edits.end()) return text::Cell::text(edit->second);
            return text::Cell::text(QStringLiteral("%1:%2").arg(row).arg(col).toStdString());
        },
        [](int row, int col) { return col == 2 && row % 2 ? QColor(Qt::red) : QColor(); });
    EXPECT_EQ(g.rowCount(), 100000);
    g.show();
    QApplication::processEvents();
    EXPECT_GT(asked, 0);
    EXPECT_LT(asked, 1000);  // the visible cells, not a hundred thousand rows
    EXPECT_EQ(g.text(1, 0), "1:0");
    EXPECT_EQ(g.text(100000, 2), "100000:2");
    EXPECT_EQ(g.text(100001, 0), "");
    EXPECT_EQ(g.cellColor(3, 2), QColor(Qt::red));
    EXPECT_FALSE(g.cellColor(4, 2).isValid());
    EXPECT_EQ(g.model()->data(g.cellIndex(5, 1), Qt::DisplayRole).toString(), "5:1");

    // The source's data changed: the row is told to the view once, and read anew.
    QList<std::pair<QModelIndex, QModelIndex>> told;
    QObject::connect(g.model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         told.append({from, to});
                     });
    edits[{3, 1}] = "own";
    g.refreshRows(3, 3);
    g.refreshRows(0, -5);  // nothing in range: nothing told
    QApplication::processEvents();
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0].first, g.cellIndex(3, 0));
    EXPECT_EQ(told[0].second, g.cellIndex(3, 2));
    EXPECT_EQ(g.text(3, 1), "own");
    EXPECT_EQ(g.text(3, 0), "3:0");
    // Cells of a source are not set one by one: the grid keeps no copy of them.
    g.setText(3, 1, "x");
    g.setCellColor(4, 0, Qt::blue);
    EXPECT_EQ(g.text(3, 1), "own");
    EXPECT_FALSE(g.cellColor(4, 0).isValid());

    // Adding a row goes back to the grid's own rows.
    g.addRow({"p", "q"});
    EXPECT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.text(1, 1), "q");

    g.clearRows();
    EXPECT_EQ(g.rowCount(), 0);
    g.setRowCount(2);
    EXPECT_EQ(g.text(1, 0), "");  // the old source is gone
    g.setRowSource(1, [&](int, int col) { return text::Cell::text(words[std::size_t(col)]); });
    EXPECT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.text(1, 2), "z");
    EXPECT_FALSE(g.cellColor(1, 2).isValid());
}

// Numbers stay numbers in the grid: a typed cell becomes text when it is drawn or read.
TEST(GridTest, TypedCellsAreShownInTheirFormat) {
    Grid g;
    g.setColumns({"回", "体重", "差", "代謝", "空"});
    const int row = g.addCellRow({text::Cell::integer(12), text::Cell::number(60.25f, "0.0Kg"),
                                  text::Cell::number(-0.04f, "0.0Kg"),
                                  text::Cell::integer(32767, "kcal"), text::Cell()});
    EXPECT_EQ(row, 1);
    struct Case {
        int col;
        QString shown;
    } cases[] = {{0, "12"}, {1, "60.3Kg"}, {2, "0.0Kg"}, {3, "32767kcal"}, {4, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(g.text(1, c.col), c.shown) << c.col;
        EXPECT_EQ(g.cellIndex(1, c.col).data(Qt::DisplayRole).toString(), c.shown) << c.col;
    }
    EXPECT_EQ(g.cell(1, 1).kind(), text::Cell::Kind::Pattern);
    EXPECT_DOUBLE_EQ(g.cell(1, 1).value(), 60.25);
    EXPECT_TRUE(g.cell(1, 4).isMissing());
    EXPECT_TRUE(g.cell(0, 1).isMissing());  // the header row holds texts only
    EXPECT_TRUE(g.cell(2, 0).isMissing());
    g.setCell(1, 1, text::Cell::number(-61.0f, "0.0Kg"));
    EXPECT_EQ(g.text(1, 1), "-61.0Kg");
}

}  // namespace
}  // namespace pairly::gui::widgets
