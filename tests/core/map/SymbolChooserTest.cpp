#include "map/SymbolChooser.h"

#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"

namespace viamappa {
namespace {

TEST(SymbolChooserTest, CellsAreSymbolNumbers) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  // 1320 symbols, 24 to a row: 55 rows, the last one full.
  SymbolChooser chooser(library, 1);
  EXPECT_EQ(chooser.rows(), 55);
  EXPECT_EQ(chooser.selected(), 1);
  EXPECT_EQ(chooser.Take(), 1);
  EXPECT_EQ(chooser.CellAt(36 * 2 + 5, 36 + 5), 26);
  EXPECT_EQ(chooser.CellAt(36 * 24, 5), -1);  // right of the grid
  chooser.ScrollTo(54, 3);
  EXPECT_EQ(chooser.first_row(), 52);  // the last three rows fill the view
  EXPECT_EQ(chooser.CellAt(36 * 23 + 1, 36 * 2 + 1), 1319);
  EXPECT_EQ(chooser.CellAt(1, 36 * 3 + 1), -1);  // below the last row
  chooser.Click(1, 36 * 3 + 1);
  EXPECT_EQ(chooser.selected(), 1);
  EXPECT_EQ(chooser.DoubleClick(36 + 1, 1), 52 * 24 + 1);
  EXPECT_EQ(chooser.DoubleClick(1, 36 * 3 + 1), std::nullopt);

  // Seven columns: 1320 = 188 x 7 + 4, the last row holds four symbols.
  SymbolChooser narrow(library, -1, 7);
  EXPECT_EQ(narrow.Take(), std::nullopt);
  narrow.ScrollTo(188, 1);
  EXPECT_EQ(narrow.CellAt(36 * 3 + 1, 1), 1319);
  EXPECT_EQ(narrow.CellAt(36 * 4 + 1, 1), -1);  // a cell past the last symbol is ignored
  narrow.Click(36 * 4 + 1, 1);
  EXPECT_EQ(narrow.selected(), -1);
  // The arrows move the selection within the symbols and scroll to it.
  narrow.Move(0, -1, 2);
  EXPECT_EQ(narrow.selected(), 188 * 7 - 7);
  EXPECT_EQ(narrow.first_row(), 187);
  narrow.Move(100, 100, 2);
  EXPECT_EQ(narrow.selected(), 1319);
}

TEST(SymbolChooserTest, TheGridDrawsEachSymbolCentredInItsCell) {
  const SymbolChooser chooser(SymbolLibrary::Builtin(), 19);
  testing::RecordingCanvas canvas(SymbolGridWidth(chooser), 72);
  DrawSymbolGrid(canvas, chooser);
  const auto images = canvas.Of(testing::DrawCall::Kind::Image);
  ASSERT_EQ(images.size(), 48u);  // the two rows from the selected symbol's row
  // Symbol 19, the 15 x 15 disc, in the first row: 10 pixels in from its cell's corner.
  EXPECT_EQ(chooser.first_row(), 0);
  EXPECT_EQ(images[19]->points[0], (Point{36 * 19 + 10, 10}));
  EXPECT_EQ(images[19]->image.serial(), SymbolLibrary::Builtin().FindSymbol(19)->image.serial());
}

}  // namespace
}  // namespace viamappa
