#include "map/PatternSheet.h"

namespace viamappa {

namespace {

constexpr int kColumns = 5;
constexpr int kSwatch = 64;
constexpr int kGap = 12;

int Rows(const SymbolLibrary& library) {
  return (static_cast<int>(library.patterns().size()) + kColumns - 1) / kColumns;
}

}  // namespace

int PatternSheetWidth() {
  return kGap + kColumns * (kSwatch + kGap);
}

int PatternSheetHeight(const SymbolLibrary& library) {
  return kGap + Rows(library) * (kSwatch + kGap);
}

void DrawPatternSheet(Canvas& canvas, const SymbolLibrary& library) {
  canvas.Clear(kWhite);
  canvas.SetPen({kBlack, 1, LineStyle::Solid});
  int index = 0;
  for (const FillPattern& pattern : library.patterns()) {
    const double x = kGap + (index % kColumns) * (kSwatch + kGap);
    const double y = kGap + (index / kColumns) * (kSwatch + kGap);
    canvas.SetBrush(PatternBrush(pattern, kBlack));
    canvas.FillPolygon({{{x, y}, {x + kSwatch, y}, {x + kSwatch, y + kSwatch}, {x, y + kSwatch}}});
    canvas.DrawRectangle(x - 1, y - 1, kSwatch + 1, kSwatch + 1);
    ++index;
  }
}

}  // namespace viamappa
