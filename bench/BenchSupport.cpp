#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/DatabaseCreation.h"
#include "base/NumberText.h"
#include "db/DbConnection.h"
#include "io/AreaImport.h"
#include "io/RoadGraphImport.h"
#include "io/StreetDirectory.h"
#include "io/ToponymImport.h"
#include "synth/SyntheticRegion.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa::bench {

namespace {

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
long long StatusValue(const char* name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(name) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) == 0) return std::atoll(line.c_str() + prefix.size()) * 1024;
  }
  return 0;
}

}  // namespace

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

long long CurrentMemory() {
  return StatusValue("VmRSS");
}
long long PeakMemory() {
  return StatusValue("VmHWM");
}
void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

std::string GeneratedRegion(const std::string& data_dir, long long arcs, const char* benchmark) {
  const std::string region = data_dir + "/region-" + std::to_string(arcs);
  if (std::filesystem::exists(region + "/GEO_GRAFO.shp")) return region;
  std::fprintf(stderr, "%s benchmark: generating %lld arcs into %s (once)\n", benchmark, arcs,
               region.c_str());
  synth::RegionOptions options;
  options.arcs = arcs;
  options.comuni = 1500;
  options.localita = 5000;
  options.seed = 2026;
  synth::RegionCounts counts;
  std::string error;
  if (synth::WriteSyntheticRegion(region, options, counts, error)) return region;
  std::fprintf(stderr, "%s benchmark: %s\n", benchmark, error.c_str());
  return {};
}

std::string GeneratedDatabase(const std::string& data_dir, long long arcs, const char* benchmark) {
  const std::string region = GeneratedRegion(data_dir, arcs, benchmark);
  if (region.empty()) return {};
  const std::string database = region + "/regione.mdb";
  if (!ImportedDatabase(region, database, {.areas = true}, benchmark)) return {};
  return database;
}

bool ImportedDatabase(const std::string& region, const std::string& path, ImportedParts parts,
                      const char* benchmark) {
  if (std::filesystem::exists(path)) return true;
  std::fprintf(stderr, "%s benchmark: importing %s into %s (once)\n", benchmark, region.c_str(),
               path.c_str());
  const std::string partial = path + ".partial";
  std::filesystem::remove(partial);
  ScriptedUserInterface ui;
  if (CreateDatabaseFile(partial, ui) != CreationResult::Created) return false;
  {
    DbConnection connection(partial, ui);
    bool stored = ImportRoadGraph(connection, region + "/GEO_GRAFO", ui).arcs > 0;
    if (stored && parts.street_directory) BuildStreetDirectory(connection, ui);
    if (stored && parts.areas) {
      stored = ImportAreas(connection, AreaKind::Municipalities, region + "/COMUNI", ui).inserted > 0 &&
               ImportAreas(connection, AreaKind::Localities, region + "/LOCALITA", ui).inserted > 0;
    }
    if (stored && parts.toponyms) ImportToponyms(connection, region + "/toponimi.txt", ui);
    if (!stored) {
      std::fprintf(stderr, "%s benchmark: the import of %s failed\n", benchmark, region.c_str());
      return false;
    }
  }
  std::filesystem::rename(partial, path);
  return true;
}

void PhaseClock::ProgressPhase(std::string_view phase) {
  ScriptedUserInterface::ProgressPhase(phase);
  starts.emplace_back(std::string(phase), std::chrono::steady_clock::now());
}

void PhaseClock::PrintPhases(std::chrono::steady_clock::time_point end) const {
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const auto until = i + 1 < starts.size() ? starts[i + 1].second : end;
    std::printf("  %-52s %8.2f s\n", starts[i].first.c_str(),
                std::chrono::duration<double>(until - starts[i].second).count());
  }
}

void PrintFigure(const Figure& figure) {
  std::string line =
      "bench: " + figure.name + " ours=" + FormatFixed(figure.ours, figure.decimals) + " " + figure.unit;
  if (figure.peer) {
    line += " peer=" + FormatFixed(*figure.peer, figure.decimals) + " " + figure.unit;
    if (*figure.peer > 0) line += " ratio=" + FormatFixed(figure.ours / *figure.peer, 2);
  }
  line += " goal=" + (figure.goal.empty() ? std::string("none") : figure.goal);
  std::printf("%s\n", line.c_str());
}

}  // namespace viamappa::bench
