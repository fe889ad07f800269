#include "map/SymbolShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace viamappa {

namespace {

struct P {
  double x, y;
};

// A bitmap being drawn: pixel (x, y) covers [x, x + 1) x [y, y + 1) and counts as inside a figure
// when its centre is. ink false erases instead of drawing.
class Grid {
 public:
  Grid(int width, int height) : w(width), h(height), bits_(static_cast<std::size_t>(width * height)) {}

  const int w, h;
  bool ink = true;

  double cx() const { return w / 2.0; }
  double cy() const { return h / 2.0; }
  // The stroke width of outlines: thicker on larger marks.
  double t() const { return std::max(1.0, std::round(std::min(w, h) / 8.0)); }

  template <typename Inside>
  void Where(Inside inside) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (inside(x + 0.5, y + 0.5)) bits_[static_cast<std::size_t>(y * w + x)] = ink;
  }

  SymbolShape Shape(int hot_x, int hot_y) const {
    SymbolShape shape{w, h, hot_x, hot_y, std::vector<std::uint32_t>(static_cast<std::size_t>(h), 0)};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (bits_[static_cast<std::size_t>(y * w + x)])
          shape.rows[static_cast<std::size_t>(y)] |= 1U << (31 - x);
    return shape;
  }

 private:
  std::vector<bool> bits_;
};

constexpr double kEpsilon = 1e-9;

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return false;
  const double u = (x - cx) / rx, v = (y - cy) / ry;
  return u * u + v * v <= 1 + kEpsilon;
}

void Ellipse(Grid& g, double cx, double cy, double rx, double ry) {
  g.Where([&](double x, double y) { return InEllipse(x, y, cx, cy, rx, ry); });
}

void EllipseRing(Grid& g, double cx, double cy, double rx, double ry, double t) {
  g.Where([&](double x, double y) {
    return InEllipse(x, y, cx, cy, rx, ry) && !InEllipse(x, y, cx, cy, rx - t, ry - t);
  });
}

void Rect(Grid& g, double x0, double y0, double x1, double y1) {
  g.Where([&](double x, double y) {
    return x >= x0 - kEpsilon && x <= x1 + kEpsilon && y >= y0 - kEpsilon && y <= y1 + kEpsilon;
  });
}

void Frame(Grid& g, double x0, double y0, double x1, double y1, double t) {
  g.Where([&](double x, double y) {
    const bool outer = x >= x0 && x <= x1 && y >= y0 && y <= y1;
    const bool inner = x > x0 + t && x < x1 - t && y > y0 + t && y < y1 - t;
    return outer && !inner;
  });
}

// A convex polygon, its edges included.
bool InConvex(double x, double y, const std::vector<P>& pts) {
  bool positive = false, negative = false;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const P& a = pts[i];
    const P& b = pts[(i + 1) % pts.size()];
    const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    if (cross > kEpsilon) positive = true;
    if (cross < -kEpsilon) negative = true;
  }
  return !(positive && negative);
}

void Convex(Grid& g, const std::vector<P>& pts) {
  g.Where([&](double x, double y) { return InConvex(x, y, pts); });
}

// A convex polygon with its inside taken out, leaving a rim about t wide.
void HollowConvex(Grid& g, const std::vector<P>& pts, double t) {
  Convex(g, pts);
  P centre{0, 0};
  for (const P& p : pts) centre = {centre.x + p.x / pts.size(), centre.y + p.y / pts.size()};
  double nearest = 1e300;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const P& a = pts[i];
    const P& b = pts[(i + 1) % pts.size()];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    nearest =
        std::min(nearest, std::abs((b.x - a.x) * (centre.y - a.y) - (b.y - a.y) * (centre.x - a.x)) / length);
  }
  const double scale = std::max(0.0, 1 - (t + 0.5) / nearest);
  std::vector<P> inner;
  for (const P& p : pts)
    inner.push_back({centre.x + (p.x - centre.x) * scale, centre.y + (p.y - centre.y) * scale});
  g.ink = false;
  Convex(g, inner);
  g.ink = true;
}

