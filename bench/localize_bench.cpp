// Localizing the arcs of a whole region: our command on a copy of a freshly imported region (1,000,000
// arcs, 1,500 municipalities, 5,000 localities by default) beside what a GIS programmer would write
// with GEOS: an STRtree of the municipality polygons, each prepared, and every point of every arc
// looked up and tested, the arc going to the municipality that holds most of its points.
#include <geos_c.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "geom/StoredGeometry.h"
#include "io/Localization.h"
#include "ui/ScriptedUserInterface.h"

namespace {

using namespace viamappa;
using Clock = std::chrono::steady_clock;

// Seconds of processor time the process has used, its own and the system's for it.
double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Notes when each phase begins, on the wall clock and in processor time.
class PhaseClock : public ScriptedUserInterface {
 public:
  void ProgressPhase(std::string_view phase) override {
    starts_[std::string(phase)] = {Clock::now(), ProcessorSeconds()};
    order_.emplace_back(phase);
    ScriptedUserInterface::ProgressPhase(phase);
  }
  Clock::time_point Start(const std::string& phase) const { return starts_.at(phase).first; }

  // Each phase with its seconds, the last one until end, and its processor seconds.
  void PrintPhases(Clock::time_point end, double end_processor) const {
    for (std::size_t i = 0; i < order_.size(); ++i) {
      const bool last = i + 1 == order_.size();
      const auto& [wall, processor] = starts_.at(order_[i]);
      const Clock::time_point until = last ? end : Start(order_[i + 1]);
      const double until_processor = last ? end_processor : starts_.at(order_[i + 1]).second;
      std::printf("    %-42s %8.2f s  %6.2f s processor\n", order_[i].c_str(),
                  std::chrono::duration<double>(until - wall).count(), until_processor - processor);
    }
  }

