// Drawing the background of a whole region: a 100 MB orthophoto file made from a generated raster of
// 5000 x 5000 pixels over the region, and the vector cartography of the region's 1,500 municipalities
// and 5,000 localities, each drawn as the map window's full redraw draws its background image (1920 x
// 1080 pixels) at the home view and at 1:10000 over the middle of the region. The peer is
// gdal_translate cutting the same window out of the source raster into a PNG of the same size.
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
#include "app/DatabaseCreation.h"
#include "background/CartographyFromDatabase.h"
#include "background/OrthophotoFromRaster.h"
#include "background/SyntheticRaster.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "gui/QtCanvas.h"
#include "io/AreaImport.h"
#include "map/BackgroundPainter.h"
#include "map/MapRenderer.h"
#include "map/Viewport.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using bench::Milliseconds;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRasterSide = 5000;  // pixels: 75 MB of colour, with the halved levels about 100 MB

// The region's municipalities and localities, and the cartography file made of them.
bool MakeCartography(const std::string& region, const std::string& database, const std::string& sfx) {
  if (std::filesystem::exists(sfx)) return true;
  std::fprintf(stderr, "background benchmark: writing %s (once)\n", sfx.c_str());
  ScriptedUserInterface ui;
  std::filesystem::remove(database);
  if (CreateDatabaseFile(database, ui) != CreationResult::Created) return false;
  DbConnection connection(database, ui);
  ImportAreas(connection, AreaKind::Municipalities, region + "/COMUNI", ui);
  ImportAreas(connection, AreaKind::Localities, region + "/LOCALITA", ui);
  background::CartographySummary summary;
  std::string error;
  if (!background::WriteCartographyFromDatabase(connection, sfx, true, false, summary, error)) {
    std::fprintf(stderr, "background benchmark: %s\n", error.c_str());
    return false;
  }
  return true;
}

// Fields of colour a few hundred metres across with a grain of noise, as an orthophoto has.
void Landscape(int x, int y, unsigned char* rgb) {
  unsigned field = static_cast<unsigned>(x / 37) * 73856093u ^ static_cast<unsigned>(y / 29) * 19349663u;
  field ^= field >> 13;
  field = (field * 0x5BD1E995u ^ (field >> 15)) % 97;
  const unsigned grain = static_cast<unsigned>(x * 2654435761u ^ y * 40503u) >> 27;
  rgb[0] = static_cast<unsigned char>(90 + field + grain);
  rgb[1] = static_cast<unsigned char>(110 + (field * 3) % 90 + grain);
  rgb[2] = static_cast<unsigned char>(60 + (field * 7) % 70 + grain);
}

bool MakeOrthophoto(const Box& extent, const std::string& tif, const std::string& sfw) {
  if (std::filesystem::exists(sfw) && std::filesystem::exists(tif)) return true;
  std::fprintf(stderr, "background benchmark: writing %s and %s (once)\n", tif.c_str(), sfw.c_str());
  const double side = std::max(extent.maxx - extent.minx, extent.maxy - extent.miny);
  background::RasterGrid grid;
  grid.width = grid.height = kRasterSide;
  grid.origin_x = extent.minx;
  grid.origin_y = extent.miny + side;
  grid.pixel = side / kRasterSide;
  std::string error;
  background::OrthophotoSummary summary;
  if (!background::WriteSyntheticRaster(tif, grid, Landscape, error) ||
      !background::WriteOrthophotoFromRaster(tif, sfw, summary, error)) {
    std::fprintf(stderr, "background benchmark: %s\n", error.c_str());
    return false;
  }
  return true;
}

// The background image of a full redraw of full quality, best of a few runs, in milliseconds.
double Redraw(BackgroundFile& file, const Viewport& viewport, QImage& image, int runs) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    QtCanvas canvas(image);
    DrawBackground(canvas, kWhite, RenderView::Of(viewport, false), BackgroundSourcesOf(&file));
    best = std::min(best, Milliseconds(start));
  }
  return best;
}