double DistanceToSegment(double x, double y, P a, P b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double k = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
  k = std::clamp(k, 0.0, 1.0);
  return std::hypot(x - (a.x + k * dx), y - (a.y + k * dy));
}

void Segment(Grid& g, P a, P b, double t) {
  g.Where([&](double x, double y) { return DistanceToSegment(x, y, a, b) <= t / 2 + kEpsilon; });
}

// Any polygon, by the even-odd rule on pixel centres.
void Polygon(Grid& g, const std::vector<P>& pts) {
  g.Where([&](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      if ((pts[i].y > y) != (pts[j].y > y) &&
          x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
        inside = !inside;
    }
    return inside;
  });
}

// A bar across the whole mark through its centre, about t wide.
void BarAcross(Grid& g, bool vertical, double t) {
  if (vertical) {
    Rect(g, g.cx() - t / 2, 0, g.cx() + t / 2, g.h);
  } else {
    Rect(g, 0, g.cy() - t / 2, g.w, g.cy() + t / 2);
  }
}

void Dot(Grid& g) {
  const double r = std::max(0.5, std::min(g.w, g.h) * 0.12);
  Rect(g, g.cx() - r, g.cy() - r, g.cx() + r, g.cy() + r);
}

// The glyphs. Each draws on the whole grid.
using Glyph = void (*)(Grid&);

void DiscGlyph(Grid& g) {
  Ellipse(g, g.cx(), g.cy(), g.w / 2.0, g.h / 2.0);
}
void RingGlyph(Grid& g) {
  EllipseRing(g, g.cx(), g.cy(), g.w / 2.0, g.h / 2.0, g.t());
}
void TargetGlyph(Grid& g) {
  RingGlyph(g);
  Ellipse(g, g.cx(), g.cy(), g.w * 0.18 + 0.5, g.h * 0.18 + 0.5);
}
void DoubleRingGlyph(Grid& g) {
  RingGlyph(g);
  EllipseRing(g, g.cx(), g.cy(), g.w * 0.28, g.h * 0.28, g.t());
}
void SquareGlyph(Grid& g) {
  Rect(g, 0, 0, g.w, g.h);
}
void FrameGlyph(Grid& g) {
  Frame(g, 0, 0, g.w, g.h, g.t());
}
void FrameDotGlyph(Grid& g) {
  FrameGlyph(g);
  Dot(g);
}
void SquarePlusGlyph(Grid& g) {
  FrameGlyph(g);
  BarAcross(g, true, g.t());
  BarAcross(g, false, g.t());
}
void SquareXGlyph(Grid& g) {
  FrameGlyph(g);
  Segment(g, {0, 0}, {1.0 * g.w, 1.0 * g.h}, g.t());
  Segment(g, {1.0 * g.w, 0}, {0, 1.0 * g.h}, g.t());
}
void NestedSquaresGlyph(Grid& g) {
  FrameGlyph(g);
  Frame(g, g.w * 0.3, g.h * 0.3, g.w * 0.7, g.h * 0.7, g.t());
}
void CheckerGlyph(Grid& g) {
  FrameGlyph(g);
  Rect(g, 0, 0, g.cx(), g.cy());
  Rect(g, g.cx(), g.cy(), g.w, g.h);
}

std::vector<P> DiamondPoints(const Grid& g) {
  return {{g.cx(), 0}, {1.0 * g.w, g.cy()}, {g.cx(), 1.0 * g.h}, {0, g.cy()}};
}
void DiamondGlyph(Grid& g) {
  Convex(g, DiamondPoints(g));
}
void FrameDiamondGlyph(Grid& g) {
  HollowConvex(g, DiamondPoints(g), g.t());
}
void DiamondDotGlyph(Grid& g) {
  FrameDiamondGlyph(g);
  Dot(g);
}

