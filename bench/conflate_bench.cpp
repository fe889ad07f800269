// Conflating a secondary graph of 100,000 arcs into the million-arc region: copies of primary arcs
// moved by up to 3 m, which are dropped, and new streets from near a node to beside another arc, which
// are inserted, connected and cut their arcs. Prints each phase's time, the whole run and the peak
// memory. No peer tool conflates a road graph this way; the goal is the command's own: under 30 s and
// 2 GB. The region, its database and the secondary graph are made once under the data folder.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "db/DbConnection.h"
#include "io/Conflation.h"
#include "io/ShapefileReader.h"
#include "io/ShapefileWriter.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

struct GraphRecord {
  std::vector<Point> points;
  std::vector<std::string> values;  // DENOM, ALT, COD_ELE, COD_REG, CLASSE, PIAZZA
};

double Hundredths(double v) {
  return std::round(v * 100) / 100;
}

// The secondary graph: `copies` primary arcs moved as a whole by up to 3 m, spread over the region, and
// `streets` new streets, each from within 4 m of an arc's end through the middle of its cell to 2 to 3 m
// beside the middle of the next arc.
bool SecondaryGraph(const std::string& region, const std::string& base, long long copies, long long streets) {
  if (std::filesystem::exists(base + ".shp")) return true;
  std::fprintf(stderr, "conflate benchmark: writing %lld copies and %lld new streets into %s (once)\n",
               copies, streets, base.c_str());
  ShapefileReader reader;
  if (!reader.Open(region + "/GEO_GRAFO") || !reader.ReadHeaders() || !reader.RewindShapes()) return false;
  std::vector<GraphRecord> primary(static_cast<std::size_t>(reader.record_count()));
  ShapeRecord shape;
  for (GraphRecord& record : primary) {
    if (!reader.NextShape(shape)) return false;
    record.points = shape.polyline.points();
  }
  if (!reader.RewindAttributes()) return false;
  std::string row, text;
  for (GraphRecord& record : primary) {
    if (!reader.NextAttributes(row)) return false;
    for (const char* name : {"DENOM", "ALT", "COD_ELE", "COD_REG", "CLASSE", "PIAZZA"}) {
      reader.FieldText(row, *reader.FindField(name), text);
      record.values.push_back(text);
    }
  }
  ShapefileWriter writer;
  const std::filesystem::path folder = std::filesystem::path(base).parent_path();
  std::filesystem::create_directories(folder);
  if (!writer.Create(base + ".partial.shp") || !writer.AddField("DENOM", 'C', 60) ||
      !writer.AddField("ALT", 'C', 60) || !writer.AddField("COD_ELE", 'C', 20) ||
      !writer.AddField("COD_REG", 'C', 20) || !writer.AddField("CLASSE", 'C', 10) ||
      !writer.AddField("PIAZZA", 'C', 1))
    return false;
  std::mt19937_64 random(2026);
  const auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  const std::size_t n = primary.size();
  const std::size_t copy_step = std::max<std::size_t>(1, n / static_cast<std::size_t>(copies));
  const std::size_t street_step = std::max<std::size_t>(1, n / static_cast<std::size_t>(streets));
  long long copied = 0, made = 0;
  for (std::size_t i = 0; i < n && copied < copies; i += copy_step, ++copied) {
    GraphRecord copy = primary[i];
    const double dx = uniform(-3, 3), dy = uniform(-3, 3);
    std::vector<Point> points;
    for (const Point& p : copy.points) points.push_back({Hundredths(p.x + dx), Hundredths(p.y + dy)});
    copy.values[2] = "S" + copy.values[2];
    if (!writer.AddPolyline(copy.values, PointArray(std::move(points)))) return false;
  }
  for (std::size_t i = street_step / 2; i + 1 < n && made < streets; i += street_step, ++made) {
    const std::vector<Point>& from = primary[i].points;
    const std::vector<Point>& beside = primary[i + 1].points;
    if (from.size() < 2 || beside.size() < 2) continue;
    const Point start{from.back().x + uniform(-4, 4), from.back().y + uniform(-4, 4)};
    const std::size_t k = beside.size() / 2;
    const Point a = beside[k - 1], b = beside[k];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double side = uniform(2, 3) / std::max(length, 1e-9) * (uniform(0, 1) < 0.5 ? -1 : 1);
    const Point end{(a.x + b.x) / 2 - (b.y - a.y) * side, (a.y + b.y) / 2 + (b.x - a.x) * side};
    const Point middle{(start.x + end.x) / 2 + uniform(-25, 25), (start.y + end.y) / 2 + uniform(-25, 25)};
    std::vector<Point> points;
    for (const Point& p : {start, middle, end}) points.push_back({Hundredths(p.x), Hundredths(p.y)});
    const std::string number = std::to_string(made + 1);
    if (!writer.AddPolyline({"VIA NUOVA " + number, "", "N" + number, "NU" + number, "SC", "N"},
                            PointArray(std::move(points))))
      return false;
  }
  if (writer.Finish() < 0) return false;
  for (const char* extension : {".shp", ".shx", ".dbf"})
    std::filesystem::rename(base + ".partial" + extension, base + extension);
  return true;
}

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000, secondary = 100000;
  double snap = 10;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--secondary") == 0) secondary = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--snap") == 0) snap = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  const std::string region = bench::GeneratedRegion(data_dir, arcs, "conflate");
  if (region.empty()) return 1;
  const std::string primary = data_dir + "/conflate-primary-" + std::to_string(arcs) + ".mdb";
  const long long streets = secondary * 15 / 100;
  const std::string secondary_base = data_dir + "/conflate-secondary-" + std::to_string(arcs) + "-" +
                                     std::to_string(secondary) + "/SECONDARIO";
  if (!bench::ImportedDatabase(region, primary, {.street_directory = true}, "conflate") ||
      !SecondaryGraph(region, secondary_base, secondary - streets, streets)) {
    std::fprintf(stderr, "conflate benchmark: the data could not be prepared\n");
    return 1;
  }
  const std::string work = data_dir + "/conflate-" + std::to_string(getpid());
  std::filesystem::create_directories(work);
  const std::string database = work + "/grafo.mdb";
  std::filesystem::copy_file(primary, database);

  bench::PhaseClock ui;
  ConflationResult result;
  bench::ResetPeakMemory();
  const auto start = std::chrono::steady_clock::now();
  {
    DbConnection connection(database, ui);
    result = ConflateSecondaryGraph(connection, secondary_base, snap, ui);
  }
  const auto finish = std::chrono::steady_clock::now();
  const double total = std::chrono::duration<double>(finish - start).count();
  const long long peak = bench::PeakMemory();
  std::filesystem::remove_all(work);
  for (const RecordedMessage& message : ui.messages()) {
    if (message.icon != MessageIcon::Information)
      std::fprintf(stderr, "conflate benchmark: %s\n", message.text.c_str());
  }
  if (!result.stored) return 1;

  long long analogous = 0, along_streets = 0;
  for (const conflation::SecondaryArc& s : result.state.secondary) {
    analogous += !s.analogues.empty();
    along_streets += s.analogues.empty() && !s.streets.empty();
  }
  std::printf("conflate benchmark: %lld primary arcs, %zu secondary arcs (snap %.2f m)\n", arcs,
              result.state.secondary.size(), snap);
  std::printf("  dropped: %lld analogous, %lld along unified streets\n", analogous, along_streets);
  std::printf(
      "  primary arcs modified %d, pieces inserted %d, secondary arcs inserted %d, nodes inserted %d\n",
      result.modified, result.from_primary, result.from_secondary, result.nodes);
  ui.PrintPhases(finish);
  std::printf("  %-52s %8.2f s     goal < 30 s\n", "whole run", total);
  std::printf("  %-52s %8.1f MB    goal < 2000 MB\n", "peak memory", peak / 1e6);
  bench::PrintFigure({"conflate.total", total, "s", std::nullopt, "<30s"});
  bench::PrintFigure({"conflate.memory", peak / 1e6, "MB", std::nullopt, "<2000MB", 1});
  return 0;
}
