#pragma once
// A grid of text cells as the program uses it: row 0 is the header row, rows
// are appended by raising the row count, cells are written through the
// current row and column.

#include <functional>
#include <string>
#include <vector>

namespace vantrel {

enum class GridChange { Cells, Shape, Widths, Redraw };

class GridControl {
public:
    GridControl(int rows, int cols);

    int rows() const { return static_cast<int>(cells_.size()); }
    int cols() const { return cols_; }
    // Appending or removing rows at the end; new rows are empty. At least the
    // header row stays.
    void setRows(int rows);

    // Empties the text of every cell; rows and widths stay.
    void clear();

    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row);
    void setCol(int col);
    // The current cell.
    const std::string& text() const;
    void setText(std::string text);

    const std::string& cell(int row, int col) const;
    void setCell(int row, int col, std::string text);

    int colWidth(int col) const;          // twips
    void setColWidth(int col, int twips);

    // The row that holds the selection after a mouse press (0: the header).
    int selectedRow() const { return selectedRow_; }
    void setSelectedRow(int row);

    void redraw();

    // Cells: `row` is the row whose cells changed, -1 for every row. Shape: the
    // first appended row, -1 when rows were removed.
    using Listener = std::function<void(GridChange, int row)>;
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    void check(int row, int col) const;
    void notify(GridChange change, int row = -1) const;

    int cols_;
    std::vector<std::vector<std::string>> cells_;
    std::vector<int> widths_;
    int row_ = 0;
    int col_ = 0;
    int selectedRow_ = 0;
    Listener listener_;
};

}  // namespace vantrel