std::vector<P> TriangleUp(const Grid& g) {
  return {{g.cx(), 0}, {1.0 * g.w, 1.0 * g.h}, {0, 1.0 * g.h}};
}
std::vector<P> TriangleDown(const Grid& g) {
  return {{0, 0}, {1.0 * g.w, 0}, {g.cx(), 1.0 * g.h}};
}
void TriangleUpGlyph(Grid& g) {
  Convex(g, TriangleUp(g));
}
void TriangleDownGlyph(Grid& g) {
  Convex(g, TriangleDown(g));
}
void TriangleLeftGlyph(Grid& g) {
  Convex(g, {{0, g.cy()}, {1.0 * g.w, 0}, {1.0 * g.w, 1.0 * g.h}});
}
void TriangleRightGlyph(Grid& g) {
  Convex(g, {{0, 0}, {1.0 * g.w, g.cy()}, {0, 1.0 * g.h}});
}
void FrameTriangleUpGlyph(Grid& g) {
  HollowConvex(g, TriangleUp(g), g.t());
}
void FrameTriangleDownGlyph(Grid& g) {
  HollowConvex(g, TriangleDown(g), g.t());
}
void TriangleDotGlyph(Grid& g) {
  FrameTriangleUpGlyph(g);
  const double r = std::max(0.5, std::min(g.w, g.h) * 0.1);
  Rect(g, g.cx() - r, g.h * 0.62 - r, g.cx() + r, g.h * 0.62 + r);
}

void PlusGlyph(Grid& g) {
  const double bar = std::max(g.t(), std::round(std::min(g.w, g.h) / 5.0));
  BarAcross(g, true, bar);
  BarAcross(g, false, bar);
}
void CrossGlyph(Grid& g) {
  Segment(g, {0, 0}, {1.0 * g.w, 1.0 * g.h}, g.t());
  Segment(g, {1.0 * g.w, 0}, {0, 1.0 * g.h}, g.t());
}
void AsteriskGlyph(Grid& g) {
  CrossGlyph(g);
  BarAcross(g, true, g.t());
  BarAcross(g, false, g.t());
}

std::vector<P> StarPoints(const Grid& g, double inner) {
  std::vector<P> pts;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const double r = i % 2 == 0 ? 1.0 : inner;
    pts.push_back({g.cx() + r * g.w / 2.0 * std::cos(angle), g.h * 0.55 + r * g.h * 0.55 * std::sin(angle)});
  }
  return pts;
}
void StarGlyph(Grid& g) {
  Polygon(g, StarPoints(g, 0.45));
}

std::vector<P> HexagonPoints(const Grid& g) {
  return {{g.w * 0.25, 0},         {g.w * 0.75, 0},         {1.0 * g.w, g.cy()},
          {g.w * 0.75, 1.0 * g.h}, {g.w * 0.25, 1.0 * g.h}, {0, g.cy()}};
}
void HexagonGlyph(Grid& g) {
  Convex(g, HexagonPoints(g));
}
void FrameHexagonGlyph(Grid& g) {
  HollowConvex(g, HexagonPoints(g), g.t());
}
void OctagonGlyph(Grid& g) {
  const double a = 0.3;
  Convex(g, {{g.w * a, 0},
             {g.w * (1 - a), 0},
             {1.0 * g.w, g.h * a},
             {1.0 * g.w, g.h * (1 - a)},
             {g.w * (1 - a), 1.0 * g.h},
             {g.w * a, 1.0 * g.h},
             {0, g.h * (1 - a)},
             {0, g.h * a}});
}

