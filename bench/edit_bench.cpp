// Editing the map of a whole region: the 1,000,000-arc generated region, imported once, loaded as the
// program loads it, edited through the editing core as the map window drives it, at 1:5000 in a 1920 x
// 1080 window over the middle of the region. Recorded pointer paths go through every mode: hovering in
// the navigation and path modes, vertex drags, vertex insertions, vertex deletions and new arcs snapped
// onto existing ones. Each pointer move, each release that writes a drag and each other step that writes
// an edit is timed; the layer redraws the moves ask for are counted (a drag repaints its overlay only).
// Then every edit is undone, the last first, and every one redone, each timed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "edit/MapEditor.h"
#include "map/CommandIds.h"
#include "map/LayerLoader.h"
#include "support/ScriptedEditDialogs.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using bench::Milliseconds;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kMargin = 80;  // pixels kept from the window's edges, where tracing re-centres the map

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t i = static_cast<std::size_t>(std::ceil(p / 100.0 * values.size()));
  return values[std::min(values.size() - 1, i == 0 ? 0 : i - 1)];
}

struct Timings {
  std::vector<double> moves;     // every pointer move
  std::vector<double> releases;  // releases that wrote a drag
  std::vector<double> saves;     // other steps that wrote an edit: deletions, cuts, new arcs
  int move_redraws = 0;          // moves that asked for the layers to be redrawn
  int edits = 0;
};

class Driver {
 public:
  Driver(MapEditor& editor, Timings& timings) : editor_(editor), t_(timings) {}

  void Move(const Point& at, bool held = false) {
    const auto start = Clock::now();
    const EditOutcome outcome = editor_.PointerMoved({Px(at.x), Px(at.y), held, NavigationTool::None});
    t_.moves.push_back(Milliseconds(start));
    if (outcome.vector_redraw || outcome.full_redraw) ++t_.move_redraws;
  }
  void Press(const Point& at) {
    const auto start = Clock::now();
    const EditOutcome outcome = editor_.LeftPressed({Px(at.x), Px(at.y), true, NavigationTool::None});
    Saved(outcome, Milliseconds(start), t_.saves);
  }
  void Release(const Point& at) {
    const auto start = Clock::now();
    const EditOutcome outcome = editor_.LeftReleased({Px(at.x), Px(at.y), false, NavigationTool::None});
    Saved(outcome, Milliseconds(start), t_.releases);
  }
  void Command(int id) {
    const auto start = Clock::now();
    EditOutcome outcome;
    editor_.RunCommand(id, outcome);
    Saved(outcome, Milliseconds(start), t_.saves);
  }

 private:
  static int Px(double v) { return static_cast<int>(std::lround(v)); }
  void Saved(const EditOutcome& outcome, double ms, std::vector<double>& into) {
    if (outcome.change.empty()) return;
    into.push_back(ms);
    ++t_.edits;
  }

  MapEditor& editor_;
  Timings& t_;
};

// A point of the polyline a fraction of the way from vertex i to vertex j, in window pixels.
Point Between(const Viewport& view, const PointArray& line, int i, int j, double f) {
  const Point& a = line[i];
  const Point& b = line[j];
  return view.WorldToPixel(a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f);
}

