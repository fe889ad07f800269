#include "app/ConflationCommand.h"

#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "ui/RepeatedMessageFilter.h"
#include "ui/SnapFactorDialog.h"

namespace viamappa {

bool ConflationCommand::ImportSecondaryGraph(ConflationResult* result) {
  if (!state_.connected()) return false;
  {
    DbQuery arcs(state_.connection.get());
    arcs.SetSelect(std::string(arc_field::kId));
    arcs.SetFrom(kArcTable);
    if (!arcs.Open()) {
      ui_.ShowMessage(
          "ATTENZIONE: non esiste nessun arco registrati nel grafo stradale.\n\n"
          "Non è possibile importare il grafo secondario se non esiste il grafo primario.",
          MessageIcon::Stop);
      return false;
    }
  }
  FileChoice choice;
  choice.title = "Importazione ShapeFile Grafo Secondario";
  choice.filter = "Shape File|*.shp|Tutti i files (*.*)|*.*||";
  choice.default_extension = "SHP";
  choice.default_name = "GRAFO_SEC";
  choice.must_exist = true;
  const auto path = ui_.ChooseOpenFile(choice);
  if (!path) return false;
  bool stored = false;
  if (path->size() >= 4 && AsciiUpper(std::string_view(*path).substr(path->size() - 4)) == ".SHP") {
    SnapFactorDialog dialog;
    if (ui_.RunSnapFactorDialog(dialog)) {
      RepeatedMessageFilter filter(ui_);
      InterfaceScope scope(*state_.connection, filter);
      ConflationResult run = ConflateSecondaryGraph(*state_.connection, path->substr(0, path->size() - 4),
                                                    dialog.snap_factor(), filter);
      stored = run.stored;
      if (result) *result = std::move(run);
    }
  }
  shell_.RebuildMap();
  shell_.Redraw();
  return stored;
}

}  // namespace viamappa
