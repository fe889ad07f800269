#include "app/DatabaseCreation.h"

#include <cstdio>

#include "db/DataDictionary.h"
#include "db/DatabaseFileSwap.h"
#include "db/DbBatch.h"
#include "db/DbConnection.h"
#include "db/DbTable.h"
#include "db/Engine.h"
#include "db/RoadNetworkSchema.h"

namespace viamappa {

namespace {

constexpr const char* kCaption = "Creazione database";

// Writes the dictionary rows, builds the tables and the relations from them, then writes the seed rows
// through a fresh connection. False after the failing step has been shown.
bool BuildRoadNetwork(const std::string& path, UserInterface& ui) {
  {
    DbConnection connection(path, ui);
    if (!connection.IsOpen()) return false;
    {
      DbBatch batch(connection);
      DbTable tavole(connection, "tavole"), campi(connection, "campi"), indici(connection, "indici"),
          indici2(connection, "indici2"), relaz(connection, "relaz"), relaz2(connection, "relaz2");
      for (const DbTable* table : {&tavole, &campi, &indici, &indici2, &relaz, &relaz2}) {
        if (!table->IsOpen()) return false;
      }
      if (!WriteRoadNetworkDictionary({tavole, campi, indici, indici2, relaz, relaz2})) return false;
    }
    DbBatch batch(connection);
    if (!CreateAllTables(connection, *connection.engine()) ||
        !CreateRelations(connection, *connection.engine()))
      return false;
  }
  DbConnection connection(path, ui);
  if (!connection.IsOpen()) return false;
  DbBatch batch(connection);
  return WriteSeedRows(connection);
}

// Removes a file being built, and the engine's side files beside it.
void RemoveBuildingFile(const std::string& building) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) std::remove((building + suffix).c_str());
}

}  // namespace

CreationResult CreateDatabaseFile(const std::string& path, UserInterface& ui) {
  const std::string failed = "Errore durante la creazione del database " + path + "\n\n";
  std::string error;
  if (DatabaseFileInUse(path)) {
    ui.ShowMessage(
        failed + "Il file " + path + " è in uso da un altro programma e non può essere sostituito.",
        MessageIcon::Warning, kCaption);
    ui.ShowMessage(failed, MessageIcon::Warning, kCaption);
    return CreationResult::FileFailed;
  }
  const std::string building = path + ".creazione";
  RemoveBuildingFile(building);
  {
    auto database = EngineDatabase::Create(building, kGeneralLocale, error);
    if (!database) {
      ui.ShowMessage(failed + error, MessageIcon::Warning, kCaption);
      ui.ShowMessage(failed, MessageIcon::Warning, kCaption);
      return CreationResult::FileFailed;
    }
    if (!CreateDictionary(*database, ui)) {
      database.reset();
      RemoveBuildingFile(building);
      ui.ShowMessage(failed, MessageIcon::Warning, kCaption);
      return CreationResult::DictionaryFailed;
    }
  }
  if (!BuildRoadNetwork(building, ui)) {
    RemoveBuildingFile(building);
    return CreationResult::Incomplete;
  }
  if (!ReplaceDatabaseFile(building, path, error)) {
    RemoveBuildingFile(building);
    ui.ShowMessage(failed + error, MessageIcon::Warning, kCaption);
    return CreationResult::Incomplete;
  }
  ui.ShowMessage("Il database " + path + " è stato creato con successo\n\n", MessageIcon::Information,
                 kCaption);
  return CreationResult::Created;
}

}  // namespace viamappa
