// What the benchmarks share: clocks, the memory of the process, the generated million-arc region and
// the one-line form of a figure that scripts read.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/ScriptedUserInterface.h"

namespace viamappa::bench {

// Seconds and milliseconds since a point of the steady clock.
double Seconds(std::chrono::steady_clock::time_point since);
double Milliseconds(std::chrono::steady_clock::time_point since);

// Resident memory of the process in bytes: now, and the peak since the start or the last reset.
long long CurrentMemory();
long long PeakMemory();
void ResetPeakMemory();

// The folder of the generated region of that many arcs (1,500 municipalities, 5,000 localities, seed
// 2026) under data_dir, written the first time it is asked for. Empty when it cannot be written.
std::string GeneratedRegion(const std::string& data_dir, long long arcs, const char* benchmark);

// A database of the generated region of that many arcs with its road graph, municipalities and
// localities imported and nothing localized, under data_dir, made the first time it is asked for.
// Benchmarks that change it work on a copy. Empty when it cannot be made.
std::string GeneratedDatabase(const std::string& data_dir, long long arcs, const char* benchmark);

// What a benchmark's database holds besides the region's road graph.
struct ImportedParts {
  bool street_directory = false;
  bool areas = false;  // municipalities and localities
  bool toponyms = false;
};

// The database at path with the region's road graph and the parts asked for, imported the first time
// it is asked for under another name and moved into place only when whole. False when an import
// stored nothing.
bool ImportedDatabase(const std::string& region, const std::string& path, ImportedParts parts,
                      const char* benchmark);

// A user interface that notes when each phase of a long command begins.
class PhaseClock : public ScriptedUserInterface {
 public:
  void ProgressPhase(std::string_view phase) override;
  // Each phase with its seconds, the last one until end.
  void PrintPhases(std::chrono::steady_clock::time_point end) const;

  std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> starts;
};

// One measured figure: ours, the peer's from the same run when there is one, and the goal.
struct Figure {
  std::string name;  // lower-case "benchmark.figure"
  double ours = 0;
  std::string unit;  // "s", "ms", "MB"
  std::optional<double> peer;
  std::string goal;  // without spaces, e.g. "ratio<=1.0" or "<3s"; "none" when empty
  int decimals = 2;
};

// Prints the figure as one line on standard output, whatever the locale:
//   bench: NAME ours=VALUE UNIT [peer=VALUE UNIT] [ratio=R] goal=TEXT
// The ratio ours / peer is there when the peer's figure is above zero.
void PrintFigure(const Figure& figure);

}  // namespace viamappa::bench
