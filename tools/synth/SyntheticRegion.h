// A synthetic region for tests and benchmarks: a road graph, municipality and locality boundaries as
// shapefiles and a toponym file, all drawn from one seed so that the same seed gives the same bytes.
#pragma once

#include <cstdint>
#include <string>

namespace viamappa::synth {

struct RegionOptions {
  std::int64_t arcs = 10000;
  std::int32_t comuni = 20;
  std::int32_t localita = 60;
  std::uint64_t seed = 1;
  std::int64_t side_metres = 100000;  // the region is a square of this side
};

// What was written, as the generator designed it.
struct RegionCounts {
  std::int64_t arcs = 0;
  std::int64_t nodes = 0;      // distinct arc end points
  std::int64_t dead_ends = 0;  // end points that only one arc end reaches
  std::int64_t closed_arcs = 0;
  std::int64_t multi_part_arcs = 0;
  std::int32_t comuni = 0;
  std::int32_t localita = 0;
  std::int64_t toponyms = 0;         // lines after the header
  std::int64_t loaded_toponyms = 0;  // of them, the MISC and CS ones
};

// Writes into out_dir (created when missing): GEO_GRAFO.shp/.shx/.dbf (polylines), COMUNI.* and LOCALITA.*
// (polygons) and toponimi.txt. False with a description in error when a file cannot be written or the
// options are out of range.
bool WriteSyntheticRegion(const std::string& out_dir, const RegionOptions& options, RegionCounts& counts,
                          std::string& error);

}  // namespace viamappa::synth