void CirclePlusGlyph(Grid& g) {
  RingGlyph(g);
  BarAcross(g, true, g.t());
  BarAcross(g, false, g.t());
}
void CircleXGlyph(Grid& g) {
  RingGlyph(g);
  const double k = 0.35;
  Segment(g, {g.cx() - g.w * k, g.cy() - g.h * k}, {g.cx() + g.w * k, g.cy() + g.h * k}, g.t());
  Segment(g, {g.cx() + g.w * k, g.cy() - g.h * k}, {g.cx() - g.w * k, g.cy() + g.h * k}, g.t());
}
void WheelGlyph(Grid& g) {
  CircleXGlyph(g);
  BarAcross(g, true, g.t());
  BarAcross(g, false, g.t());
}
void SunGlyph(Grid& g) {
  Ellipse(g, g.cx(), g.cy(), g.w * 0.25, g.h * 0.25);
  for (int i = 0; i < 8; ++i) {
    const double angle = i * std::numbers::pi / 4;
    const double c = std::cos(angle), s = std::sin(angle);
    Segment(g, {g.cx() + c * g.w * 0.36, g.cy() + s * g.h * 0.36},
            {g.cx() + c * g.w * 0.5, g.cy() + s * g.h * 0.5}, g.t());
  }
}
void HalfDiscGlyph(Grid& g) {
  RingGlyph(g);
  g.Where([&](double x, double y) {
    return y >= g.cy() && InEllipse(x, y, g.cx(), g.cy(), g.w / 2.0, g.h / 2.0);
  });
}
void CrescentGlyph(Grid& g) {
  DiscGlyph(g);
  g.ink = false;
  Ellipse(g, g.cx() + g.w * 0.25, g.cy() - g.h * 0.1, g.w * 0.4, g.h * 0.4);
  g.ink = true;
}

void HourglassGlyph(Grid& g) {
  Convex(g, {{0, 0}, {1.0 * g.w, 0}, {g.cx(), g.cy()}});
  Convex(g, {{g.cx(), g.cy()}, {1.0 * g.w, 1.0 * g.h}, {0, 1.0 * g.h}});
}
void BowtieGlyph(Grid& g) {
  Convex(g, {{0, 0}, {g.cx(), g.cy()}, {0, 1.0 * g.h}});
  Convex(g, {{1.0 * g.w, 0}, {1.0 * g.w, 1.0 * g.h}, {g.cx(), g.cy()}});
}
void BarHorizontalGlyph(Grid& g) {
  Rect(g, 0, g.h * 0.33, g.w, g.h * 0.67);
}
void BarVerticalGlyph(Grid& g) {
  Rect(g, g.w * 0.33, 0, g.w * 0.67, g.h);
}

// Arrows: a head over half the length and a shaft a quarter of the width wide.
void ArrowUpGlyph(Grid& g) {
  Convex(g, {{g.cx(), 0}, {1.0 * g.w, g.h * 0.5}, {0, g.h * 0.5}});
  Rect(g, g.cx() - g.w * 0.13, g.h * 0.5, g.cx() + g.w * 0.13, g.h);
}
void ArrowDownGlyph(Grid& g) {
  Convex(g, {{0, g.h * 0.5}, {1.0 * g.w, g.h * 0.5}, {g.cx(), 1.0 * g.h}});
  Rect(g, g.cx() - g.w * 0.13, 0, g.cx() + g.w * 0.13, g.h * 0.5);
}
void ArrowLeftGlyph(Grid& g) {
  Convex(g, {{0, g.cy()}, {g.w * 0.5, 0}, {g.w * 0.5, 1.0 * g.h}});
  Rect(g, g.w * 0.5, g.cy() - g.h * 0.13, g.w, g.cy() + g.h * 0.13);
}
void ArrowRightGlyph(Grid& g) {
  Convex(g, {{g.w * 0.5, 0}, {1.0 * g.w, g.cy()}, {g.w * 0.5, 1.0 * g.h}});
  Rect(g, 0, g.cy() - g.h * 0.13, g.w * 0.5, g.cy() + g.h * 0.13);
}
void DoubleArrowHorizontalGlyph(Grid& g) {
  Convex(g, {{0, g.cy()}, {g.w * 0.3, 0}, {g.w * 0.3, 1.0 * g.h}});
  Convex(g, {{1.0 * g.w, g.cy()}, {g.w * 0.7, 1.0 * g.h}, {g.w * 0.7, 0}});
  Rect(g, g.w * 0.3, g.cy() - g.h * 0.15, g.w * 0.7, g.cy() + g.h * 0.15);
}
void DoubleArrowVerticalGlyph(Grid& g) {
  Convex(g, {{g.cx(), 0}, {1.0 * g.w, g.h * 0.3}, {0, g.h * 0.3}});
  Convex(g, {{g.cx(), 1.0 * g.h}, {0, g.h * 0.7}, {1.0 * g.w, g.h * 0.7}});
  Rect(g, g.cx() - g.w * 0.15, g.h * 0.3, g.cx() + g.w * 0.15, g.h * 0.7);
}
void ChevronUpGlyph(Grid& g) {
  const double t = std::max(2.0, g.t() + 1);
  Segment(g, {0.5, g.h * 0.85}, {g.cx(), g.h * 0.15}, t);
  Segment(g, {g.cx(), g.h * 0.15}, {g.w - 0.5, g.h * 0.85}, t);
}
void ChevronDownGlyph(Grid& g) {
  const double t = std::max(2.0, g.t() + 1);
  Segment(g, {0.5, g.h * 0.15}, {g.cx(), g.h * 0.85}, t);
  Segment(g, {g.cx(), g.h * 0.85}, {g.w - 0.5, g.h * 0.15}, t);
}

