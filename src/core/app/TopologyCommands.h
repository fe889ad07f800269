// The commands of the Utilità menu that work on the road graph as a whole: "Rigenera &Nodi",
// "Riduzione &Archi spezzati", "&Rinomina Archi del Grafo Stradale" and the check of the graph.
#pragma once

#include <optional>

#include "app/ApplicationState.h"
#include "app/ShellWindow.h"
#include "edit/BrokenArcMerge.h"
#include "edit/GraphValidation.h"
#include "edit/NodeRegeneration.h"
#include "ui/UserInterface.h"

namespace viamappa {

class TopologyCommands {
 public:
  TopologyCommands(ApplicationState& state, UserInterface& ui, ShellWindow& shell)
      : state_(state), ui_(ui), shell_(shell) {}

  // "Rigenera &Nodi" (5127) and "Riduzione &Archi spezzati" (5126): the whole graph in one transaction,
  // ending with the summary; then the routing graph is out of date and the map is built anew. nullopt
  // when nothing was stored (the reason was shown).
  std::optional<NodeRegenerationCounts> RegenerateNodes();
  std::optional<ArcMergeCounts> MergeBrokenArcs();

  // "&Rinomina Archi del Grafo Stradale" (5116): advises to localize the graph first when it is not,
  // then shows the renaming dialog until it is closed.
  void RenameArcs();

  // "&Verifica Grafo Stradale": the findings of the check; nullopt when the graph could not be read.
  std::optional<GraphValidation> ValidateGraph();

 private:
  ApplicationState& state_;
  UserInterface& ui_;
  ShellWindow& shell_;
};

}  // namespace viamappa
