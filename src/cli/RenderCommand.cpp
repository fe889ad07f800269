// render: the map of a database drawn into a PNG picture, with the renderer, the styling and the
// drawing surface of the map window. The surface needs Qt Gui (fonts, images) but no display: Qt runs
// on its offscreen platform.
#include <QGuiApplication>
#include <QImage>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/SettingsStore.h"
#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "db/DbConnection.h"
#include "gui/QtCanvas.h"
#include "map/BackgroundPainter.h"
#include "map/LayerLoader.h"
#include "map/MapRenderer.h"
#include "map/StreetNameSource.h"
#include "map/Viewport.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

namespace {

constexpr const char* kSynopsis =
    "render DATABASE FILE.png [--size LARGHEZZAxALTEZZA] [--scala N] [--centro X Y] [--sfondo FILE]";
constexpr int kLargestSide = 16384;

struct RenderRequest {
  std::string database;
  std::string picture;
  int width = 1920;
  int height = 1080;
  std::optional<std::int32_t> scale;
  std::optional<Point> centre;
  std::string background;
};

template <typename Number>
bool Whole(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  return failure == std::errc() && stop == end;
}

bool ParseRequest(const std::vector<std::string>& args, RenderRequest& request) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const std::size_t left = args.size() - i - 1;
    if (word == "--size" && left >= 1) {
      const std::string& size = args[++i];
      const std::size_t x = size.find('x');
      if (x == std::string::npos || !Whole(size.substr(0, x), request.width) ||
          !Whole(size.substr(x + 1), request.height))
        return false;
      if (request.width < 1 || request.height < 1 || request.width > kLargestSide ||
          request.height > kLargestSide)
        return false;
    } else if (word == "--scala" && left >= 1) {
      std::int32_t scale = 0;
      if (!Whole(args[++i], scale) || scale < 1) return false;
      request.scale = scale;
    } else if (word == "--centro" && left >= 2) {
      const auto x = ParseDecimal(args[i + 1]);
      const auto y = ParseDecimal(args[i + 2]);
      i += 2;
      if (!x || !y) return false;
      request.centre = Point{*x, *y};
    } else if (word == "--sfondo" && left >= 1) {
      request.background = args[++i];
    } else if (word.starts_with("--")) {
      return false;
    } else {
      files.push_back(word);
    }
  }
  if (files.size() != 2) return false;
  request.database = files[0];
  request.picture = files[1];
  return true;
}

// The styling stored for the window, or the factory one when there are no settings.
MapStyling StoredStyling(UserInterface& ui) {
  const std::string path = SettingsStore::DefaultPath();
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) return MapStyling();
  return SettingsStore(path).Load(ui).styling;
}

}  // namespace

int Render(const std::vector<std::string>& args, const Options& options) {
  RenderRequest request;
  if (!ParseRequest(args, request)) {
    std::fprintf(stderr, "Uso: viamappa-cli %s\n", kSynopsis);
    return 2;
  }
  if (std::filesystem::exists(request.picture) && !options.yes) {
    std::fprintf(stderr, "ERRORE: il file %s esiste già (--yes per sostituirlo)\n", request.picture.c_str());
    return 1;
  }
  int qt_argc = 3;
  char program[] = "viamappa-cli", platform[] = "-platform", offscreen[] = "offscreen";
  char* qt_argv[] = {program, platform, offscreen, nullptr};
  QGuiApplication application(qt_argc, qt_argv);

  ConsoleUserInterface ui(stderr, options.yes);
  DbConnection connection(request.database, ui);
  if (!connection.IsOpen()) return 1;
  std::unique_ptr<BackgroundFile> background;
  if (!request.background.empty()) {
    background = OpenBackground(request.background, ui);
    if (!background) return 1;
  }
  LayerSet layers(background ? background->extent() : Box());
  layers.SetBackground(std::move(background));
  LoadLayers(layers, connection, StoredStyling(ui));

  // The home view, then the scale and the centre asked for.
  const DeviceMetrics metrics;
  Viewport home(metrics);
  home.SetClientSize(request.width, request.height);
  const bool has_home = home.Home(layers.extent);
  if (!has_home && !(request.scale && request.centre)) {
    std::fprintf(stderr, "ERRORE: la mappa è vuota: indicare --scala e --centro\n");
    return 1;
  }
  home.UpdateExtent();
  // A hair above N / 10000, so that the scale computed back is N itself.
  const double resolution = request.scale ? *request.scale / 10000.0 * (1 + 1e-12) : home.resolution();
  Viewport viewport(metrics, SavedMapView{resolution, home.x0(), home.y0()});
  viewport.SetClientSize(request.width, request.height);
  viewport.UpdateExtent();
  const Point centre =
      request.centre ? *request.centre : Point{(home.x0() + home.x1()) / 2, (home.y0() + home.y1()) / 2};
  viewport.CentreOn(centre.x, centre.y);
  viewport.UpdateExtent();

  QImage image(request.width, request.height, QImage::Format_RGB32);
  {
    QtCanvas canvas(image);
    const RenderView view = RenderView::Of(viewport, false);
    DrawBackground(canvas, kWhite, view, BackgroundSourcesOf(layers.background()));
    ArcTableNames names(connection);
    DrawVectorLayers(canvas, layers, view, &names);
  }
  if (!image.save(QString::fromStdString(request.picture), "PNG")) {
    std::fprintf(stderr, "ERRORE: impossibile scrivere l'immagine %s\n", request.picture.c_str());
    return 1;
  }
  std::printf("%s: %d x %d pixel, %s, centro %s %s\n", request.picture.c_str(), request.width, request.height,
              viewport.scale_text().c_str(), FormatFixed(centre.x, 2).c_str(),
              FormatFixed(centre.y, 2).c_str());
  return ui.error_count() == 0 ? 0 : 1;
}

}  // namespace viamappa::cli
