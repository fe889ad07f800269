#include "map/RenderView.h"

#include <limits>

namespace viamappa {

RenderView RenderView::Of(const Viewport& viewport, bool fast) {
  RenderView view;
  view.resolution = viewport.resolution();
  view.x0 = viewport.x0();
  view.y0 = viewport.y0();
  view.x1 = viewport.x1();
  view.y1 = viewport.y1();
  view.denominator = viewport.denominator();
  view.width = viewport.width();
  view.height = viewport.height();
  view.metrics = viewport.metrics();
  view.fast = fast;
  return view;
}

std::int32_t RenderView::EffectiveDenominator() const {
  if (!fast) return denominator;
  // Ten times a scale beyond 1:214748364 still hides everything with a maximum.
  const std::int64_t tenfold = static_cast<std::int64_t>(denominator) * 10;
  return tenfold > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                            : static_cast<std::int32_t>(tenfold);
}

}  // namespace viamappa
