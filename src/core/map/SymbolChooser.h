// "Selezione Simbolo Grafico": the library's symbols as a grid of 36 x 36 pixel cells, in the order
// of their numbers, from which the person takes one for a point layer.
#pragma once

#include <optional>

#include "map/SymbolLibrary.h"
#include "ui/Canvas.h"

namespace viamappa {

inline constexpr int kSymbolCellSize = 36;
// Three shapes to a row, each in its eight colours.
inline constexpr int kSymbolChooserColumns = 24;

class SymbolChooser {
 public:
  // current: the symbol the layer has now, selected and shown when the library holds it.
  explicit SymbolChooser(const SymbolLibrary& library, int current = -1, int columns = kSymbolChooserColumns);

  const SymbolLibrary& library() const { return library_; }
  int columns() const { return columns_; }
  int rows() const { return (count() + columns_ - 1) / columns_; }
  int count() const { return static_cast<int>(library_.symbols().size()); }

  // The first row shown at the top; the grid scrolls by rows.
  int first_row() const { return first_row_; }
  void ScrollTo(int row, int visible_rows);

  // The index of the selected cell, or -1.
  int selected() const { return selected_; }

  // The cell under the pixel (x, y) of the grid as shown, or -1 outside it and past the last symbol.
  int CellAt(int x, int y) const;
  // A click selects the cell under it; one past the last symbol changes nothing.
  void Click(int x, int y);
  // A double click selects and takes the cell's symbol ("Seleziona").
  std::optional<int> DoubleClick(int x, int y);
  // Moves the selection by cells (the arrow keys), keeping it in the grid and in sight.
  void Move(int columns, int rows, int visible_rows);
  // The symbol number of the selection, or none.
  std::optional<int> Take() const;

 private:
  const SymbolLibrary& library_;
  int columns_;
  int first_row_ = 0;
  int selected_ = -1;
};

// Draws the rows of the grid that fit a surface of the canvas's size, from the first row shown:
// each symbol centred in its cell, the selected cell marked.
void DrawSymbolGrid(Canvas& canvas, const SymbolChooser& chooser);

// The size in pixels of a picture of the whole grid.
int SymbolGridWidth(const SymbolChooser& chooser);
int SymbolGridHeight(const SymbolChooser& chooser);

}  // namespace viamappa
