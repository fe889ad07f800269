#include "map/RedrawClock.h"

namespace viamappa {

PaintAction DecidePaint(bool full_redraw, bool vector_redraw) {
  if (full_redraw) return PaintAction::FullRedraw;
  return vector_redraw ? PaintAction::VectorRedraw : PaintAction::CopyImage;
}

bool RedrawClock::BeginFullRedraw(bool full_quality, Clock::time_point now) {
  last_fast_ = !full_quality && last_end_ && now - *last_end_ < kFastWindow;
  return last_fast_;
}

}  // namespace viamappa
