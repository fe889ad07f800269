#include "map/SymbolChooser.h"

#include <algorithm>

namespace viamappa {

namespace {

constexpr Colour kGridLine = 0xD0D0D0;
constexpr Colour kSelectedCell = 0xF0D8B0;  // a light blue
constexpr Colour kSelectedFrame = 0x800000;

}  // namespace

SymbolChooser::SymbolChooser(const SymbolLibrary& library, int current, int columns)
    : library_(library), columns_(std::max(1, columns)) {
  if (library_.FindSymbol(current)) {
    // Numbers run from 0 without gaps: a symbol's cell is its number.
    selected_ = current;
    first_row_ = current / columns_;
  }
}

void SymbolChooser::ScrollTo(int row, int visible_rows) {
  first_row_ = std::clamp(row, 0, std::max(0, rows() - std::max(1, visible_rows)));
}

int SymbolChooser::CellAt(int x, int y) const {
  if (x < 0 || y < 0) return -1;
  const int column = x / kSymbolCellSize;
  if (column >= columns_) return -1;
  const int index = (first_row_ + y / kSymbolCellSize) * columns_ + column;
  return index < count() ? index : -1;
}

void SymbolChooser::Click(int x, int y) {
  const int cell = CellAt(x, y);
  if (cell >= 0) selected_ = cell;
}

std::optional<int> SymbolChooser::DoubleClick(int x, int y) {
  const int cell = CellAt(x, y);
  if (cell < 0) return std::nullopt;
  selected_ = cell;
  return Take();
}

void SymbolChooser::Move(int columns, int rows, int visible_rows) {
  const int from = selected_ < 0 ? first_row_ * columns_ : selected_;
  selected_ = std::clamp(from + columns + rows * columns_, 0, count() - 1);
  const int row = selected_ / columns_;
  const int visible = std::max(1, visible_rows);
  if (row < first_row_) ScrollTo(row, visible);
  if (row >= first_row_ + visible) ScrollTo(row - visible + 1, visible);
}

std::optional<int> SymbolChooser::Take() const {
  if (selected_ < 0) return std::nullopt;
  return library_.symbols()[static_cast<std::size_t>(selected_)].number;
}

int SymbolGridWidth(const SymbolChooser& chooser) {
  return chooser.columns() * kSymbolCellSize;
}

int SymbolGridHeight(const SymbolChooser& chooser) {
  return chooser.rows() * kSymbolCellSize;
}

void DrawSymbolGrid(Canvas& canvas, const SymbolChooser& chooser) {
  canvas.Clear(kWhite);
  const std::vector<Symbol>& symbols = chooser.library().symbols();
  const int shown_rows = (canvas.height() + kSymbolCellSize - 1) / kSymbolCellSize;
  canvas.SetPen({kGridLine, 1, LineStyle::Solid});
  for (int r = 0; r < shown_rows; ++r) {
    for (int c = 0; c < chooser.columns(); ++c) {
      const int index = (chooser.first_row() + r) * chooser.columns() + c;
      if (index >= chooser.count()) return;
      const int x = c * kSymbolCellSize, y = r * kSymbolCellSize;
      if (index == chooser.selected()) {
        canvas.FillRectangle(x, y, kSymbolCellSize, kSymbolCellSize, kSelectedCell);
        canvas.SetPen({kSelectedFrame, 1, LineStyle::Solid});
        canvas.DrawRectangle(x + 1, y + 1, kSymbolCellSize - 3, kSymbolCellSize - 3);
        canvas.SetPen({kGridLine, 1, LineStyle::Solid});
      }
      const Point right[3] = {{x + kSymbolCellSize - 0.5, y + 0.0},
                              {x + kSymbolCellSize - 0.5, y + kSymbolCellSize - 0.5},
                              {x + 0.0, y + kSymbolCellSize - 0.5}};
      canvas.DrawPolyline(right, 3);
      const Symbol& symbol = symbols[static_cast<std::size_t>(index)];
      canvas.DrawImage(x + (kSymbolCellSize - symbol.width) / 2, y + (kSymbolCellSize - symbol.height) / 2,
                       symbol.image);
    }
  }
}

}  // namespace viamappa
