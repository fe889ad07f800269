// The one open database of the program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "db/ConnectionCore.h"
#include "db/Engine.h"
#include "ui/UserInterface.h"

namespace viamappa {

class DbConnection {
 public:
  // Opens the database at path, shared with other processes, read-write unless the command only reads.
  // A failure is shown at once ("Errore in fase di apertura del database") and leaves the connection
  // closed.
  DbConnection(std::string path, UserInterface& ui,
               EngineDatabase::Access access = EngineDatabase::Access::ReadWrite);

  // Closes the database when it is open; a failure is shown.
  ~DbConnection();
  DbConnection(const DbConnection&) = delete;
  DbConnection& operator=(const DbConnection&) = delete;

  bool IsOpen() const { return core_->IsOpen(); }
  const std::string& path() const { return path_; }
  UserInterface& ui() const { return *core_->ui; }

  // The engine of the open database, for the schema builders; null when closed. The builders use this
  // one engine for their queries and their changes alike.
  EngineDatabase* engine() const { return core_->engine.get(); }

  // Closes now; tables and queries still open on it fail from then on. False after showing the error.
  bool Close();

  // How many rows this connection has inserted, changed or deleted since it opened, those of rolled
  // back transactions included: a count that moved tells that something was written. 0 when closed.
  std::int64_t RowsChanged() const;

  const std::shared_ptr<ConnectionCore>& core() const { return core_; }

  // Puts another interface in front of the connection's messages for a while (a batch command's
  // filter, for example); answers the one it replaces, to be put back.
  UserInterface* ReplaceInterface(UserInterface* ui) {
    UserInterface* previous = core_->ui;
    core_->ui = ui;
    return previous;
  }

 private:
  std::string path_;
  std::shared_ptr<ConnectionCore> core_;
};

// Shows the connection's messages through another interface while it lives.
class InterfaceScope {
 public:
  InterfaceScope(DbConnection& connection, UserInterface& ui)
      : connection_(connection), previous_(connection.ReplaceInterface(&ui)) {}
  ~InterfaceScope() { connection_.ReplaceInterface(previous_); }
  InterfaceScope(const InterfaceScope&) = delete;
  InterfaceScope& operator=(const InterfaceScope&) = delete;

 private:
  DbConnection& connection_;
  UserInterface* previous_;
};

}  // namespace viamappa
