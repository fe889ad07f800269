#include "app/ExportCommands.h"

#include "app/StreetListDialogModel.h"
#include "base/NumberText.h"
#include "io/StreetList.h"
#include "ui/RepeatedMessageFilter.h"

namespace viamappa {

namespace {

FileChoice SaveChoice(const char* title, const char* filter, const char* extension, const char* name) {
  FileChoice choice;
  choice.title = title;
  choice.filter = filter;
  choice.default_extension = extension;
  choice.default_name = name;
  choice.confirm_overwrite = true;
  return choice;
}

}  // namespace

bool ExportCommands::ExportShapefile(GraphExportKind kind) {
  if (!state_.connected()) return false;
  if (kind == GraphExportKind::Changes && !HasGraphChanges(*state_.connection)) {
    ui_.ShowMessage(
        "ATTENZIONE: Non è stata riscontrata nessuna variazione del GRAFO STRADALE.\n\n"
        "Non ha pertanto senso esportare lo ShapeFile GRAFO",
        MessageIcon::Stop);
    return false;
  }
  const bool tramex = kind == GraphExportKind::Tramex;
  const auto path = ui_.ChooseSaveFile(SaveChoice(
      tramex ? "Esportazione ShapeFile GRAFO Tramex" : "Esportazione ShapeFile GRAFO",
      "File SHP (*.shp)|*.shp|Tutti i files (*.*)|*.*||", "SHP", tramex ? "GRAFO_TRAMEX" : "GRAFO"));
  if (!path) return false;
  std::optional<std::int64_t> written;
  {
    RepeatedMessageFilter filter(ui_);
    InterfaceScope scope(*state_.connection, filter);
    filter.BeginBusy(true);
    written = ExportGraph(*state_.connection, kind, *path, filter);
  }
  if (!written) return false;
  ui_.ShowMessage("Sono stati esportati " + FormatInteger(*written) + " Archi Stradali",
                  MessageIcon::Information);
  return true;
}

bool ExportCommands::ExportStreetList() {
  if (!state_.connected()) return false;
  StreetListDialogModel dialog;
  dialog.Load(*state_.connection);
  if (!ui_.RunStreetListDialog(dialog)) return false;
  const auto path = ui_.ChooseSaveFile(SaveChoice("Esportazione Elenco Stradario",
                                                  "File di testo (*.txt)|*.txt|Tutti i files (*.*)|*.*||",
                                                  "TXT", "ELENCO_STRADE"));
  if (!path) return false;
  const std::optional<std::int64_t> rows = WriteStreetList(*state_.connection, dialog.choice(), *path, ui_);
  if (!rows) return false;
  ui_.ShowMessage("Inserite " + FormatInteger(*rows) + " righe in ELENCO_STRADE", MessageIcon::Information);
  return true;
}

}  // namespace viamappa
