#include "map/StyleSamples.h"

#include <algorithm>
#include <cmath>

#include "map/LayerPainting.h"

namespace viamappa {

namespace {

constexpr double kCaptionHeight = 10;

void Caption(Canvas& canvas, const SampleBox& box, std::string_view caption) {
  if (caption.empty()) return;
  canvas.SetFont({"Arial", kCaptionHeight, 0});
  canvas.DrawTextCentred(box.x + box.width / 2, box.y + kCaptionHeight / 2 + 1, caption, kBlack);
}

}  // namespace

void DrawLineSample(Canvas& canvas, const SampleBox& box, const LayerStyle& style, std::string_view caption) {
  Caption(canvas, box, caption);
  const double top = caption.empty() ? box.y : box.y + kCaptionHeight + 2;
  const double y = std::floor(top + (box.y + box.height - top) / 2) + 0.5;
  const Point line[2] = {{box.x + 4, y}, {box.x + box.width - 4, y}};
  canvas.SetPen(LayerPen(style, false));
  canvas.DrawPolyline(line, 2);
}

void DrawAreaSample(Canvas& canvas, const SampleBox& box, const LayerStyle& style, std::string_view caption) {
  Caption(canvas, box, caption);
  const double top = caption.empty() ? box.y + 4 : box.y + kCaptionHeight + 4;
  const double left = box.x + 6, right = box.x + box.width - 6, bottom = box.y + box.height - 4;
  if (right <= left || bottom <= top) return;
  const Brush brush = AreaBrush(style.fill, style.fore_colour, SymbolLibrary::Builtin());
  if (brush.style != FillStyle::None) {
    canvas.SetBrush(brush);
    canvas.FillPolygon({{{left, top}, {right, top}, {right, bottom}, {left, bottom}}});
  }
  canvas.SetPen(LayerPen(style, false));
  const Point ring[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
  canvas.DrawPolyline(ring, 5);
}

void DrawSymbolSample(Canvas& canvas, const SampleBox& box, const LayerStyle& style) {
  const Symbol* symbol = SymbolLibrary::Builtin().FindSymbol(style.symbol);
  if (!symbol) return;
  canvas.DrawImage(static_cast<int>(box.x + (box.width - symbol->width) / 2),
                   static_cast<int>(box.y + (box.height - symbol->height) / 2), symbol->image);
}

}  // namespace viamappa
