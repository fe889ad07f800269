#include "db/DbConnection.h"

#include "db/Sqlite.h"

namespace viamappa {

DbConnection::DbConnection(std::string path, UserInterface& ui, EngineDatabase::Access access)
    : path_(std::move(path)), core_(std::make_shared<ConnectionCore>(ui)) {
  std::string error;
  core_->engine = EngineDatabase::Open(path_, error, access);
  if (!core_->engine) {
    ui.ShowMessage("Errore in fase di apertura del database\n\n" + error, MessageIcon::Stop);
    return;
  }
  ConnectionCore* core = core_.get();
  core_->engine->SetBeforeWrite([core] { core->BeforeWrite(); });
}

DbConnection::~DbConnection() {
  Close();
}

std::int64_t DbConnection::RowsChanged() const {
  return IsOpen() ? sqlite3_total_changes64(core_->engine->handle()) : 0;
}

bool DbConnection::Close() {
  if (!core_->engine) return true;
  core_->BeforeWrite();
  std::unique_ptr<EngineDatabase> engine = std::move(core_->engine);
  core_->batch_depth = 0;
  std::string error;
  if (!engine->Close(error)) {
    core_->ui->ShowMessage("Errore in fase di sconnessione del data base\n\n" + error, MessageIcon::Stop);
    return false;
  }
  return true;
}

}  // namespace viamappa
