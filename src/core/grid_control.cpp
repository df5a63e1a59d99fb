#include "core/grid_control.h"

#include <algorithm>

#include "core/error.h"

namespace vantrel {

GridControl::GridControl(int rows, int cols)
    : cols_(std::max(cols, 1)),
      cells_(static_cast<std::size_t>(std::max(rows, 1)), std::vector<std::string>(static_cast<std::size_t>(cols_))),
      widths_(static_cast<std::size_t>(cols_), 1000) {}

void GridControl::setRows(int rows) {
    const int before = this->rows();
    cells_.resize(static_cast<std::size_t>(std::max(rows, 1)), std::vector<std::string>(static_cast<std::size_t>(cols_)));
    row_ = std::min(row_, this->rows() - 1);
    selectedRow_ = std::min(selectedRow_, this->rows() - 1);
    // Appended rows are all that changed; after removing rows, any row may show other cells.
    notify(GridChange::Shape, this->rows() >= before ? before : -1);
}

void GridControl::clear() {
    for (auto& r : cells_)
        for (auto& c : r) c.clear();
    notify(GridChange::Cells);
}

void GridControl::check(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        throw GridError("Grid cell out of range: row " + std::to_string(row) + ", column " + std::to_string(col));
}

void GridControl::setRow(int row) {
    check(row, 0);
    row_ = row;
}

void GridControl::setCol(int col) {
    check(0, col);
    col_ = col;
}

const std::string& GridControl::text() const { return cell(row_, col_); }

void GridControl::setText(std::string text) { setCell(row_, col_, std::move(text)); }

const std::string& GridControl::cell(int row, int col) const {
    check(row, col);
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void GridControl::setCell(int row, int col, std::string text) {
    check(row, col);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    notify(GridChange::Cells, row);
}

int GridControl::colWidth(int col) const {
    check(0, col);
    return widths_[static_cast<std::size_t>(col)];
}

void GridControl::setColWidth(int col, int twips) {
    check(0, col);
    widths_[static_cast<std::size_t>(col)] = twips;
    notify(GridChange::Widths);
}

void GridControl::setSelectedRow(int row) {
    check(row, 0);
    selectedRow_ = row;
}

void GridControl::redraw() { notify(GridChange::Redraw); }

void GridControl::notify(GridChange change, int row) const {
    if (listener_) listener_(change, row);
}

}  // namespace vantrel
