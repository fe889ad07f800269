#include "ui/PixelCanvas.h"

#include <algorithm>
#include <cmath>

#include "ui/RasterImage.h"

namespace viamappa {

namespace {

// Hatch lines repeat every eight pixels, counted from the surface's corner.
constexpr int kHatchStep = 8;

// Cuts the segment to the rectangle (Liang-Barsky); false when nothing of it is inside.
bool ClipSegment(Point& a, Point& b, double left, double top, double right, double bottom) {
  if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return false;
  double t0 = 0, t1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  b = {a.x + t1 * dx, a.y + t1 * dy};
  a = {a.x + t0 * dx, a.y + t0 * dy};
  return true;
}

// A coordinate as a whole pixel index, kept within [-1, limit + 1] so that any double (far away,
// infinite, not a number) converts safely.
int PixelIndex(double value, int limit) {
  if (!(value > -1.0)) return -1;
  if (!(value < limit + 1.0)) return limit + 1;
  return static_cast<int>(value);
}

int Modulo(int value, int step) {
  const int m = value % step;
  return m < 0 ? m + step : m;
}

}  // namespace

PixelCanvas::PixelCanvas(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kWhite) {}

void PixelCanvas::Clear(Colour colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour & 0xFFFFFF);
}

void PixelCanvas::Plot(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[Index(x, y)] = colour & 0xFFFFFF;
}

void PixelCanvas::SetPixel(int x, int y, Colour colour) {
  Plot(x, y, colour);
}

// Bresenham's line between the pixels holding the two points; a wide pen stamps a square on each.
void PixelCanvas::DrawLine(Point a, Point b) {
  const int side = std::max(1, static_cast<int>(std::lround(pen_.width)));
  if (!ClipSegment(a, b, -side, -side, width_ + side, height_ + side)) return;
  int x0 = static_cast<int>(std::floor(a.x)), y0 = static_cast<int>(std::floor(a.y));
  const int x1 = static_cast<int>(std::floor(b.x)), y1 = static_cast<int>(std::floor(b.y));
  const int reach = (side - 1) / 2;
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    for (int v = y0 - reach; v < y0 - reach + side; ++v)
      for (int u = x0 - reach; u < x0 - reach + side; ++u) Plot(u, v, pen_.colour);
    if (x0 == x1 && y0 == y1) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void PixelCanvas::DrawPolyline(const Point* points, std::size_t count) {
  for (std::size_t i = 1; i < count; ++i) DrawLine(points[i - 1], points[i]);
}

bool PixelCanvas::BrushCovers(int x, int y) const {
  const int u = Modulo(x, kHatchStep), v = Modulo(y, kHatchStep);
  switch (brush_.style) {
    case FillStyle::None:
      return false;
    case FillStyle::Solid:
      return true;
    case FillStyle::Pattern:
      return (brush_.pattern[static_cast<std::size_t>(v)] & (0x80 >> u)) != 0;
    case FillStyle::BackwardDiagonal:
      return u == v;
    case FillStyle::ForwardDiagonal:
      return u + v == kHatchStep - 1;
    case FillStyle::Cross:
      return u == 0 || v == 0;
    case FillStyle::DiagonalCross:
      return u == v || u + v == kHatchStep - 1;
    case FillStyle::Horizontal:
      return v == 0;
    case FillStyle::Vertical:
      return u == 0;
  }
  return false;
}

// Even-odd rule on pixel centres, row by row.
void PixelCanvas::FillPolygon(const std::vector<std::vector<Point>>& rings) {
  if (brush_.style == FillStyle::None) return;
  double top = 1e300, bottom = -1e300;
  for (const auto& ring : rings)
    for (const Point& p : ring) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
  const int first = std::max(0, PixelIndex(std::floor(top), height_));
  const int last = std::min(height_ - 1, PixelIndex(std::ceil(bottom), height_));
  std::vector<double> crossings;
  for (int y = first; y <= last; ++y) {
    const double centre = y + 0.5;
    crossings.clear();
    for (const auto& ring : rings) {
      for (std::size_t i = 0, n = ring.size(); i < n && n >= 3; ++i) {
        const Point& a = ring[i];
        const Point& b = ring[(i + 1) % n];
        if ((a.y <= centre) != (b.y <= centre))
          crossings.push_back(a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int from = std::max(0, PixelIndex(std::ceil(crossings[i] - 0.5), width_));
      const int to = std::min(width_ - 1, PixelIndex(std::ceil(crossings[i + 1] - 0.5), width_) - 1);
      for (int x = from; x <= to; ++x)
        if (BrushCovers(x, y)) Plot(x, y, brush_.colour);
    }
  }
}

void PixelCanvas::FillRectangle(double x, double y, double width, double height, Colour colour) {
  const int left = std::max(0, PixelIndex(std::ceil(x - 0.5), width_));
  const int right = std::min(width_, PixelIndex(std::ceil(x + width - 0.5), width_));
  const int upper = std::max(0, PixelIndex(std::ceil(y - 0.5), height_));
  const int lower = std::min(height_, PixelIndex(std::ceil(y + height - 0.5), height_));
  for (int v = upper; v < lower; ++v)
    for (int u = left; u < right; ++u) Plot(u, v, colour);
}

void PixelCanvas::DrawRectangle(double x, double y, double width, double height) {
  const Point corners[5] = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}, {x, y}};
  DrawPolyline(corners, 5);
}

double PixelCanvas::TextWidth(std::string_view text) {
  return 0.6 * font_.height * static_cast<double>(text.size());
}

void PixelCanvas::DrawImage(int x, int y, const CanvasImage& image) {
  for (int v = 0; v < image.height(); ++v) {
    for (int u = 0; u < image.width(); ++u) {
      const ImagePixel p = image.At(u, v);
      const unsigned alpha = p >> 24;
      if (alpha == 0) continue;
      const int px = x + u, py = y + v;
      if (px < 0 || py < 0 || px >= width_ || py >= height_) continue;
      Colour& under = pixels_[Index(px, py)];
      Colour mixed = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const unsigned over = (p >> shift) & 0xFF, old = (under >> shift) & 0xFF;
        mixed |= ((over * alpha + old * (255 - alpha) + 127) / 255) << shift;
      }
      under = mixed;
    }
  }
}

void PixelCanvas::DrawImage(const RasterImage& image, const ImageRect& source, double x, double y,
                            double width, double height) {
  if (source.width <= 0 || source.height <= 0 || source.x < 0 || source.y < 0 ||
      source.x + source.width > image.width || source.y + source.height > image.height)
    return;
  const int left = static_cast<int>(std::lround(x)), top = static_cast<int>(std::lround(y));
  const int right = static_cast<int>(std::lround(x + width)),
            bottom = static_cast<int>(std::lround(y + height));
  if (right <= left || bottom <= top) return;
  for (int py = std::max(top, 0); py < std::min(bottom, height_); ++py) {
    const int v =
        source.y + static_cast<int>((static_cast<long long>(py - top) * source.height) / (bottom - top));
    for (int px = std::max(left, 0); px < std::min(right, width_); ++px) {
      const int u =
          source.x + static_cast<int>((static_cast<long long>(px - left) * source.width) / (right - left));
      pixels_[Index(px, py)] = image.PixelAt(u, v);
    }
  }
}

}  // namespace viamappa
