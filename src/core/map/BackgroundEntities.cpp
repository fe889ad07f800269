#include "map/BackgroundEntities.h"

#include <cmath>

#include "base/Windows1252.h"

namespace viamappa {

namespace {

constexpr double kPackedUnit = 0.001;  // metres of one packed step
constexpr std::uint8_t kShortSteps = 'S';

}  // namespace

bool EntityReader::CountFits(std::uint32_t count, std::uint64_t bytes_each) const {
  return static_cast<std::uint64_t>(count) * bytes_each <= in_.remaining();
}

bool EntityReader::Coordinate(bool is_x, double& value) {
  if (packed_) {
    std::int32_t v = 0;
    if (!in_.Packed32(v)) return false;
    value = (is_x ? origin_.x : origin_.y) + v * kPackedUnit;
  } else if (!in_.Double(value)) {
    return false;
  }
  // A coordinate that is no number would upset every test and every drawing after it.
  return std::isfinite(value);
}

bool EntityReader::LineStart(std::uint32_t& count, Box& box) {
  return in_.Be32(count) && Coordinate(true, box.minx) && Coordinate(false, box.miny) &&
         Coordinate(true, box.maxx) && Coordinate(false, box.maxy);
}

bool EntityReader::AreaStart(std::uint32_t& rings, std::uint32_t& count, Box& box) {
  return in_.Be16(rings) && LineStart(count, box);
}

bool EntityReader::Points(std::uint32_t count, std::vector<Point>& points) {
  points.clear();
  if (!packed_) {
    if (!CountFits(count, 16)) return false;
    points.resize(count);
    for (Point& p : points)
      if (!Position(p)) return false;
    return true;
  }
  std::int32_t x = 0, y = 0;
  std::uint8_t step_size = 0;
  if (!(in_.Packed32(x) && in_.Packed32(y) && in_.Byte(step_size))) return false;
  const bool short_steps = step_size == kShortSteps;
  if (!CountFits(count, short_steps ? 4 : 8)) return false;
  points.resize(count);
  // Steps add up in whole millimetres: no rounding gathers along a long line.
  std::int64_t px = x, py = y;
  for (Point& p : points) {
    std::int32_t dx = 0, dy = 0;
    const bool read =
        short_steps ? in_.Packed16(dx) && in_.Packed16(dy) : in_.Packed32(dx) && in_.Packed32(dy);
    if (!read) return false;
    px += dx;
    py += dy;
    p = {origin_.x + static_cast<double>(px) * kPackedUnit,
         origin_.y + static_cast<double>(py) * kPackedUnit};
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  }
  return true;
}

bool EntityReader::SkipPoints(std::uint32_t count) {
  if (!packed_) return in_.Skip(static_cast<std::uint64_t>(count) * 16);
  std::uint8_t step_size = 0;
  return in_.Skip(8) && in_.Byte(step_size) &&
         in_.Skip(static_cast<std::uint64_t>(count) * (step_size == kShortSteps ? 4 : 8));
}

bool EntityReader::PointEntity(Point& at) {
  return Position(at);
}

bool EntityReader::Text(BackgroundText& text) {
  std::uint8_t flag = 0;
  std::string bytes;
  if (!(Position(text.at) && in_.Double(text.height) && in_.Byte(flag) && in_.Double(text.escapement) &&
        in_.Double(text.orientation) && in_.String(bytes)))
    return false;
  text.fixed = flag != '0';
  text.text = Windows1252ToUtf8(bytes);
  return std::isfinite(text.height) && std::isfinite(text.escapement) && std::isfinite(text.orientation);
}

}  // namespace viamappa
