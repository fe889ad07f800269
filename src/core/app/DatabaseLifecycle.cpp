#include "app/DatabaseLifecycle.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/DatabaseCreation.h"
#include "app/DatabaseFiles.h"
#include "base/NumberText.h"
#include "db/DatabaseFileSwap.h"
#include "db/Engine.h"
#include "db/SchemaCatalog.h"

namespace viamappa {

namespace {

constexpr const char* kDatabaseFilter = "Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||";

FileChoice DatabaseChoice(const char* title, bool open) {
  FileChoice choice;
  choice.title = title;
  choice.filter = kDatabaseFilter;
  choice.default_extension = "MDB";
  choice.default_name = "*.MDB";
  choice.must_exist = open;
  choice.confirm_overwrite = !open;
  return choice;
}

std::string Rows(std::int64_t count, const char* one, const char* many) {
  return FormatInteger(count) + (count == 1 ? " riga " + std::string(one) : " righe " + std::string(many));
}

// What a repair left behind, one line a table.
std::string RepairLossText(const RepairReport& report) {
  std::string text;
  for (const RepairedTable& table : report.tables) {
    std::string line;
    if (table.lost_uncounted) {
      line = table.lost > 0 ? "almeno " + Rows(table.lost, "non leggibile", "non leggibili")
                            : "righe non leggibili in numero non noto";
    } else if (table.lost > 0) {
      line = Rows(table.lost, "non leggibile", "non leggibili");
    }
    if (table.moved > 0)
      line += (line.empty() ? "" : ", ") + Rows(table.moved, "spostata", "spostate") + " in " +
              std::string(kRecoveredTable);
    text += (text.empty() ? "" : "\n") + table.table + ": " + line;
  }
  return text;
}

}  // namespace

void DatabaseLifecycle::RebuildMapIfConnected() {
  if (state_.connected()) shell_.RebuildMap();
}

void DatabaseLifecycle::Create() {
  constexpr const char* kCaption = "Creazione database";
  const auto path = ui_.ChooseSaveFile(DatabaseChoice("Creazione Nuovo Database", false));
  if (!path) return;
  // Replacing the open database would destroy the file under the program's own feet.
  if (state_.connection && SameFile(*path, state_.database_path)) {
    ui_.ShowMessage("Il database " + *path +
                        " è il database associato e non può essere sostituito da un nuovo database.\n\n"
                        "Sconnettere il database prima di crearne uno nuovo con lo stesso nome.",
                    MessageIcon::Warning, kCaption);
    return;
  }
  ui_.BeginBusy(true);
  // The person agreed to replace an existing file in the save dialog: the new file takes its place when
  // it is complete.
  CreateDatabaseFile(*path, ui_);
}

void DatabaseLifecycle::Connect() {
  const auto path = ui_.ChooseOpenFile(DatabaseChoice("Selezione del Database", true));
  if (!path) return;
  // The map goes before its database closes, so that nothing of it outlives the connection.
  shell_.DropMap();
  state_.connection.reset();
  state_.database_path = *path;
  ConnectAtStartup();
  shell_.UpdateTitle();
  RebuildMapIfConnected();
  shell_.Redraw();
}

void DatabaseLifecycle::Disconnect() {
  if (ui_.AskOkCancel("Confermi sconnessione database ?", "Sconnessione Database")) {
    shell_.DiscardMap();
    state_.connection.reset();
    state_.database_path.clear();
    shell_.UpdateTitle();
  }
  shell_.Redraw();
}

void DatabaseLifecycle::Repair() {
  constexpr const char* kCaption = "Riparazione database";
  const auto path = ui_.ChooseOpenFile(DatabaseChoice("Riparazione del Database", true));
  if (!path) return;
  ui_.BeginBusy(true);
  std::string error;
  RepairReport report;
  const bool repaired = RepairDatabase(*path, ProgramCatalog(), report, error);
  // A failure after the file was rebuilt still tells what the rebuilding left behind.
  const std::string losses = report.tables.empty() ? "" : "\n\n" + RepairLossText(report);
  std::string rebuilt;
  for (const std::string& thing : report.rebuilt)
    rebuilt += (rebuilt.empty() ? "\n\nRicostruiti: " : ", ") + thing;
  if (!repaired) {
    ui_.ShowMessage("Errore durante la riparazione del database\n\n" + *path + "\n\n" + error + losses,
                    MessageIcon::Warning, kCaption);
  } else if (!report.tables.empty() || !report.rebuilt.empty()) {
    const bool lost = std::any_of(report.tables.begin(), report.tables.end(), [](const RepairedTable& table) {
      return table.lost > 0 || table.lost_uncounted;
    });
    ui_.ShowMessage(std::string(lost ? "Riparazione completata con perdite" : "Riparazione completata") +
                        "\n\n" + *path + losses + rebuilt,
                    lost ? MessageIcon::Warning : MessageIcon::Information, kCaption);
  }
}

void DatabaseLifecycle::Duplicate() {
  constexpr const char* kCaption = "Duplicazione database";
  const auto source = ui_.ChooseOpenFile(DatabaseChoice("Selezione del Database di origine", true));
  if (!source) return;
  const auto destination =
      ui_.ChooseSaveFile(DatabaseChoice("Selezione del Database di destinazione", false));
  if (!destination) return;
  if (SameFile(*source, *destination)) {
    ui_.ShowMessage("Il database di destinazione coincide con quello di origine:\n" + *destination,
                    MessageIcon::Warning, kCaption);
    return;
  }
  if (state_.connection && SameFile(*destination, state_.database_path)) {
    ui_.ShowMessage("Il database " + *destination + " è il database associato e non può essere sostituito.",
                    MessageIcon::Warning, kCaption);
    return;
  }
  ui_.BeginBusy(true);
  const auto failed = [&](const std::string& description) {
    ui_.ShowMessage("Errore durante la duplicazione del database\n\n" + *source + "\n" + *destination +
                        "\n\n" + description,
                    MessageIcon::Warning, kCaption);
  };
  // The copy is written beside the destination and takes its place only when complete, so that a failed
  // copy never destroys an existing destination.
  const std::string copy = *destination + ".duplicazione";
  std::string error;
  if (DatabaseFileInUse(*destination))
    return failed("Il file " + *destination + " è in uso da un altro programma e non può essere sostituito.");
  RemoveDatabaseFile(copy, error);
  if (!CompactDatabase(*source, copy, kGeneralLocale, error)) {
    RemoveDatabaseFile(copy, error);
    return failed(error);
  }
  if (!ReplaceDatabaseFile(copy, *destination, error)) {
    std::string ignored;
    RemoveDatabaseFile(copy, ignored);
    return failed(error);
  }
}

void DatabaseLifecycle::ChooseBackground() {
  FileChoice choice;
  choice.title = "Selezione dello sfondo SFX/SFW";
  choice.filter =
      "Cartografia di sfondo VORN|*.sfx|Ortofotocarta di sfondo VORN|*.sfw|Tutti i files (*.*)|*.*||";
  choice.default_extension = "sfx";
  choice.default_name = "*.sfx";
  choice.must_exist = true;
  const auto path = ui_.ChooseOpenFile(choice);
  if (!path) return;
  state_.background_path = *path;
  shell_.DropMap();
  RebuildMapIfConnected();
  shell_.Redraw();
}

bool DatabaseLifecycle::AskCreateAtStartup() {
  const bool create = ui_.AskOkCancel(
      "L'applicazione Viamappa non è associata ad un database.\n\n"
      "Prima di iniziare ad operare con Viamappa è necessario\n"
      "creare un database vuoto oppure occorre associare un\n"
      "database già esistente.\n\n"
      "Intendi procedere alla creazione di un nuovo database ?");
  return !create || CreateDefaultDatabase();
}

std::string DatabaseLifecycle::DefaultDatabaseFolder(const std::string& installation_directory) {
  if (FolderIsWritable(installation_directory)) return installation_directory;
  namespace fs = std::filesystem;
  const char* data_home = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  fs::path base;
  if (data_home && fs::path(data_home).is_absolute()) {
    base = data_home;
  } else if (home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    base = fs::temp_directory_path();
  }
  const fs::path folder = base / "Viamappa";
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  return folder.string();
}

bool DatabaseLifecycle::CreateDefaultDatabase() {
  const std::string folder = DefaultDatabaseFolder(settings_.ReadDirectory(ui_));
  const std::string path = (std::filesystem::path(folder) / kDefaultDatabaseName).string();
  ui_.BeginBusy(true);
  // A default database left by an earlier run is associated, never overwritten.
  if (FileExists(path)) {
    std::string error;
    if (EngineDatabase::Open(path, error)) {
      ui_.ShowMessage("Il database " + path + " esiste già e viene associato all'applicazione.",
                      MessageIcon::Information, "Creazione database");
      state_.database_path = path;
      return true;
    }
  }
  const CreationResult result = CreateDatabaseFile(path, ui_);
  if (result == CreationResult::Created) state_.database_path = path;
  return result != CreationResult::FileFailed && result != CreationResult::DictionaryFailed;
}

void DatabaseLifecycle::ConnectAtStartup() {
  if (state_.database_path.empty()) return;
  auto connection = std::make_unique<DbConnection>(state_.database_path, ui_);
  if (!connection->IsOpen()) {
    state_.database_path.clear();
    return;
  }
  state_.connection = std::move(connection);
}

}  // namespace viamappa