// Marks that stand on their point: the hot spot is at their foot.
void FlagGlyph(Grid& g) {
  const double pole = std::max(1.0, g.t());
  Rect(g, 0, 0, pole, g.h);
  Convex(g, {{pole, 0}, {1.0 * g.w, g.h * 0.22}, {pole, g.h * 0.45}});
}
void PinGlyph(Grid& g) {
  const double r = g.w / 2.0;
  Ellipse(g, g.cx(), r, r, r);
  Convex(g, {{g.cx() - r * 0.72, r + r * 0.7}, {g.cx() + r * 0.72, r + r * 0.7}, {g.cx(), 1.0 * g.h}});
  g.ink = false;
  Ellipse(g, g.cx(), r, r * 0.38, r * 0.38);
  g.ink = true;
}
void HouseGlyph(Grid& g) {
  Convex(g, {{g.cx(), 0}, {1.0 * g.w, g.h * 0.5}, {0, g.h * 0.5}});
  Rect(g, g.w * 0.15, g.h * 0.5, g.w * 0.85, g.h);
}
void ChurchGlyph(Grid& g) {
  const double bar = std::max(0.5, g.w * 0.1);
  Rect(g, g.cx() - bar, 0, g.cx() + bar, g.h);
  Rect(g, g.w * 0.15, g.h * 0.28 - bar, g.w * 0.85, g.h * 0.28 + bar);
}
void TreeGlyph(Grid& g) {
  Convex(g, {{g.cx(), 0}, {1.0 * g.w, g.h * 0.75}, {0, g.h * 0.75}});
  const double trunk = std::max(0.5, g.w * 0.1);
  Rect(g, g.cx() - trunk, g.h * 0.75, g.cx() + trunk, g.h);
}

// Corner marks: an angle along two edges, its hot spot on the corner it points at.
void CornerGlyph(Grid& g, bool right, bool bottom) {
  const double t = 2;
  Rect(g, right ? g.w - t : 0, 0, right ? g.w : t, g.h);
  Rect(g, 0, bottom ? g.h - t : 0, g.w, bottom ? g.h : t);
}

enum class Hot { Centre, Foot, FootLeft };

SymbolShape Make(Glyph glyph, int width, int height, Hot hot = Hot::Centre) {
  Grid g(width, height);
  glyph(g);
  switch (hot) {
    case Hot::Foot:
      return g.Shape((width - 1) / 2, height - 1);
    case Hot::FootLeft:
      return g.Shape(0, height - 1);
    case Hot::Centre:
      break;
  }
  return g.Shape((width - 1) / 2, (height - 1) / 2);
}

