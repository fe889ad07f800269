// The entities of a background cartography block: lines, areas, points and texts, with coordinates
// as doubles or, in files with packed coordinates, as 4-byte integers of millimetres from the file's
// origin with each point a 2-byte or 4-byte step from the one before. An entity's box comes first, so
// that one outside the view is skipped without converting its points.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Box.h"
#include "map/BackgroundReader.h"

namespace viamappa {

struct BackgroundText {
  Point at;
  double height = 0;       // metres, or screen units when fixed
  bool fixed = false;      // the flag is not '0'
  double escapement = 0;   // degrees
  double orientation = 0;  // degrees
  std::string text;        // UTF-8
};

class EntityReader {
 public:
  // packed: the file's 'C' flag, origin its (X0, Y0).
  EntityReader(BackgroundReader& in, bool packed, const Point& origin)
      : in_(in), packed_(packed), origin_(origin) {}

  // A line's point count and box; its points follow.
  bool LineStart(std::uint32_t& count, Box& box);
  // An area's exclusion-ring count, outer point count and box; its points follow, then its rings, each
  // beginning as a line does.
  bool AreaStart(std::uint32_t& rings, std::uint32_t& count, Box& box);
  // The points that follow a start, or past them.
  bool Points(std::uint32_t count, std::vector<Point>& points);
  bool SkipPoints(std::uint32_t count);

  bool PointEntity(Point& at);
  bool Text(BackgroundText& text);

 private:
  bool Coordinate(bool is_x, double& value);
  bool Position(Point& at) { return Coordinate(true, at.x) && Coordinate(false, at.y); }
  // The bytes each point takes at least, to hold counts against the bytes there.
  bool CountFits(std::uint32_t count, std::uint64_t bytes_each) const;

  BackgroundReader& in_;
  bool packed_;
  Point origin_;
};

}  // namespace viamappa
