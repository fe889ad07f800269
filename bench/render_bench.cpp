// Drawing the map of a whole region: the 1,000,000-arc generated region, imported once, with the
// factory styling, drawn into a 1920 x 1080 image at the home view, at 1:100000 and 1:10000 over the
// middle of the region (the network is equally dense everywhere) and as a fast redraw of the
// 1:100000 view. The peer is gdal_rasterize burning the same road graph into an image of the same
// size over the same view.
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "gui/QtCanvas.h"
#include "map/LayerLoader.h"
#include "map/MapRenderer.h"
#include "map/Viewport.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using bench::Milliseconds;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Case {
  const char* name;
  const char* figure;  // the name of its figure line
  double goal_ms;
  bool fast;
  Viewport view;
};

// Draws a view as the map window does (background, then the vector passes) and gives the best of a
// few runs in milliseconds.
double Render(const LayerSet& layers, StreetNameSource& names, const Viewport& viewport, bool fast,
              QImage& image, int runs) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    QtCanvas canvas(image);
    const RenderView view = RenderView::Of(viewport, fast);
    DrawBackground(canvas, kWhite, view);
    DrawVectorLayers(canvas, layers, view, &names);
    best = std::min(best, Milliseconds(start));
  }
  return best;
}

// gdal_rasterize burning the arcs over the same world rectangle into an image of the same size.
double Rasterize(const std::string& region, const Viewport& view, const std::string& out) {
  char extent[256];
  std::snprintf(extent, sizeof extent, "-te %.4f %.4f %.4f %.4f", view.x0(), view.y0(), view.x1(), view.y1());
  const std::string command = "gdal_rasterize -q -burn 255 -ot Byte -of GTiff " + std::string(extent) +
                              " -ts " + std::to_string(kWidth) + " " + std::to_string(kHeight) + " " +
                              region + "/GEO_GRAFO.shp " + out + " >/dev/null 2>&1";
  std::filesystem::remove(out);
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const double ms = Milliseconds(start);
  return status == 0 ? ms : -1;
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  std::string save_dir;
  std::string only;  // the letters of the views to draw, all when empty
  int runs = 5;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
    if (std::strcmp(argv[i], "--save") == 0) save_dir = argv[i + 1];
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);

  std::filesystem::create_directories(data_dir);
  const std::string region = bench::GeneratedRegion(data_dir, arcs, "render");
  const std::string database = data_dir + "/render-" + std::to_string(arcs) + ".mdb";
  if (region.empty() ||
      !bench::ImportedDatabase(region, database, {.street_directory = true, .areas = true, .toponyms = true},
                               "render"))
    return 1;

  ScriptedUserInterface ui;
  DbConnection connection(database, ui);
  if (!connection.IsOpen()) return 1;
  LayerSet layers;
  LoadLayers(layers, connection, MapStyling());
  ArcTableNames names(connection);

  // A 96 dpi screen, as most desktops report.
  const DeviceMetrics metrics(2540.0 / 96.0);
  Viewport home(metrics);
  home.SetClientSize(kWidth, kHeight);
  home.Home(layers.extent);
  home.UpdateExtent();
  const double cx = (layers.extent.minx + layers.extent.maxx) / 2;
  const double cy = (layers.extent.miny + layers.extent.maxy) / 2;
  const auto at_scale = [&](double resolution) {
    Viewport view(metrics, SavedMapView{resolution, 0, 0});
    view.SetClientSize(kWidth, kHeight);
    view.CentreOn(cx, cy);
    view.UpdateExtent();
    return view;
  };
  std::vector<Case> cases = {
      {"(a) home view", "render.home", 200, false, home},
      {"(b) 1:100000", "render.scale100000", 500, false, at_scale(10.0)},
      {"(c) 1:10000", "render.scale10000", 20, false, at_scale(1.0)},
      {"(d) fast redraw of (b)", "render.fast_redraw", 150, true, at_scale(10.0)},
  };
  std::erase_if(cases,
                [&](const Case& c) { return !only.empty() && only.find(c.name[1]) == std::string::npos; });

  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  const std::string peer_out = data_dir + "/render-peer.tif";
  std::printf("render benchmark: %lld arcs, %d x %d pixels, best of %d runs\n", arcs, kWidth, kHeight, runs);
  std::printf("  %-24s %8s %10s %8s %16s\n", "view", "scale", "ours", "goal", "gdal_rasterize");
  std::vector<bench::Figure> figures;
  for (const Case& c : cases) {
    const double ours = Render(layers, names, c.view, c.fast, image, runs);
    const double theirs = c.fast ? -1 : Rasterize(region, c.view, peer_out);
    std::printf("  %-24s %8d %7.1f ms %5.0f ms", c.name, c.view.denominator(), ours, c.goal_ms);
    if (theirs >= 0) {
      std::printf(" %13.1f ms\n", theirs);
    } else {
      std::printf(" %16s\n", c.fast ? "-" : "failed");
    }
    figures.push_back({c.figure, ours, "ms", theirs >= 0 ? std::optional<double>(theirs) : std::nullopt,
                       "<" + FormatFixed(c.goal_ms, 0) + "ms", 1});
    if (!save_dir.empty()) {
      std::filesystem::create_directories(save_dir);
      image.save(QString::fromStdString(save_dir + "/" + std::string(c.name).substr(1, 1) + ".png"));
    }
  }
  std::filesystem::remove(peer_out);

  // Where the time of each view goes: every layer drawn alone (street names need their layer).
  std::printf("  by layer (ms):");
  for (MapLayer* layer : layers.drawing_order()) std::printf(" %s", layer->name().c_str());
  std::printf("\n");
  for (const Case& c : cases) {
    std::printf("  %-24s", c.name);
    for (MapLayer* alone : layers.drawing_order()) {
      for (MapLayer* layer : layers.drawing_order()) layer->style().visible = layer == alone;
      std::printf(" %6.1f", Render(layers, names, c.view, c.fast, image, 3));
      if (!save_dir.empty())
        image.save(QString::fromStdString(save_dir + "/" + std::string(c.name).substr(1, 1) + "-" +
                                          alone->name() + ".png"));
    }
    std::printf("\n");
  }
  for (const bench::Figure& figure : figures) bench::PrintFigure(figure);
  return 0;
}
