// The commands that write the road graph out: the three shapefile exports of the Export menu and the
// street list of the Utilità menu.
#pragma once

#include "app/ApplicationState.h"
#include "io/GraphExport.h"
#include "ui/UserInterface.h"

namespace viamappa {

class ExportCommands {
 public:
  ExportCommands(ApplicationState& state, UserInterface& ui) : state_(state), ui_(ui) {}

  // "Export &Grafo Stradale" (5117), "Export &Comunicazione Grafo" (5118, refused when no arc was
  // renamed, changed or added) and "Export Grafo (&Tramex)" (5128): each asks for the ".shp" file,
  // writes the set and ends with the number of arcs exported. False when refused, cancelled or failed.
  bool ExportRoadGraph() { return ExportShapefile(GraphExportKind::RoadGraph); }
  bool ExportChanges() { return ExportShapefile(GraphExportKind::Changes); }
  bool ExportTramex() { return ExportShapefile(GraphExportKind::Tramex); }

  // "&Elenco Stradario" (5119): the street list dialog, then the text file and the number of rows.
  bool ExportStreetList();

 private:
  bool ExportShapefile(GraphExportKind kind);

  ApplicationState& state_;
  UserInterface& ui_;
};

}  // namespace viamappa
