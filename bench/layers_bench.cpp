// Loading the map data of a whole region: 1,000,000 arcs of 2 to 20 vertices with their nodes, 1,500
// municipalities and 5,000 localities. Prints the time and the peak memory of LoadLayers against the
// budget of twice the coordinate bytes plus 100 bytes a feature, and the time of the box queries of a
// 1:10000 view of 1920 x 1080 pixels.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "app/DatabaseCreation.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "map/DeviceMetrics.h"
#include "map/LayerLoader.h"
#include "map/Viewport.h"
#include "support/NetworkBuilder.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa {
namespace {

using bench::CurrentMemory;
using bench::PeakMemory;
using bench::ResetPeakMemory;
using bench::Seconds;
using testing::NetworkBuilder;

constexpr double kSpacing = 100.0;  // metres between grid nodes
constexpr double kOriginX = 600000.0;
constexpr double kOriginY = 5000000.0;

// A grid of nodes with an arc to the east and one to the north of each, bent through 0 to 18 inner
// vertices; municipalities tile the region, localities sit inside them.
bool Generate(const std::string& path, int arcs) {
  ConsoleUserInterface ui;
  if (CreateDatabaseFile(path, ui) != CreationResult::Created) return false;
  DbConnection connection(path, ui);
  NetworkBuilder build(connection);
  const int side = static_cast<int>(std::ceil(std::sqrt(arcs / 2.0))) + 1;
  std::mt19937 random(2026);
  std::uniform_real_distribution<double> jitter(-8, 8);
  const auto node_id = [&](int i, int j) { return j * side + i + 1; };
  const auto node_at = [&](int i, int j) { return Point{kOriginX + i * kSpacing, kOriginY + j * kSpacing}; };
  for (int j = 0; j < side; ++j)
    for (int i = 0; i < side; ++i)
      if (!build.AddNode(node_id(i, j), node_at(i, j).x, node_at(i, j).y)) return false;
  int made = 0;
  for (int j = 0; j < side && made < arcs; ++j) {
    for (int i = 0; i < side && made < arcs; ++i) {
      for (int direction = 0; direction < 2 && made < arcs; ++direction) {
        const int ti = i + (direction == 0), tj = j + (direction == 1);
        if (ti >= side || tj >= side) continue;
        const Point a = node_at(i, j), b = node_at(ti, tj);
        std::vector<Point> points{a};
        const int inner = static_cast<int>(random() % 19);
        for (int k = 1; k <= inner; ++k) {
          const double t = static_cast<double>(k) / (inner + 1);
          points.push_back({std::round((a.x + t * (b.x - a.x) + jitter(random)) * 100) / 100,
                            std::round((a.y + t * (b.y - a.y) + jitter(random)) * 100) / 100});
        }
        points.push_back(b);
        ++made;
        if (!build.AddArc(
                testing::Arc(made, node_id(i, j), node_id(ti, tj), std::move(points), "VIA ROMA", "SC")))
          return false;
      }
    }
  }
  const double width = (side - 1) * kSpacing;
  const int cells = 39;  // 39 x 39 > 1,500 municipalities: the first 1,500 cells
  const double cell = width / cells;
  int municipality = 0;
  int locality = 0;
  for (int j = 0; j < cells && municipality < 1500; ++j) {
    for (int i = 0; i < cells && municipality < 1500; ++i) {
      ++municipality;
      const double x = kOriginX + i * cell, y = kOriginY + j * cell;
      char istat[8];
      std::snprintf(istat, sizeof istat, "%06d", municipality);
      if (!build.AddMunicipality(municipality, "Comune", istat, {NetworkBuilder::Square(x, y, cell, true)}))
        return false;
      for (int k = 0; k < 4 && locality < 5000; ++k) {
        ++locality;
        const std::int32_t inhabitants = static_cast<std::int32_t>(random() % 20000);
        if (!build.AddLocality(
                locality, "Frazione", istat, inhabitants,
                {NetworkBuilder::Square(x + cell * (0.1 + 0.2 * k), y + cell * 0.4, cell * 0.15, true)}))
          return false;
      }
    }
  }
  return build.AddToponym(1, "Monte", Box::Of(kOriginX, kOriginY, kOriginX + 10, kOriginY + 10));
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  int arcs = 1000000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  std::filesystem::create_directories(data_dir);
  const std::string path = data_dir + "/layers-" + std::to_string(arcs) + ".mdb";
  if (!std::filesystem::exists(path)) {
    std::fprintf(stderr, "layers benchmark: generating %d arcs into %s (once)\n", arcs, path.c_str());
    const auto start = std::chrono::steady_clock::now();
    if (!Generate(path + ".tmp", arcs)) return 1;
    std::filesystem::rename(path + ".tmp", path);
    std::fprintf(stderr, "layers benchmark: generated in %.1f s\n", Seconds(start));
  }

  ConsoleUserInterface ui;
  DbConnection connection(path, ui);
  if (!connection.IsOpen()) return 1;
  MapStyling styling;
  const long long before = CurrentMemory();
  ResetPeakMemory();
  const auto start = std::chrono::steady_clock::now();
  auto layers = std::make_unique<LayerSet>();
  LoadLayers(*layers, connection, styling);
  const double load_seconds = Seconds(start);
  const long long peak = PeakMemory() - before;

  long long coordinate_bytes = 0;
  long long features = 0;
  for (const auto& layer : layers->layers()) {
    layer->ForEachArea([&](const AreaFeature& f) {
      ++features;
      for (const AreaPart& part : f.parts) {
        coordinate_bytes += part.outer.count() * 16LL;
        for (const PointArray& hole : part.exclusions) coordinate_bytes += hole.count() * 16LL;
      }
    });
    layer->ForEachLine([&](const LineFeature& f) {
      ++features;
      for (const PointArray& line : f.polylines) coordinate_bytes += line.count() * 16LL;
    });
    layer->ForEachPoint([&](const PointFeature&) {
      ++features;
      coordinate_bytes += 16;
    });
  }
  const long long budget = 2 * coordinate_bytes + 100 * features;

  // A 1:10000 view of 1920 x 1080 pixels at random places of the region.
  Viewport view(DeviceMetrics(2540.0 / 96.0), {1.0, 0, 0});
  view.SetClientSize(1920, 1080);
  std::mt19937 random(1);
  const Box extent = layers->extent;
  std::uniform_real_distribution<double> px(extent.minx, extent.maxx - 5000),
      py(extent.miny, extent.maxy - 3000);
  const MapLayer* archi = layers->FindLayer("archi");
  const MapLayer* nodi = layers->FindLayer("nodi");
  const MapLayer* comuni = layers->FindLayer("comuni");
  const MapLayer* local = layers->FindLayer("local");
  double total = 0, worst = 0;
  std::size_t found = 0;
  const int queries = 1000;
  for (int q = 0; q < queries; ++q) {
    view.CentreOn(px(random) + 2500, py(random) + 1500);
    view.UpdateExtent();
    const Box box = view.Visible();
    const auto query_start = std::chrono::steady_clock::now();
    found += archi->LinesMeeting(box).size() + nodi->PointsMeeting(box).size() +
             comuni->AreasMeeting(box).size() + local->AreasMeeting(box).size();
    const double seconds = Seconds(query_start);
    total += seconds;
    worst = std::max(worst, seconds);
  }

  std::printf("layers benchmark: %lld features (%zu arcs), %.1f MB of coordinates\n", features,
              archi->line_count(), coordinate_bytes / 1e6);
  std::printf("  %-34s %10.2f s   goal < 3 s\n", "LoadLayers", load_seconds);
  std::printf("  %-34s %10.1f MB  goal < %.1f MB (2 x coordinates + 100 B a feature)\n",
              "peak memory of LoadLayers", peak / 1e6, budget / 1e6);
  std::printf("  %-34s %10.3f ms  goal < 1 ms (worst %.3f ms, %zu features a view)\n",
              "box query, 1:10000 view", total / queries * 1e3, worst * 1e3, found / queries);
  bench::PrintFigure({"layers.load", load_seconds, "s", std::nullopt, "<3s"});
  std::string memory_goal = "<";
  memory_goal += FormatFixed(budget / 1e6, 1) + "MB";
  bench::PrintFigure({"layers.memory", peak / 1e6, "MB", std::nullopt, memory_goal, 1});
  bench::PrintFigure({"layers.query", total / queries * 1e3, "ms", std::nullopt, "<1ms", 3});
  bench::PrintFigure({"layers.query_worst", worst * 1e3, "ms", std::nullopt, "", 3});
  return 0;
}
