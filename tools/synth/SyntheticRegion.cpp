#include "synth/SyntheticRegion.h"

namespace viamappa::synth {

bool WriteSyntheticRegion(const std::string&, const RegionOptions&, RegionCounts& counts,
                          std::string& error) {
  counts = {};
  error = "il generatore della regione sintetica non è ancora disponibile";
  return false;
}

}  // namespace viamappa::synth
