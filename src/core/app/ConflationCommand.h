// The command "Import Grafo &Secondario" (5125): a secondary road graph conflated into the primary one.
#pragma once

#include "app/ApplicationState.h"
#include "app/ShellWindow.h"
#include "io/Conflation.h"
#include "ui/UserInterface.h"

namespace viamappa {

class ConflationCommand {
 public:
  ConflationCommand(ApplicationState& state, UserInterface& ui, ShellWindow& shell)
      : state_(state), ui_(ui), shell_(shell) {}

  // Refuses without a primary graph; asks for the ".shp" file and the snap factor, runs the
  // conflation, then has the map rebuilt (also when the snap factor was not given or the file was not a
  // ".shp"). True when the conflation ran and stored its rows; result, when given, receives its
  // decisions.
  bool ImportSecondaryGraph(ConflationResult* result = nullptr);

 private:
  ApplicationState& state_;
  UserInterface& ui_;
  ShellWindow& shell_;
};

}  // namespace viamappa
