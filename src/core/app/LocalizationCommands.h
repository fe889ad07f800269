// The localization commands of the Utilità menu: arcs in their municipalities and localities, toponyms
// in their municipalities.
#pragma once

#include "app/ApplicationState.h"
#include "ui/UserInterface.h"

namespace viamappa {

class LocalizationCommands {
 public:
  LocalizationCommands(ApplicationState& state, UserInterface& ui) : state_(state), ui_(ui) {}

  // "Localizzazione &Grafo Stradale" (5113) and "Localizzazione &Toponimi" (5121): each runs to its end
  // and shows one final message. False when it was refused or stored nothing.
  bool LocalizeRoadGraph();
  bool LocalizeToponyms();

 private:
  ApplicationState& state_;
  UserInterface& ui_;
};

}  // namespace viamappa
