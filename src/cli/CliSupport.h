// Small pieces shared by the command files of viamappa-cli.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "app/ApplicationState.h"
#include "db/DbConnection.h"
#include "ui/ConsoleUserInterface.h"

namespace viamappa::cli {

// Prints the synopsis of a command used wrongly; returns the status of bad usage.
inline int Usage(const char* synopsis) {
  std::fprintf(stderr, "Uso: viamappa-cli %s\n", synopsis);
  return 2;
}

// Connects the state to the database named on the command line; false after the connection's
// message when it cannot be opened.
inline bool OpenDatabase(const std::string& path, ConsoleUserInterface& ui, ApplicationState& state) {
  state.database_path = path;
  state.connection = std::make_unique<DbConnection>(path, ui);
  return state.connected();
}

}  // namespace viamappa::cli
