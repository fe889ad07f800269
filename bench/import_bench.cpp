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

#include "BenchSupport.h"
#include "app/DatabaseCreation.h"
#include "db/DbConnection.h"
#include "io/RoadGraphImport.h"
#include "io/StreetDirectory.h"
#include "ui/ScriptedUserInterface.h"

int main(int argc, char** argv) {
  using namespace viamappa;
  long long arcs = 1000000;
  std::string data_dir = "build/bench-data";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--arcs") == 0) arcs = std::atoll(argv[i + 1]);
    if (std::strcmp(argv[i], "--data") == 0) data_dir = argv[i + 1];
  }
  const std::string region = bench::GeneratedRegion(data_dir, arcs, "import");
  if (region.empty()) return 1;
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
  const double ours = bench::Seconds(start);
  const long long peak = bench::PeakMemory();

  const std::string command = "ogr2ogr -f SQLite " + peer + " " + region + "/GEO_GRAFO.shp 2>/dev/null";
  const auto peer_start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const double theirs = bench::Seconds(peer_start);
  std::filesystem::remove_all(work);
  if (status != 0) {
    std::fprintf(stderr, "import benchmark: ogr2ogr failed (%d); is gdal-bin installed?\n", status);
    return 1;
  }
  for (const RecordedMessage& message : ui.messages()) {
    if (message.icon != MessageIcon::Information)
      std::fprintf(stderr, "import benchmark: %s\n", message.text.c_str());
  }

  std::printf("import benchmark: %d arcs, %d nodes, %d polylines, %d street types, %d street names\n",
              graph.arcs, graph.nodes, graph.polylines, directory.types, directory.names);
  std::printf("  %-28s %10.2f s\n", "our import-graph", ours);
  std::printf("  %-28s %10.2f s\n", "ogr2ogr -f SQLite", theirs);
  std::printf("  %-28s %10.2f     goal <= 1.0 (above 1.5 not done)\n", "ratio", ours / theirs);
  std::printf("  %-28s %10.1f MB\n", "peak memory (import)", peak / 1e6);
  bench::PrintFigure({"import.graph", ours, "s", theirs, "ratio<=1.0"});
  bench::PrintFigure({"import.memory", peak / 1e6, "MB", std::nullopt, "", 1});
  return 0;
}