// gdal_translate cutting the window out of the source raster into a PNG of the window's size.
double Translate(const std::string& tif, const Viewport& view, const std::string& out, int runs) {
  const std::string command = "gdal_translate -q -of PNG -projwin " + FormatFixed(view.x0(), 4) + " " +
                              FormatFixed(view.y1(), 4) + " " + FormatFixed(view.x1(), 4) + " " +
                              FormatFixed(view.y0(), 4) + " -outsize " + std::to_string(kWidth) + " " +
                              std::to_string(kHeight) + " " + tif + " " + out + " >/dev/null 2>&1";
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    std::filesystem::remove(out);
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    best = std::min(best, Milliseconds(start));
  }
  return best;
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  std::string data_dir = "build/bench-data";
  std::string save_dir;
  int runs = 5;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
    if (std::strcmp(argv[i], "--save") == 0) save_dir = argv[i + 1];
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);

  std::filesystem::create_directories(data_dir);
  const std::string region = bench::GeneratedRegion(data_dir, 1000000, "background");
  const std::string sfx = data_dir + "/background-region.sfx";
  const std::string tif = data_dir + "/background-orthophoto.tif";
  const std::string sfw = data_dir + "/background-orthophoto.sfw";
  if (region.empty() || !MakeCartography(region, data_dir + "/background-areas.mdb", sfx)) return 1;
  ScriptedUserInterface ui;
  auto cartography = OpenBackground(sfx, ui);
  if (!cartography || !MakeOrthophoto(cartography->extent(), tif, sfw)) return 1;
  auto orthophoto = OpenBackground(sfw, ui);
  if (!orthophoto) return 1;

  // The home view of the region, and 1:10000 over its middle, on a 96 dpi screen.
  const DeviceMetrics metrics(2540.0 / 96.0);
  Box extent = cartography->extent();
  extent.Widen(orthophoto->extent());
  Viewport home(metrics);
  home.SetClientSize(kWidth, kHeight);
  home.Home(extent);
  home.UpdateExtent();
  Viewport close(metrics, SavedMapView{1.0 + 1e-12, 0, 0});
  close.SetClientSize(kWidth, kHeight);
  close.UpdateExtent();
  close.CentreOn((extent.minx + extent.maxx) / 2, (extent.miny + extent.maxy) / 2);
  close.UpdateExtent();

  struct Case {
    const char* name;
    const char* figure;
    BackgroundFile* file;
    const Viewport* view;
    bool peer;
  };
  const Case cases[] = {
      {"orthophoto, home view", "background.home", orthophoto.get(), &home, true},
      {"orthophoto, 1:10000", "background.10000", orthophoto.get(), &close, true},
      {"cartography, home view", "background.sfx_home", cartography.get(), &home, false},
      {"cartography, 1:10000", "background.sfx_10000", cartography.get(), &close, false},
  };
  std::printf("background benchmark: %s (%.0f MB), %s (%.0f MB), %d x %d pixels, best of %d runs\n",
              sfw.c_str(), std::filesystem::file_size(sfw) / 1e6, sfx.c_str(),
              std::filesystem::file_size(sfx) / 1e6, kWidth, kHeight, runs);
  std::printf("  %-26s %9s %10s %16s\n", "view", "scale", "ours", "gdal_translate");
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const std::string peer_out = data_dir + "/background-peer.png";
  std::vector<bench::Figure> figures;
  for (const Case& c : cases) {
    const double ours = Redraw(*c.file, *c.view, image, runs);
    const double theirs = c.peer ? Translate(tif, *c.view, peer_out, std::min(runs, 3)) : -1;
    std::printf("  %-26s %9d %7.1f ms", c.name, c.view->denominator(), ours);
    if (c.peer && theirs >= 0) {
      std::printf(" %13.1f ms\n", theirs);
    } else {
      std::printf(" %16s\n", c.peer ? "failed" : "-");
    }
    figures.push_back({c.figure, ours, "ms", theirs >= 0 ? std::optional<double>(theirs) : std::nullopt,
                       c.peer ? "ratio<=1.0" : "none", 1});
    if (!save_dir.empty()) {
      std::filesystem::create_directories(save_dir);
      image.save(QString::fromStdString(save_dir + "/" + c.figure + ".png"));
    }
  }
  std::filesystem::remove(peer_out);
  std::filesystem::remove(peer_out + ".aux.xml");
  if (!ui.messages().empty())
    std::fprintf(stderr, "background benchmark: %s\n", ui.last_message().text.c_str());
  for (const bench::Figure& figure : figures) bench::PrintFigure(figure);
  return 0;
}
