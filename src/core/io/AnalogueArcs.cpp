#include "io/AnalogueArcs.h"

namespace viamappa::conflation {

std::vector<Box> PrimaryExtents(const ConflationState& state) {
  std::vector<Box> extents;
  extents.reserve(state.primary.size());
  for (const PrimaryArc& arc : state.primary) extents.push_back(arc.extent);
  return extents;
}

void FindCoveredPrimaryArcs(ConflationState& state, const BoxIndex& index, ProgressDisplay& progress) {
  progress.SetPhase("Identificazione Archi Analoghi - Fase I");
  const double snap = state.snap;
  std::vector<SecondaryArc>& secondary = state.secondary;
  const std::vector<PrimaryArc>& primary = state.primary;
  const auto qualifies = [&](const PrimaryArc& p, const SecondaryArc& s) {
    return OverlapsWithMargin(s.line.box(), p.own.line.box(), snap) &&
           LiesAlong(p.own.line, s.line, snap, state.search);
  };
  if (state.search == Search::Scan) {
    for (std::size_t i = 0; i < primary.size(); ++i) {
      for (SecondaryArc& s : secondary) {
        if (s.has_geometry && s.analogues.empty() && qualifies(primary[i], s))
          s.analogues.push_back(static_cast<std::int32_t>(i));
      }
      progress.SetProgress(static_cast<long long>(i) + 1, static_cast<long long>(primary.size()));
    }
    return;
  }
  // Each secondary arc takes the first primary arc that qualifies, whatever the others do: its
  // neighbours in primary order are all the scan could have given it.
  std::vector<std::int32_t> candidates;
  for (std::size_t k = 0; k < secondary.size(); ++k) {
    SecondaryArc& s = secondary[k];
    progress.SetProgress(static_cast<long long>(k) + 1, static_cast<long long>(secondary.size()));
    if (!s.has_geometry) continue;
    index.Query(Grown(s.line.box(), SearchMargin(snap)), candidates);
    for (const std::int32_t i : candidates) {
      if (qualifies(primary[static_cast<std::size_t>(i)], s)) {
        s.analogues.push_back(i);
        break;
      }
    }
  }
}

void FindCoveringPrimaryArcs(ConflationState& state, const BoxIndex& index, ProgressDisplay& progress) {
  progress.SetPhase("Identificazione Archi Analoghi - Fase II");
  const double snap = state.snap;
  std::vector<SecondaryArc>& secondary = state.secondary;
  const std::vector<PrimaryArc>& primary = state.primary;
  std::vector<std::int32_t> candidates;
  for (std::size_t k = 0; k < secondary.size(); ++k) {
    SecondaryArc& s = secondary[k];
    progress.SetProgress(static_cast<long long>(k) + 1, static_cast<long long>(secondary.size()));
    if (!s.has_geometry || !s.analogues.empty()) continue;
    if (state.search == Search::Scan) {
      candidates.resize(primary.size());
      for (std::size_t i = 0; i < primary.size(); ++i) candidates[i] = static_cast<std::int32_t>(i);
    } else {
      index.Query(Grown(s.line.box(), SearchMargin(snap)), candidates);
    }
    for (const std::int32_t i : candidates) {
      const PrimaryArc& p = primary[static_cast<std::size_t>(i)];
      if (OverlapsWithMargin(p.own.line.box(), s.line.box(), snap) &&
          LiesAlong(s.line, p.own.line, snap, state.search))
        s.analogues.push_back(i);
    }
  }
}

}  // namespace viamappa::conflation
