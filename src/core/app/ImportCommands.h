// The commands of the Import menu: road graph, municipalities, localities and toponyms.
#pragma once

#include <string_view>

#include "app/ApplicationState.h"
#include "app/ShellWindow.h"
#include "ui/UserInterface.h"

namespace viamappa {

class ImportCommands {
 public:
  ImportCommands(ApplicationState& state, UserInterface& ui, ShellWindow& shell)
      : state_(state), ui_(ui), shell_(shell) {}

  // "Import &Grafo Stradale" (5112), "Import &Comuni" (5108), "Import &Località" (5109),
  // "Import &Toponimi" (5120). Each refuses when its data are loaded already, asks for the file and ends
  // with its summary message. Everything the summary reports is stored, or nothing is and the command
  // says so. False when the command was refused, cancelled or failed, or stored the file only in part
  // (some records refused, or a file that is no shapefile).
  bool ImportRoadGraph();
  bool ImportMunicipalities();
  bool ImportLocalities();
  bool ImportToponyms();

 private:
  bool HasRows(std::string_view table, const char* where);
  template <typename Refused, typename Import>
  bool RunImport(Refused refused, Import import);
  bool ImportAreaSet(bool municipalities);

  ApplicationState& state_;
  UserInterface& ui_;
  ShellWindow& shell_;
};

}  // namespace viamappa
