// The commands of the database menu, the background choice and the database part of start-up.
#pragma once

#include <string>

#include "app/ApplicationState.h"
#include "app/SettingsStore.h"
#include "app/ShellWindow.h"
#include "ui/UserInterface.h"

namespace viamappa {

inline constexpr const char* kDefaultDatabaseName = "Viamappa.MDB";

class DatabaseLifecycle {
 public:
  DatabaseLifecycle(ApplicationState& state, UserInterface& ui, ShellWindow& shell,
                    const SettingsStore& settings)
      : state_(state), ui_(ui), shell_(shell), settings_(settings) {}

  // "&Crea" (5103): a new database, not associated.
  void Create();
  // "&Connetti" (5104): associates the chosen database.
  void Connect();
  // "&Sconnetti" (5105): after confirmation, no database is associated.
  void Disconnect();
  // "&Ripara" (5106): repairs a file in place.
  void Repair();
  // "&Duplica" (5107): a compacted copy of a database.
  void Duplicate();
  // "&Sfondo Cartografico" (5110): the background cartography file.
  void ChooseBackground();

  // Start-up without an associated database: offers to create the default one. False only when the user
  // agreed and the database could not be created, and the program must end.
  bool AskCreateAtStartup();

  // Creates "Viamappa.MDB" in the installation directory and associates it. False only when the file or
  // its dictionary could not be created.
  bool CreateDefaultDatabase();

  // Opens the associated database; on failure forgets it.
  void ConnectAtStartup();

  // Where the default database goes: the installation directory when it can take a new file, else the
  // user's data folder ($XDG_DATA_HOME/Viamappa, default ~/.local/share/Viamappa), created if needed.
  static std::string DefaultDatabaseFolder(const std::string& installation_directory);

 private:
  void RebuildMapIfConnected();

  ApplicationState& state_;
  UserInterface& ui_;
  ShellWindow& shell_;
  const SettingsStore& settings_;
};

}  // namespace viamappa
