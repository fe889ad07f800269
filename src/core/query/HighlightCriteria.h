// The criteria of road highlighting: five road classes and nine states of change, and the condition on
// archi that a set of them makes. Classes are OR-ed among themselves; the class group and each state
// are AND-ed.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace viamappa {

// In the order the condition is written: the classes, then the states.
enum class HighlightCriterion : std::size_t {
  StateRoads,       // SS
  RegionalRoads,    // SR
  ProvincialRoads,  // SP
  MunicipalRoads,   // SC
  ProjectRoads,     // PR
  Verified,
  ToVerify,
  Added,
  NameChanged,
  GeometryChanged,
  Deleted,
  Square,
  WithoutName,
  AlternativeName,
};

inline constexpr std::size_t kHighlightCriteria = 14;

struct HighlightCriterionInfo {
  HighlightCriterion criterion;
  int control;                 // the check box's id in the dialog
  std::string_view label;      // the check box's text
  std::string_view classe;     // the class code, for the five classes; empty for the states
  std::string_view condition;  // the condition of a state; empty for the classes
};

// The criteria in condition order.
const std::array<HighlightCriterionInfo, kHighlightCriteria>& HighlightCriteriaTable();

// Which criteria are on.
using HighlightFlags = std::array<bool, kHighlightCriteria>;

inline bool& Flag(HighlightFlags& flags, HighlightCriterion c) {
  return flags[static_cast<std::size_t>(c)];
}
inline bool Flag(const HighlightFlags& flags, HighlightCriterion c) {
  return flags[static_cast<std::size_t>(c)];
}

// The condition W of the criteria that are on, in the Jet dialect; empty when none is on. The ticked
// classes as "(classe = 'SS' OR classe = 'SC')", then each ticked state, " AND " between the parts.
std::string HighlightCondition(const HighlightFlags& flags);

}  // namespace viamappa