SymbolShape MakeAt(Glyph glyph, int width, int height, int hot_x, int hot_y) {
  Grid g(width, height);
  glyph(g);
  return g.Shape(hot_x, hot_y);
}

SymbolShape Corner(bool right, bool bottom) {
  Grid g(8, 8);
  CornerGlyph(g, right, bottom);
  return g.Shape(right ? 7 : 0, bottom ? 7 : 0);
}

Hot HotOf(Glyph glyph) {
  if (glyph == FlagGlyph) return Hot::FootLeft;
  if (glyph == PinGlyph || glyph == HouseGlyph || glyph == ChurchGlyph || glyph == TreeGlyph)
    return Hot::Foot;
  return Hot::Centre;
}

std::vector<SymbolShape> BuildShapes() {
  std::vector<SymbolShape> shapes;
  const auto add = [&shapes](Glyph glyph, int w, int h) {
    shapes.push_back(Make(glyph, w, h, HotOf(glyph)));
  };
  // The three discs first: the default node symbol and its larger forms.
  add(DiscGlyph, 5, 5);
  add(DiscGlyph, 7, 7);
  add(DiscGlyph, 15, 15);
  // Marks in the square sizes, by size.
  const struct {
    int size;
    std::vector<Glyph> glyphs;
  } squares[] = {
      {7,
       {RingGlyph, SquareGlyph, FrameGlyph, DiamondGlyph, TriangleUpGlyph, TriangleDownGlyph, PlusGlyph,
        CrossGlyph}},
      {9,
       {DiscGlyph, RingGlyph, TargetGlyph, FrameGlyph, FrameDotGlyph, DiamondGlyph, TriangleUpGlyph,
        AsteriskGlyph}},
      {11, {RingGlyph, TargetGlyph, FrameDiamondGlyph, FrameTriangleUpGlyph, CirclePlusGlyph, StarGlyph}},
      {13, {DiscGlyph, RingGlyph, SquareXGlyph, HexagonGlyph, StarGlyph, WheelGlyph}},
      {15, {TargetGlyph, FrameDiamondGlyph, OctagonGlyph, SunGlyph}},
      {17,
       {DiscGlyph, RingGlyph, TargetGlyph, FrameGlyph, DiamondGlyph, TriangleUpGlyph, StarGlyph,
        CircleXGlyph}},
      {21, {TargetGlyph, StarGlyph, DoubleRingGlyph}},
      {5, {SquareGlyph, PlusGlyph, CrossGlyph}},
  };
  for (const auto& group : squares)
    for (Glyph glyph : group.glyphs) add(glyph, group.size, group.size);
  // Marks of their own sizes.
  shapes.push_back(Corner(false, false));
  shapes.push_back(Corner(true, false));
  shapes.push_back(Corner(false, true));
  shapes.push_back(Corner(true, true));
  shapes.push_back(MakeAt(DoubleArrowVerticalGlyph, 9, 19, 4, 9));
  shapes.push_back(MakeAt(DoubleArrowHorizontalGlyph, 27, 13, 13, 6));
  shapes.push_back(MakeAt(HouseGlyph, 10, 8, 5, 7));
  shapes.push_back(MakeAt(PinGlyph, 14, 12, 6, 11));
  // Pairs, each at a size of its own.
  const struct {
    Glyph first, second;
    int w, h;
  } pairs[] = {
      {TriangleUpGlyph, TriangleDownGlyph, 6, 6},
      {TriangleUpGlyph, TriangleDownGlyph, 19, 19},
      {TriangleLeftGlyph, TriangleRightGlyph, 7, 8},
      {TriangleLeftGlyph, TriangleRightGlyph, 20, 22},
      {ArrowUpGlyph, ArrowDownGlyph, 10, 12},
      {ArrowUpGlyph, ArrowDownGlyph, 20, 24},
      {ArrowLeftGlyph, ArrowRightGlyph, 12, 10},
      {ArrowLeftGlyph, ArrowRightGlyph, 24, 20},
      {ChevronUpGlyph, ChevronDownGlyph, 10, 7},
      {ChevronUpGlyph, ChevronDownGlyph, 22, 14},
      {FrameTriangleUpGlyph, FrameTriangleDownGlyph, 12, 12},
      {FrameTriangleUpGlyph, FrameTriangleDownGlyph, 23, 23},
      {DiscGlyph, RingGlyph, 12, 8},
      {DiscGlyph, RingGlyph, 24, 16},
      {SquareGlyph, FrameGlyph, 4, 4},
      {SquareGlyph, FrameGlyph, 10, 10},
      {DiamondGlyph, FrameDiamondGlyph, 12, 16},
      {DiamondGlyph, FrameDiamondGlyph, 18, 18},
      {HexagonGlyph, FrameHexagonGlyph, 14, 14},
      {HexagonGlyph, FrameHexagonGlyph, 26, 26},
      {CirclePlusGlyph, CircleXGlyph, 16, 16},
      {CirclePlusGlyph, CircleXGlyph, 29, 29},
      {SquarePlusGlyph, SquareXGlyph, 12, 11},
      {SquarePlusGlyph, SquareXGlyph, 25, 25},
      {HourglassGlyph, BowtieGlyph, 10, 9},
      {HourglassGlyph, BowtieGlyph, 22, 22},
      {BarHorizontalGlyph, BarVerticalGlyph, 3, 3},
      {BarHorizontalGlyph, BarVerticalGlyph, 20, 20},
      {FlagGlyph, PinGlyph, 10, 14},
      {FlagGlyph, PinGlyph, 18, 26},
      {HouseGlyph, ChurchGlyph, 12, 14},
      {HouseGlyph, ChurchGlyph, 22, 26},
      {TreeGlyph, SunGlyph, 14, 16},
      {TreeGlyph, SunGlyph, 24, 24},
      {TargetGlyph, DoubleRingGlyph, 27, 27},
      {TargetGlyph, DoubleRingGlyph, 31, 31},
      {StarGlyph, AsteriskGlyph, 28, 28},
      {StarGlyph, AsteriskGlyph, 10, 11},
      {HalfDiscGlyph, CrescentGlyph, 16, 12},
      {HalfDiscGlyph, CrescentGlyph, 30, 30},
      {CheckerGlyph, NestedSquaresGlyph, 14, 10},
      {CheckerGlyph, NestedSquaresGlyph, 32, 32},
      {FrameDotGlyph, DiamondDotGlyph, 11, 10},
      {FrameDotGlyph, DiamondDotGlyph, 20, 16},
      {WheelGlyph, OctagonGlyph, 18, 20},
      {WheelGlyph, OctagonGlyph, 30, 24},
      {TriangleDotGlyph, PlusGlyph, 16, 14},
      {TriangleDotGlyph, PlusGlyph, 26, 22},
      {CrossGlyph, AsteriskGlyph, 6, 8},
      {CrossGlyph, SquareGlyph, 3, 5},
      {TargetGlyph, RingGlyph, 16, 20},
      {DiamondDotGlyph, StarGlyph, 32, 24},
      {DoubleArrowHorizontalGlyph, DoubleArrowVerticalGlyph, 17, 21},
      {DoubleArrowHorizontalGlyph, DoubleArrowVerticalGlyph, 32, 28},
  };
  for (const auto& pair : pairs) {
    add(pair.first, pair.w, pair.h);
    add(pair.second, pair.w, pair.h);
  }
  return shapes;
}

}  // namespace

const std::vector<SymbolShape>& SymbolShapes() {
  static const std::vector<SymbolShape> shapes = BuildShapes();
  return shapes;
}

}  // namespace viamappa