bool Inside(const Point& p) {
  return p.x > kMargin && p.x < kWidth - kMargin && p.y > kMargin && p.y < kHeight - kMargin;
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  int gestures = 40;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
    if (std::strcmp(argv[i], "--gestures") == 0) gestures = std::max(1, std::atoi(argv[i + 1]));
  }
  std::filesystem::create_directories(data_dir);
  const std::string region = bench::GeneratedRegion(data_dir, arcs, "edit");
  // The render benchmark imports the same region: its database serves when it is there.
  std::string source = data_dir + "/render-" + std::to_string(arcs) + ".mdb";
  if (!std::filesystem::exists(source)) source = data_dir + "/edit-" + std::to_string(arcs) + ".mdb";
  if (region.empty() ||
      !bench::ImportedDatabase(region, source, {.street_directory = true, .areas = true, .toponyms = true},
                               "edit"))
    return 1;
  // The edits are written to a copy, so that every run starts from the imported region.
  const std::string database = data_dir + "/edit-work.mdb";
  std::filesystem::copy_file(source, database, std::filesystem::copy_options::overwrite_existing);

  ScriptedUserInterface ui;
  DbConnection connection(database, ui);
  if (!connection.IsOpen()) return 1;
  LayerSet layers;
  auto start = Clock::now();
  LoadLayers(layers, connection, MapStyling());
  const double load_s = Milliseconds(start) / 1000;

  Viewport view(DeviceMetrics(2540.0 / 96.0), SavedMapView{0.5, 0, 0});
  view.SetClientSize(kWidth, kHeight);
  view.CentreOn((layers.extent.minx + layers.extent.maxx) / 2, (layers.extent.miny + layers.extent.maxy) / 2);
  view.UpdateExtent();

  MapModes modes;
  testing::ScriptedEditDialogs dialogs;
  MapEditor editor(connection, layers, view, dialogs, [&] { return modes; });
  Timings timings;
  Driver drive(editor, timings);

  // The arcs whose first three points the window shows, in cache order.
  std::vector<const LineFeature*> shown;
  for (const LineFeature* arc : layers.FindLayer("archi")->LinesMeeting(view.Visible())) {
    const PointArray& line = arc->polylines[0];
    bool inside = line.count() >= 3;
    for (int i = 0; inside && i < 3; ++i) inside = Inside(view.WorldToPixel(line[i].x, line[i].y));
    if (inside) shown.push_back(arc);
  }
  std::printf("edit benchmark: %lld arcs loaded in %.1f s, %zu shown at 1:%d in %d x %d pixels\n", arcs,
              load_s, shown.size(), view.denominator(), kWidth, kHeight);
  if (shown.size() < static_cast<std::size_t>(6 * gestures)) return 1;
  std::size_t next = 0;
  const auto take = [&]() -> const PointArray& {
    return shown[(next++ * 7919) % shown.size()]->polylines[0];
  };

  // Hovering across the window in the navigation mode, then in the path start mode.
  for (const bool path : {false, true}) {
    modes = {};
    modes.pick_start = path;
    for (int y = kMargin; y < kHeight - kMargin; y += 40)
      for (int x = kMargin; x < kWidth - kMargin; x += 8)
        drive.Move({static_cast<double>(x), static_cast<double>(y)});
  }

  // Drags of interior and end vertices, each along 25 moves of 3 pixels.
  modes = {};
  modes.drag = true;
  for (int g = 0; g < gestures; ++g) {
    const PointArray& line = take();
    const int vertex = g % 3 == 0 ? 0 : 1;
    const Point at = Between(view, line, vertex, vertex + 1, 0.02);
    drive.Move(at);
    if (!editor.state().hot_vertex) continue;
    drive.Press(at);
    Point to = at;
    for (int k = 0; k < 25; ++k) drive.Move(to = {to.x + 3, to.y + 2}, true);
    drive.Release(to);
  }

  // Insertions: a press in the middle of a segment and a drag of the new vertex.
  modes = {};
  modes.adjust_segment = true;
  for (int g = 0; g < gestures; ++g) {
    const PointArray& line = take();
    const Point at = Between(view, line, 0, 1, 0.5);
    drive.Move(at);
    if (!editor.state().hot_arc) continue;
    drive.Press(at);
    Point to = at;
    for (int k = 0; k < 25; ++k) drive.Move(to = {to.x - 2, to.y + 3}, true);
    drive.Release(to);
  }

  // Deletions of an interior vertex.
  modes = {};
  modes.delete_vertex = true;
  for (int g = 0; g < gestures; ++g) {
    const PointArray& line = take();
    const Point at = Between(view, line, 1, 2, 0.02);
    drive.Move(at);
    if (editor.state().hot_vertex) drive.Press(at);
  }

  // New arcs from inside one arc to inside another, through a free point, each cutting both.
  modes = {};
  modes.draw_arc = true;
  // The new arcs' name goes into the street directory at the first (type and name, when asked); the
  // later ones find it there.
  ui.QueueAnswer(true);
  ui.QueueAnswer(true);
  for (int g = 0; g < gestures; ++g) {
    const Point from = Between(view, take(), 0, 1, 0.5);
    const Point to = Between(view, take(), 0, 1, 0.5);
    const Point middle{(from.x + to.x) / 2 + 9, (from.y + to.y) / 2 + 9};
    drive.Move(from);
    drive.Command(cmd::kStartNewArc);
    for (int k = 1; k <= 10; ++k)
      drive.Move({from.x + (middle.x - from.x) * k / 10, from.y + (middle.y - from.y) * k / 10});
    drive.Press(middle);
    for (int k = 1; k <= 10; ++k)
      drive.Move({middle.x + (to.x - middle.x) * k / 10, middle.y + (to.y - middle.y) * k / 10});
    drive.Press(to);
    dialogs.Queue(testing::ArcDialogAnswer{"VIA NUOVA DEL BENCHMARK", "", 1});
    drive.Command(cmd::kFinishArc);
  }

  // Every edit undone, the last first, then every one redone.
  std::vector<double> undos, redos;
  int failed = 0;
  for (const bool undo : {true, false}) {
    EditHistory& history = editor.history();
    while (undo ? history.CanUndo() : history.CanRedo()) {
      const auto begun = Clock::now();
      EditOutcome outcome;
      editor.RunCommand(undo ? cmd::kUndoEdit : cmd::kRedoEdit, outcome);
      (undo ? undos : redos).push_back(Milliseconds(begun));
      if (!outcome.vector_redraw) {
        ++failed;
        break;
      }
    }
  }

  const double move_p50 = Percentile(timings.moves, 50);
  const double move_p99 = Percentile(timings.moves, 99);
  const double release_p50 = Percentile(timings.releases, 50);
  const double release_p99 = Percentile(timings.releases, 99);
  const double save_p99 = Percentile(timings.saves, 99);
  std::printf("  %-34s %8s %10s %10s %10s\n", "step", "count", "p50", "p99", "goal p99");
  std::printf("  %-34s %8zu %7.3f ms %7.3f ms %7s ms\n", "pointer move", timings.moves.size(), move_p50,
              move_p99, "2");
  std::printf("  %-34s %8zu %7.3f ms %7.3f ms %7s ms\n", "release writing a drag", timings.releases.size(),
              release_p50, release_p99, "20");
  std::printf("  %-34s %8zu %7.3f ms %7.3f ms %7s\n", "other edit (delete, cut, new arc)",
              timings.saves.size(), Percentile(timings.saves, 50), save_p99, "-");
  std::printf("  %-34s %8zu %7.3f ms %7.3f ms %7s ms\n", "undo of an edit", undos.size(),
              Percentile(undos, 50), Percentile(undos, 99), "20");
  std::printf("  %-34s %8zu %7.3f ms %7.3f ms %7s ms\n", "redo of an edit", redos.size(),
              Percentile(redos, 50), Percentile(redos, 99), "20");
  std::printf("  slowest move: %.3f ms; slowest release: %.3f ms\n", Percentile(timings.moves, 100),
              Percentile(timings.releases, 100));
  std::printf(
      "  moves that asked for a layer redraw: %d; edits stored: %d; undo or redo failed: %d; messages: %zu\n",
      timings.move_redraws, timings.edits, failed, ui.messages().size());
  bench::PrintFigure({"edit.move_p99", move_p99, "ms", std::nullopt, "<2ms", 3});
  bench::PrintFigure({"edit.release_p99", release_p99, "ms", std::nullopt, "<20ms", 3});
  bench::PrintFigure({"edit.save_p99", save_p99, "ms", std::nullopt, "none", 3});
  bench::PrintFigure({"edit.undo_p99", Percentile(undos, 99), "ms", std::nullopt, "<20ms", 3});
  bench::PrintFigure({"edit.redo_p99", Percentile(redos, 99), "ms", std::nullopt, "<20ms", 3});
  bench::PrintFigure(
      {"edit.move_redraws", static_cast<double>(timings.move_redraws), "moves", std::nullopt, "=0", 0});
  return 0;
}
