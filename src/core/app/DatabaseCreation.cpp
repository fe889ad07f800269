#include "app/DatabaseCreation.h"

#include "db/DataDictionary.h"
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

}  // namespace

CreationResult CreateDatabaseFile(const std::string& path, UserInterface& ui) {
  const std::string failed = "Errore durante la creazione del database " + path + "\n\n";
  {
    std::string error;
    auto database = EngineDatabase::Create(path, kGeneralLocale, error);
    if (!database) {
      ui.ShowMessage(failed + error, MessageIcon::Warning, kCaption);
      ui.ShowMessage(failed, MessageIcon::Warning, kCaption);
      return CreationResult::FileFailed;
    }
    if (!CreateDictionary(*database, ui)) {
      ui.ShowMessage(failed, MessageIcon::Warning, kCaption);
      return CreationResult::DictionaryFailed;
    }
  }
  if (!BuildRoadNetwork(path, ui)) return CreationResult::Incomplete;
  ui.ShowMessage("Il database " + path + " è stato creato con successo\n\n", MessageIcon::Information,
                 kCaption);
  return CreationResult::Created;
}

}  // namespace viamappa
