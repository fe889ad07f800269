#include "map/BackgroundEntities.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace viamappa {
namespace {

std::string Be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}
std::string Le(std::int64_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i));
  return out;
}

// A packed line: the count, the box, the first point, the step size byte and the steps.
std::string PackedLine(std::uint32_t count, std::vector<std::int32_t> box, std::int32_t x, std::int32_t y,
                       char size, const std::vector<std::pair<int, int>>& steps) {
  const int width = size == 'S' ? 2 : 4;
  std::string bytes = Be32(count);
  for (std::int32_t v : box) bytes += Le(v, 4);
  bytes += Le(x, 4) + Le(y, 4) + size;
  for (const auto& [dx, dy] : steps) bytes += Le(dx, width) + Le(dy, width);
  return bytes;
}

std::vector<Point> ReadLine(const std::string& bytes, bool packed, const Point& origin, bool& ok,
                            Box* box = nullptr) {
  auto source = MemorySource(bytes);
  BackgroundReader in(*source, 0, bytes.size());
  EntityReader entities(in, packed, origin);
  std::uint32_t count = 0;
  Box read;
  std::vector<Point> points;
  ok = entities.LineStart(count, read) && entities.Points(count, points);
  if (box) *box = read;
  return points;
}

TEST(BackgroundEntitiesTest, PackedStepsAddUpFromTheFirstPoint) {
  const Point origin{600000, 5100000};
  const std::vector<std::pair<int, int>> steps = {{500, 0}, {500, 0}, {0, 250}};
  for (const char size : {'S', 'L'}) {
    bool ok = false;
    Box box;
    const std::vector<Point> points =
        ReadLine(PackedLine(3, {1000, 2000, 2000, 2250}, 1000, 2000, size, steps), true, origin, ok, &box);
    ASSERT_TRUE(ok);
    // The first step already moves point 0.
    EXPECT_EQ(points, (std::vector<Point>{{origin.x + 1.5, origin.y + 2.0},
                                          {origin.x + 2.0, origin.y + 2.0},
                                          {origin.x + 2.0, origin.y + 2.25}}));
    EXPECT_EQ(box, Box::Of(origin.x + 1, origin.y + 2, origin.x + 2, origin.y + 2.25));
  }
  // Negative steps and coordinates below the origin.
  bool ok = false;
  const auto points =
      ReadLine(PackedLine(2, {-5, -5, 0, 0}, 0, 0, 'S', {{-32768, 1}, {32767, -2}}), true, origin, ok);
  ASSERT_TRUE(ok);
  EXPECT_DOUBLE_EQ(points[0].x, origin.x - 32.768);
  EXPECT_DOUBLE_EQ(points[1].y, origin.y - 0.001);
}

TEST(BackgroundEntitiesTest, CountsBeyondTheBlockAndPointsThatAreNoNumbersAreDamage) {
  std::string doubles = Be32(1);
  for (double v : {0.0, 0.0, 1.0, 1.0, 0.5, std::nan("")}) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    doubles += Le(static_cast<std::int64_t>(bits), 8);
  }
  const struct {
    const char* what;
    std::string bytes;
    bool packed;
  } kCases[] = {
      {"a billion packed points in a few bytes", PackedLine(1000000000, {0, 0, 1, 1}, 0, 0, 'S', {{1, 1}}),
       true},
      {"one step missing", PackedLine(3, {0, 0, 1, 1}, 0, 0, 'L', {{1, 1}, {1, 1}}), true},
      {"a point that is no number", doubles, false},
      {"a count of 2^32 - 1 doubles", Be32(0xFFFFFFFF) + std::string(48, '\0'), false},
  };
  for (const auto& c : kCases) {
    bool ok = true;
    ReadLine(c.bytes, c.packed, {0, 0}, ok);
    EXPECT_FALSE(ok) << c.what;
  }
}

}  // namespace
}  // namespace viamappa