 private:
  std::map<std::string, std::pair<Clock::time_point, double>> starts_;
  std::vector<std::string> order_;
};

void GeosMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

GEOSGeometry* Ring(GEOSContextHandle_t geos, const PointArray& ring) {
  GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(geos, static_cast<unsigned>(ring.count()), 2);
  for (std::int32_t i = 0; i < ring.count(); ++i)
    GEOSCoordSeq_setXY_r(geos, sequence, i, ring[i].x, ring[i].y);
  return GEOSGeom_createLinearRing_r(geos, sequence);
}

GEOSGeometry* Polygon(GEOSContextHandle_t geos, const AreaFeature& feature) {
  std::vector<GEOSGeometry*> parts;
  for (const AreaPart& part : feature.parts) {
    std::vector<GEOSGeometry*> holes;
    for (const PointArray& hole : part.exclusions) holes.push_back(Ring(geos, hole));
    parts.push_back(GEOSGeom_createPolygon_r(geos, Ring(geos, part.outer), holes.data(),
                                             static_cast<unsigned>(holes.size())));
  }
  return GEOSGeom_createCollection_r(geos, GEOS_MULTIPOLYGON, parts.data(),
                                     static_cast<unsigned>(parts.size()));
}

struct PeerInput {
  std::vector<AreaFeature> municipalities;
  std::vector<std::vector<Point>> arcs;
};

void Collect(void* item, void* list) {
  static_cast<std::vector<int>*>(list)->push_back(static_cast<int>(reinterpret_cast<std::intptr_t>(item)));
}

// The peer's assignment; answers how many arcs got a municipality.
long long PeerAssign(const PeerInput& input) {
  GEOSContextHandle_t geos = GEOS_init_r();
  GEOSContext_setNoticeHandler_r(geos, GeosMessage);
  GEOSContext_setErrorHandler_r(geos, GeosMessage);
  std::vector<GEOSGeometry*> polygons;
  std::vector<const GEOSPreparedGeometry*> prepared;
  GEOSSTRtree* tree = GEOSSTRtree_create_r(geos, 10);
  for (std::size_t i = 0; i < input.municipalities.size(); ++i) {
    polygons.push_back(Polygon(geos, input.municipalities[i]));
    prepared.push_back(GEOSPrepare_r(geos, polygons.back()));
    GEOSSTRtree_insert_r(geos, tree, polygons.back(), reinterpret_cast<void*>(static_cast<std::intptr_t>(i)));
  }
  long long assigned = 0;
  std::vector<int> candidates;
  std::vector<int> votes(input.municipalities.size(), 0);
  std::vector<int> voted;
  for (const std::vector<Point>& arc : input.arcs) {
    for (const Point& p : arc) {
      GEOSGeometry* point = GEOSGeom_createPointFromXY_r(geos, p.x, p.y);
      candidates.clear();
      GEOSSTRtree_query_r(geos, tree, point, Collect, &candidates);
      for (const int candidate : candidates) {
        if (GEOSPreparedContains_r(geos, prepared[candidate], point) == 1) {
          if (votes[candidate]++ == 0) voted.push_back(candidate);
          break;
        }
      }
      GEOSGeom_destroy_r(geos, point);
    }
    int best = -1;
    for (const int candidate : voted) {
      if (best < 0 || votes[candidate] > votes[best]) best = candidate;
    }
    for (const int candidate : voted) votes[candidate] = 0;
    voted.clear();
    assigned += best >= 0;
  }
  GEOSSTRtree_destroy_r(geos, tree);
  for (const GEOSPreparedGeometry* geometry : prepared) GEOSPreparedGeom_destroy_r(geos, geometry);
  for (GEOSGeometry* polygon : polygons) GEOSGeom_destroy_r(geos, polygon);
  GEOS_finish_r(geos);
  return assigned;
}

PeerInput ReadPeerInput(DbConnection& connection) {
  PeerInput input;
  input.municipalities = LoadAreaFeatures(connection, "geocom");
  DbQuery query(connection);
  query.SetSelect(PolylineSelectList());
  query.SetFrom(kArcGeometryTable);
  query.SetOrderBy(polyline_field::kId);
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    PointArray line;
    if (ReadPolylineRow(query, 0, id, line)) input.arcs.push_back(line.TakePoints());
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  const std::string pristine = bench::GeneratedDatabase(data_dir, arcs, "localize");
  if (pristine.empty()) return 1;
  const std::string work = data_dir + "/localize-" + std::to_string(getpid());
  std::filesystem::create_directories(work);
  const std::string database = work + "/regione.mdb";
  std::filesystem::copy_file(pristine, database);

  PhaseClock ui;
  bool done = false;
  double total = 0, municipalities = 0, processor = 0, end_processor = 0;
  Clock::time_point end;
  long long localized = 0;
  PeerInput input;
  {
    DbConnection connection(database, ui);
    const auto start = Clock::now();
    const double processor_start = ProcessorSeconds();
    done = LocalizeRoadGraph(connection, ui);
    end_processor = ProcessorSeconds();
    processor = end_processor - processor_start;
    end = Clock::now();
    total = std::chrono::duration<double>(end - start).count();
    if (done) {
      municipalities =
          std::chrono::duration<double>(ui.Start("Estrazione Località") - ui.Start("Estrazione Comuni"))
              .count();
      DbQuery count(connection);
      count.SetSelect("count(*)");
      count.SetFrom(kArcTable);
      count.SetWhere("comune > 0");
      std::int32_t rows = 0;
      if (count.Open() && count.GetLong(0, rows)) localized = rows;
    }
    input = ReadPeerInput(connection);
  }
  std::filesystem::remove_all(work);
  if (!done) {
    for (const RecordedMessage& message : ui.messages()) std::fprintf(stderr, "%s\n", message.text.c_str());
    return 1;
  }
  const auto peer_start = Clock::now();
  const long long peer_assigned = PeerAssign(input);
  const double peer = bench::Seconds(peer_start);

  std::printf("localize benchmark: %lld arcs, %zu municipalities; %lld arcs in a municipality (GEOS: %lld)\n",
              arcs, input.municipalities.size(), localized, peer_assigned);
  std::printf("  %-44s %8.2f s\n", "our municipality phases (read, I and II)", municipalities);
  std::printf("  %-44s %8.2f s\n", "GEOS STRtree + prepared polygons, every point", peer);
  std::printf("  %-44s %8.2f     goal <= 1.0\n", "ratio", municipalities / peer);
  std::printf("  %-44s %8.2f s   goal < 3 s\n", "our whole command (localities, registration)", total);
  std::printf("  %-44s %8.2f s   (processor time of the same run)\n", "", processor);
  ui.PrintPhases(end, end_processor);
  bench::PrintFigure({"localize.comuni", municipalities, "s", peer, "ratio<=1.0"});
  bench::PrintFigure({"localize.total", total, "s", std::nullopt, "<3s"});
  return 0;
}
