#include "map/CommandLabels.h"

#include <algorithm>

#include "map/CommandIds.h"

namespace viamappa {

namespace {

struct Label {
  int id;
  std::string_view text;
};

constexpr Label kLabels[] = {
    {cmd::kExit, "&Fine"},
    {cmd::kAbout, "&?"},
    {cmd::kCreateDatabase, "&Crea"},
    {cmd::kConnectDatabase, "&Connetti"},
    {cmd::kDisconnectDatabase, "&Sconnetti"},
    {cmd::kRepairDatabase, "&Ripara"},
    {cmd::kDuplicateDatabase, "&Duplica"},
    {cmd::kImportMunicipalities, "Import &Comuni"},
    {cmd::kImportLocalities, "Import &Località"},
    {cmd::kImportToponyms, "Import &Toponimi"},
    {cmd::kImportRoadGraph, "Import &Grafo Stradale"},
    {cmd::kImportSecondaryGraph, "Import Grafo &Secondario"},
    {cmd::kExportRoadGraph, "Export &Grafo Stradale"},
    {cmd::kExportChanges, "Export &Comunicazione Grafo"},
    {cmd::kExportTramex, "Export Grafo (&Tramex)"},
    {cmd::kLocalizeRoadGraph, "Localizzazione &Grafo Stradale"},
    {cmd::kLocalizeToponyms, "Localizzazione &Toponimi"},
    {cmd::kRenameArcs, "&Rinomina Archi del Grafo Stradale"},
    {cmd::kExportStreetList, "&Elenco Stradario"},
    {cmd::kRegenerateNodes, "Rigenera &Nodi"},
    {cmd::kMergeBrokenArcs, "Riduzione &Archi spezzati"},
    {cmd::kValidateGraph, "&Verifica Grafo Stradale"},
    {cmd::kChooseBackground, "&Sfondo Cartografico"},
    {cmd::kPan, "&Sposta punto di vista\tCtl+S"},
    {cmd::kZoom, "&Zoom scala\tCtl+Z"},
    {cmd::kHomeView, "&Ripristina punto di vista\tHome"},
    {cmd::kAreaSelection, "S&elezione area\tCtl+A"},
    {cmd::kThematicStyling, "&Vestizione Tematismi\t(Ctl+V)"},
    {cmd::kToponymSearch, "Ricerca &Toponimo\tCtl+T"},
    {cmd::kDragMode, "&Spostamento\tShift+S"},
    {cmd::kAdjustSegmentMode, "A&ggiustamento tratto\tShift+M"},
    {cmd::kDrawArcMode, "&Disegno Nuovo Arco Stradale\tShift+D"},
    {cmd::kDeleteVertexMode, "&Eliminazione Vertice da Arco\tShift+K"},
    {cmd::kHighlightRoads, "&Evidenziazione Strade\tCtl+E"},
    {cmd::kPathStart, "Punto &Partenza Percorso\tShift+P"},
    {cmd::kPathEnd, "Punto &Arrivo Percorso\tShift+A"},
};

constexpr Label kToolTips[] = {
    {cmd::kPan, "Spostamento (Ctl+S)"},
    {cmd::kZoom, "Zoom +/- (Ctl+Z)"},
    {cmd::kHomeView, "Centra Cartografia (HOME)"},
    {cmd::kAreaSelection, "Selezione Area (Ctl+A)"},
    {cmd::kThematicStyling, "Vestizione Tematismi (Ctl+V)"},
    {cmd::kToponymSearch, "Ricerca Toponimo (Ctl+T)"},
    {cmd::kDragMode, "Modo Trascina (Shift+S)"},
    {cmd::kAdjustSegmentMode, "Aggiusta tratto (Shift+M)"},
    {cmd::kDrawArcMode, "Disegna Arco Stradale (Shift+D)"},
    {cmd::kDeleteVertexMode, "Elimina Vertice (Shift+K)"},
    {cmd::kHighlightRoads, "Evidenziazione Strade (Ctl+E)"},
    {cmd::kPathStart, "Punto Partenza Percorso (Shift+P)"},
    {cmd::kPathEnd, "Punto Arrivo Percorso (Shift+A)"},
};

std::string_view Find(const auto& table, int id) {
  const auto it =
      std::find_if(std::begin(table), std::end(table), [id](const Label& l) { return l.id == id; });
  return it == std::end(table) ? std::string_view() : it->text;
}

}  // namespace

std::string_view CommandLabel(int id) {
  return Find(kLabels, id);
}

std::string_view ToolTip(int id) {
  return Find(kToolTips, id);
}

}  // namespace viamappa
