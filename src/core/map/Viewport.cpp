#include "map/Viewport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/NumberText.h"

namespace viamappa {

std::int32_t ScaleDenominator(double resolution) {
  const double n = 1000.0 / ((1000.0 / resolution) * 0.0001);
  if (!(n > 0)) return 0;
  if (n >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(n);
}

std::string ScaleText(std::int32_t denominator) {
  return "Scala 1:" + FormatInteger(denominator);
}

std::string PositionText(double x, double y) {
  const auto field = [](double v) {
    std::string text = FormatFixed(v, 2);
    if (text.size() < 8) text.insert(0, 8 - text.size(), ' ');
    return text;
  };
  return "Nord=" + field(y) + "        Est=" + field(x);
}

Viewport::Viewport(DeviceMetrics metrics, const SavedMapView& view)
    : metrics_(metrics), x0_(view.origin_x), y0_(view.origin_y) {
  SetResolution(view.resolution > 0 ? view.resolution : 1.0);
}

void Viewport::SetResolution(double r) {
  r_ = r;
  n_ = ScaleDenominator(r_);
  scale_text_ = ScaleText(n_);
}

void Viewport::SetClientSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  full_redraw = true;
  image_released = true;
  UpdateExtent();
}

Point Viewport::PixelToWorld(int px, int py) const {
  const double u = static_cast<double>(metrics_.PixelsToScreenUnits(px));
  const double v = static_cast<double>(metrics_.PixelsToScreenUnits(height_ - py));
  return {x0_ + u * r_, y0_ + v * r_};
}

Point Viewport::WorldToPixel(double x, double y) const {
  return {metrics_.ScreenUnitsToPixels((x - x0_) / r_),
          height_ - metrics_.ScreenUnitsToPixels((y - y0_) / r_)};
}

void Viewport::UpdateExtent() {
  x1_ = x0_ + static_cast<double>(metrics_.PixelsToScreenUnits(width_)) * r_;
  y1_ = y0_ + static_cast<double>(metrics_.PixelsToScreenUnits(height_)) * r_;
}

Point Viewport::Centre() const {
  const double half_u = static_cast<double>(metrics_.PixelsToScreenUnits(width_ / 2));
  const double half_v = static_cast<double>(metrics_.PixelsToScreenUnits(height_ / 2));
  return {x0_ + half_u * r_, y0_ + half_v * r_};
}

void Viewport::CentreOn(double x, double y) {
  const Point centre = Centre();
  x0_ += x - centre.x;
  y0_ += y - centre.y;
  SetResolution(r_);
  full_redraw = true;
  image_released = true;
}

void Viewport::ZoomToPixelRect(int xa, int ya, int xb, int yb) {
  x0_ += static_cast<double>(metrics_.PixelsToScreenUnits(std::min(xa, xb))) * r_;
  y0_ += static_cast<double>(metrics_.PixelsToScreenUnits(height_ - std::max(ya, yb))) * r_;
  // A rectangle without width or height counts as one pixel wide, never as an infinite zoom.
  const double fx = static_cast<double>(width_) / std::max(std::abs(xb - xa), 1);
  const double fy = static_cast<double>(height_) / std::max(std::abs(yb - ya), 1);
  double r = fx <= fy ? r_ / fx : r_ / fy;
  if (!(r >= kMinimumResolution)) r = kMinimumResolution;
  SetResolution(r);
  image_released = true;
}

void Viewport::PanByPixels(int xa, int ya, int xb, int yb) {
  if (xa == -1 && ya == -1) return;
  const double du = static_cast<double>(metrics_.PixelsToScreenUnits(xb - xa));
  const double dv = static_cast<double>(metrics_.PixelsToScreenUnits(yb - ya));
  x0_ -= du * r_;
  y0_ += dv * r_;
  image_released = true;
}

void Viewport::ZoomSteps(int from, int to) {
  const Point centre = Centre();
  const int k = to - from;
  double r = r_;
  for (int i = 0; i < std::abs(k); ++i) r *= k > 0 ? 1.075 : 0.9302325581395349;
  if (!(r >= kMinimumResolution)) r = kMinimumResolution;
  SetResolution(r);
  CentreOn(centre.x, centre.y);
}

void Viewport::MoveBy(double east, double north) {
  x0_ += east;
  x1_ += east;
  y0_ += north;
  y1_ += north;
  full_redraw = true;
  image_released = true;
}

void Viewport::Rescale(double factor) {
  const Point centre = Centre();
  const double r = r_ * factor;
  if (!(r > 0) || !std::isfinite(r)) return;
  SetResolution(r);
  CentreOn(centre.x, centre.y);
}

bool Viewport::FitExtent(const Box& extent) {
  if (extent.IsEmpty()) return false;
  const double u = static_cast<double>(metrics_.PixelsToScreenUnits(width_));
  const double v = static_cast<double>(metrics_.PixelsToScreenUnits(height_));
  if (!(u > 0) || !(v > 0)) return false;
  const double rx = (extent.maxx - extent.minx) / u;
  const double ry = (extent.maxy - extent.miny) / v;
  const double r = rx >= ry ? rx : ry;
  // A single point has no size to fit: the resolution stays.
  if (!(r > 0) || !std::isfinite(r)) return false;
  SetResolution(r);
  return true;
}

bool Viewport::Home(const Box& extent) {
  if (extent.IsEmpty()) return false;
  if (FitExtent(extent)) {
    x0_ = extent.minx;
    y0_ = extent.miny;
  } else {
    CentreOn((extent.minx + extent.maxx) / 2, (extent.miny + extent.maxy) / 2);
  }
  full_redraw = true;
  full_quality = true;
  image_released = true;
  return true;
}

bool Viewport::PreviousView() {
  if (!history_.CanGoBack()) return false;
  const ViewEntry entry = history_.Pop();
  x0_ = entry.x0;
  y0_ = entry.y0;
  SetResolution(entry.resolution);
  full_redraw = true;
  full_quality = true;
  image_released = true;
  // The view reached is already on the history: the redraw it causes is not recorded again.
  record_ = false;
  return true;
}

void Viewport::ApplyStartupView(const Box& extent) {
  if (r_ == 1.0 || x0_ < extent.minx || x0_ > extent.maxx || y0_ < extent.miny || y0_ > extent.maxy)
    Home(extent);
  full_redraw = true;
  full_quality = true;
}

void Viewport::EndFullRedraw() {
  last_drawn_ = {n_, r_, x0_, y0_};
  if (record_) history_.Push(last_drawn_);
  record_ = true;
  full_redraw = false;
}

}  // namespace viamappa
