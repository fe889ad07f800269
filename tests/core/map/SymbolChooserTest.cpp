#include "map/SymbolChooser.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

// Cells of 36 pixels; a cell right of the grid, below its last row or past the last symbol is none.
TEST(SymbolChooserTest, CellsAreSymbolNumbers) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  // 1320 symbols, 24 to a row: 55 rows, the last one full.
  SymbolChooser chooser(library, 1);
  EXPECT_EQ(chooser.rows(), 55);
  EXPECT_EQ(chooser.CellAt(36 * 24, 5), -1);
  chooser.ScrollTo(54, 3);
  EXPECT_EQ(chooser.first_row(), 52);  // the last three rows fill the view
  EXPECT_EQ(chooser.CellAt(36 * 23 + 1, 36 * 2 + 1), 1319);
  chooser.Click(1, 36 * 3 + 1);
  EXPECT_EQ(chooser.selected(), 1);
  EXPECT_EQ(chooser.DoubleClick(1, 36 * 3 + 1), std::nullopt);

  // Seven columns: 1320 = 188 x 7 + 4, the last row holds four symbols.
  SymbolChooser narrow(library, -1, 7);
  EXPECT_EQ(narrow.Take(), std::nullopt);
  narrow.ScrollTo(188, 1);
  EXPECT_EQ(narrow.CellAt(36 * 3 + 1, 1), 1319);
  EXPECT_EQ(narrow.CellAt(36 * 4 + 1, 1), -1);
  // The arrows move the selection within the symbols and scroll to it.
  narrow.Move(0, -1, 2);
  EXPECT_EQ(narrow.selected(), 188 * 7 - 7);
  EXPECT_EQ(narrow.first_row(), 187);
  narrow.Move(100, 100, 2);
  EXPECT_EQ(narrow.selected(), 1319);
}

}  // namespace
}  // namespace viamappa
