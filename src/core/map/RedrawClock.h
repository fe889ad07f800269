// When the map window redraws what: the paint decision and the choice between a full-quality and a
// fast full redraw. While the person moves around quickly (full redraws less than 5 s apart) detail
// is cut so that the map keeps up.
#pragma once

#include <chrono>
#include <optional>

namespace viamappa {

enum class PaintAction {
  CopyImage,     // the kept map image goes to the window as it is
  VectorRedraw,  // the vector layers are drawn again over the kept background image
  FullRedraw,    // background and vector layers are drawn anew
};

// What a paint does, given the full-redraw and the vector-redraw flags.
PaintAction DecidePaint(bool full_redraw, bool vector_redraw);

class RedrawClock {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kFastWindow{5000};

  // Starts a full redraw at now: fast unless full quality is asked or the previous full redraw ended
  // 5 s or more ago (or never).
  bool BeginFullRedraw(bool full_quality, Clock::time_point now);

  // Records the end of a full redraw.
  void EndFullRedraw(Clock::time_point now) { last_end_ = now; }

  // Whether the last full redraw was fast.
  bool last_was_fast() const { return last_fast_; }

 private:
  std::optional<Clock::time_point> last_end_;
  bool last_fast_ = false;
};

}  // namespace viamappa
