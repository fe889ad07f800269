// The commands on the road graph as a whole over the million-arc region: node regeneration, the merge
// of broken arcs and the graph check, each on its own copy of the imported database, with the time of
// every phase and the peak memory. The imported region is consistent, so each copy is first spoiled
// the way the command mends: for the regeneration, one arc in a hundred names a wrong end node, one in
// a thousand is shrunk to two equal points and one node in seventy is doubled by an unused one; for
// the merge, the element codes (each arc has its own in the region) are cleared, so that the pieces of
// each street merge. No peer tool does this work; the goal is the commands' own: under 20 s each.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "db/DbBatch.h"
#include "db/DbConnection.h"
#include "edit/BrokenArcMerge.h"
#include "edit/GraphValidation.h"
#include "edit/GraphValidationReport.h"
#include "edit/NodeRegeneration.h"
#include "geom/GraphRecords.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using Clock = std::chrono::steady_clock;

bool Execute(DbConnection& connection, const char* sql) {
  std::string error;
  if (connection.engine()->Execute(sql, error)) return true;
  std::fprintf(stderr, "topology benchmark: %s: %s\n", sql, error.c_str());
  return false;
}

bool SpoilNodes(DbConnection& connection) {
  DbBatch batch(connection);
  if (!Execute(connection,
               "UPDATE archi SET nodfin = CASE WHEN nodfin > 0 THEN nodfin - 1 ELSE nodfin + 1 END "
               "WHERE ID % 100 = 0") ||
      !Execute(connection,
               "INSERT INTO nodi (ID, coord_x, coord_y) SELECT ID + 100000000, coord_x, coord_y FROM nodi "
               "WHERE ID % 70 = 0"))
    return false;
  PolylineTable polylines(connection);
  for (std::int32_t id = 1;; id += 1000) {
    PointArray line;
    if (!polylines.Seek(id)) break;
    if (!polylines.Read(line) || line.empty()) return false;
    if (!polylines.Rewrite(PointArray(std::vector<Point>{line.front(), line.front()}))) return false;
  }
  return batch.Commit();
}

bool SpoilCodes(DbConnection& connection) {
  DbBatch batch(connection);
  return Execute(connection, "UPDATE archi SET codele = NULL") && batch.Commit();
}

struct Run {
  const char* name;
  const char* figure;
  std::function<bool(DbConnection&)> spoil;
  std::function<std::string(DbConnection&, UserInterface&)> command;  // the result's text; empty: failed
};

}  // namespace
}  // namespace viamappa

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  const std::string region = bench::GeneratedRegion(data_dir, arcs, "topology");
  if (region.empty()) return 1;
  const std::string base = data_dir + "/topology-base-" + std::to_string(arcs) + ".mdb";
  if (!bench::ImportedDatabase(region, base, {}, "topology")) {
    std::fprintf(stderr, "topology benchmark: the database could not be prepared\n");
    return 1;
  }
  const std::string work = data_dir + "/topology-" + std::to_string(getpid());
  std::filesystem::create_directories(work);

  const Run runs[] = {
      {"Rigenera Nodi", "topology.regenerate", SpoilNodes,
       [](DbConnection& connection, UserInterface& ui) {
         const auto counts = RegenerateNodes(connection, ui);
         return counts ? NodeRegenerationSummary(*counts) : std::string();
       }},
      {"Riduzione Archi spezzati", "topology.merge", SpoilCodes,
       [](DbConnection& connection, UserInterface& ui) {
         const auto counts = MergeBrokenArcs(connection, ui);
         return counts ? ArcMergeSummary(*counts) : std::string();
       }},
      {"Verifica Grafo Stradale", "topology.validate", nullptr,
       [](DbConnection& connection, UserInterface& ui) {
         const auto validation = ValidateGraph(connection, ui);
         return validation ? ValidationCountLines(*validation) : std::string();
       }},
  };
  std::printf("topology benchmark: %lld arcs\n", arcs);
  bool failed = false;
  std::vector<bench::Figure> figures;
  for (const Run& run : runs) {
    const std::string database = work + "/grafo.mdb";
    std::filesystem::remove(database);
    std::filesystem::copy_file(base, database);
    bench::PhaseClock ui;
    std::string result;
    double total = 0;
    long long peak = 0;
    {
      DbConnection connection(database, ui);
      if (run.spoil && !run.spoil(connection)) {
        failed = true;
        break;
      }
      bench::ResetPeakMemory();
      const auto start = Clock::now();
      result = run.command(connection, ui);
      total = bench::Seconds(start);
      peak = bench::PeakMemory();
    }
    const auto finish = Clock::now();
    for (const RecordedMessage& message : ui.messages())
      std::fprintf(stderr, "topology benchmark: %s\n", message.text.c_str());
    std::printf("\n%s\n", run.name);
    ui.PrintPhases(finish);
    std::printf("  %-52s %8.2f s     goal < 20 s\n", "whole run", total);
    std::printf("  %-52s %8.1f MB\n", "peak memory", peak / 1e6);
    // The command's own result message, indented as the table.
    for (std::size_t start = 0; start < result.size();) {
      const std::size_t end = std::min(result.find('\n', start), result.size());
      if (end > start) std::printf("  %s\n", result.substr(start, end - start).c_str());
      start = end + 1;
    }
    if (result.empty()) failed = true;
    figures.push_back({run.figure, total, "s", std::nullopt, "<20s"});
  }
  std::filesystem::remove_all(work);
  std::printf("\n");
  for (const bench::Figure& figure : figures) bench::PrintFigure(figure);
  return failed ? 1 : 0;
}
