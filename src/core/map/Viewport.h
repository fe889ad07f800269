// The view of the map window: an origin (the world point at the window's lower-left corner) and a
// resolution (metres of ground per screen unit, a tenth of a millimetre of the display), the scale
// 1:N derived from it, and the history of views.
#pragma once

#include <cstdint>
#include <string>

#include "map/SavedMapView.h"
#include "base/Box.h"
#include "map/DeviceMetrics.h"
#include "map/ViewHistory.h"

namespace viamappa {

inline constexpr double kMinimumResolution = 1e-8;

// N = trunc(1000 / ((1000 / r) x 0.0001)), in doubles, kept within 32 bits for any resolution.
std::int32_t ScaleDenominator(double resolution);

// "Scala 1:%ld".
std::string ScaleText(std::int32_t denominator);

// "Nord=%8.2lf        Est=%8.2lf" with y and x.
std::string PositionText(double x, double y);

class Viewport {
 public:
  explicit Viewport(DeviceMetrics metrics = DeviceMetrics(), const SavedMapView& view = SavedMapView());

  const DeviceMetrics& metrics() const { return metrics_; }
  double resolution() const { return r_; }
  double x0() const { return x0_; }
  double y0() const { return y0_; }
  double x1() const { return x1_; }
  double y1() const { return y1_; }
  std::int32_t denominator() const { return n_; }
  const std::string& scale_text() const { return scale_text_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // The client size in pixels. The origin and the resolution stay; the map is redrawn.
  void SetClientSize(int width, int height);

  // The world point under a pixel of the client area (rows count down, world Y up).
  Point PixelToWorld(int px, int py) const;

  // The pixel position of a world point, fractional, Y measured down from the top of the client area.
  Point WorldToPixel(double x, double y) const;

  // Recomputes the upper-right corner from the origin, the resolution and the client size; the full
  // redraw does it first.
  void UpdateExtent();
  // The world rectangle the window shows.
  Box Visible() const { return Box::Of(x0_, y0_, x1_, y1_); }

  void CentreOn(double x, double y);
  void ZoomToPixelRect(int xa, int ya, int xb, int yb);
  void PanByPixels(int xa, int ya, int xb, int yb);
  void ZoomSteps(int from, int to);
  // Shifts the view by metres east and north (the move keys); the scale stays.
  void MoveBy(double east, double north);
  // Multiplies the resolution keeping the centre (the menu zooms), without the lower bound of the steps.
  void Rescale(double factor);
  // The resolution that shows the whole extent; false, leaving the view, for an empty extent.
  bool FitExtent(const Box& extent);
  // The whole extent from its lower-left corner; false, leaving the view, for an empty extent.
  bool Home(const Box& extent);
  // Back to the view before the current one; false when there is none.
  bool PreviousView();

  // The view stored at the last exit replaces the home view unless it is the default resolution or its
  // origin lies outside the data.
  void ApplyStartupView(const Box& extent);

  // Ends a full redraw: remembers the view drawn and records it in the history while recording.
  void EndFullRedraw();

  SavedMapView Saved() const { return {r_, x0_, y0_}; }
  const ViewHistory& history() const { return history_; }

  // Set by every change of view or data; cleared by the paint that redraws the layers.
  bool full_redraw = true;
  // The next full redraw is of full quality.
  bool full_quality = true;
  // The cached off-screen image no longer matches the view.
  bool image_released = true;

 private:
  void SetResolution(double r);
  Point Centre() const;

  DeviceMetrics metrics_;
  double r_ = 1.0;
  double x0_ = 0;
  double y0_ = 0;
  double x1_ = 0;
  double y1_ = 0;
  std::int32_t n_ = 0;
  std::string scale_text_;
  int width_ = 0;
  int height_ = 0;
  bool record_ = true;
  ViewEntry last_drawn_;
  ViewHistory history_;
};

}  // namespace viamappa
