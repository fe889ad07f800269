// Importing the road graph of a whole region: our import (nodes, arcs, both polyline tables and the
// street directory into a new database) beside what a GIS user would otherwise run, ogr2ogr writing
// the same shapefile into a new SQLite file. The region (1,000,000 arcs by default) is generated once.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/DatabaseCreation.h"
#include "db/DbConnection.h"
#include "io/RoadGraphImport.h"
#include "io/StreetDirectory.h"
#include "synth/SyntheticRegion.h"
#include "ui/ScriptedUserInterface.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long long PeakMemory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  const std::string region = data_dir + "/region-" + std::to_string(arcs);
  if (!std::filesystem::exists(region + "/GEO_GRAFO.shp")) {
    std::fprintf(stderr, "import benchmark: generating %lld arcs into %s (once)\n", arcs, region.c_str());
    synth::RegionOptions options;
    options.arcs = arcs;
    options.comuni = 1500;
    options.localita = 5000;
    options.seed = 2026;
    synth::RegionCounts counts;
    std::string error;
    if (!synth::WriteSyntheticRegion(region, options, counts, error)) {
      std::fprintf(stderr, "import benchmark: %s\n", error.c_str());
      return 1;
    }
  }
  const std::string work = data_dir + "/import-" + std::to_string(getpid());
  std::filesystem::create_directories(work);
  const std::string database = work + "/grafo.mdb";
  const std::string peer = work + "/grafo.sqlite";

  ScriptedUserInterface ui;
  if (CreateDatabaseFile(database, ui) != CreationResult::Created) return 1;
  RoadGraphImportCounts graph;
  StreetDirectoryCounts directory;
  const auto start = std::chrono::steady_clock::now();
  {
    DbConnection connection(database, ui);
    graph = ImportRoadGraph(connection, region + "/GEO_GRAFO", ui);
    directory = BuildStreetDirectory(connection, ui);
  }
  const double ours = Seconds(start);
  const long long peak = PeakMemory();

  const std::string command = "ogr2ogr -f SQLite " + peer + " " + region + "/GEO_GRAFO.shp 2>/dev/null";
  const auto peer_start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const double theirs = Seconds(peer_start);
  std::filesystem::remove_all(work);
  if (status != 0) {
    std::fprintf(stderr, "import benchmark: ogr2ogr failed (%d); is gdal-bin installed?\n", status);
    return 1;
  }
  for (const RecordedMessage& message : ui.messages()) {
    if (message.icon != MessageIcon::Information) std::fprintf(stderr, "import benchmark: %s\n", message.text.c_str());
  }

  std::printf("import benchmark: %d arcs, %d nodes, %d polylines, %d street types, %d street names\n",
              graph.arcs, graph.nodes, graph.polylines, directory.types, directory.names);
  std::printf("  %-28s %10.2f s\n", "our import-graph", ours);
  std::printf("  %-28s %10.2f s\n", "ogr2ogr -f SQLite", theirs);
  std::printf("  %-28s %10.2f     goal <= 1.0 (above 1.5 not done)\n", "ratio", ours / theirs);
  std::printf("  %-28s %10.1f MB\n", "peak memory (import)", peak / 1e6);
  return 0;
}
