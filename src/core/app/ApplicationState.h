// What the main window keeps for the whole run about the database: the connection and the two paths.
#pragma once

#include <memory>
#include <string>

#include "db/DbConnection.h"

namespace viamappa {

struct ApplicationState {
  std::unique_ptr<DbConnection> connection;  // none when no database is associated
  std::string database_path;                 // empty when none
  std::string background_path;               // empty when none

  bool connected() const { return connection && connection->IsOpen(); }
};

// The title of the main window: the program's name, and " Database non associato" without a database.
std::string MainWindowTitle(bool connected);

}  // namespace viamappa
