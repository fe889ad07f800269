// How the five editable layers are drawn, as the program keeps it between runs.
#pragma once

#include <cstdint>

namespace viamappa {

// The styling values in the order the main window holds them. Colours are 0x00BBGGRR values; a scale
// threshold of -1 means none.
struct MapStyling {
  std::int32_t lin_loc = 2;              // line width of localities
  std::int32_t col_loc = 0x000080FF;     // line colour of localities
  std::int32_t fore_loc = 0x00FF8000;    // hatch colour of localities
  std::int32_t min_loc = 10000;          // minimum scale of localities
  std::int32_t max_loc = -1;             // maximum scale of localities
  std::int32_t lin_comuni = 4;           // line width of municipalities
  std::int32_t col_comuni = 0x00C0C0FF;  // line colour of municipalities
  std::int32_t min_comuni = 25000;       // minimum scale of municipalities
  std::int32_t max_comuni = -1;          // maximum scale of municipalities
  std::int32_t sym_nodi = 1;             // symbol of nodes
  std::int32_t min_nodi = -1;            // minimum scale of nodes
  std::int32_t max_nodi = 50000;         // maximum scale of nodes
  std::int32_t lin_archi = 2;            // line width of arcs
  std::int32_t col_archi = 0x008080FF;   // line colour of arcs
  std::int32_t min_archi = -1;           // minimum scale of arcs
  std::int32_t max_archi = 100000;       // maximum scale of arcs
  std::int32_t col_vie = 0x00408040;     // colour of street names
  std::int32_t min_vie = -1;             // minimum scale of street names
  std::int32_t max_vie = 100000;         // maximum scale of street names

  bool operator==(const MapStyling&) const = default;
};

}  // namespace viamappa
