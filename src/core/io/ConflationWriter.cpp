#include "io/ConflationWriter.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"

namespace viamappa::conflation {

namespace {

std::string Trimmed(const std::string& text) {
  return std::string(TrimTrailingBlanks(text));
}

// A new arc: nothing changed or deleted yet, added today, not yet localized.
ArcRecord NewArc(std::int32_t id, const std::string& today) {
  ArcRecord arc;
  arc.id = id;
  arc.aggiunto = true;
  arc.datins = today;
  arc.datmod = today;
  return arc;
}

void SetNames(ArcRecord& arc, const std::string& denom, const std::string& alterna) {
  arc.orgden = arc.denom = denom;
  arc.orgalt = arc.alterna = alterna;
}

}  // namespace

bool WriteConflation(DbConnection& connection, ConflationState& state, const std::string& today,
                     ProgressDisplay& progress, WrittenRows& written) {
  UserInterface& ui = connection.ui();
  progress.SetPhase("Registrazione Nodi");
  state.new_node_base = LargestId(connection, kNodeTable).value_or(-1);
  {
    NodeTable nodi(connection);
    const auto total = static_cast<long long>(state.new_nodes.size());
    for (std::size_t n = 0; n < state.new_nodes.size(); ++n) {
      const Point& p = state.new_nodes[n];
      if (!nodi.Add({state.new_node_base + static_cast<std::int32_t>(n) + 1, p.x, p.y})) return false;
      ++written.nodes;
      progress.SetProgress(static_cast<long long>(n) + 1, total);
    }
  }

  progress.SetPhase("Inserimento Archi da Grafo Secondario");
  std::int32_t next_id = LargestId(connection, kArcTable).value_or(0) + 1;
  ArcTable archi(connection);
  PolylineTable geoarchi(connection);
  if (!archi.IsOpen() || !geoarchi.IsOpen()) return false;

  progress.SetPhase("Aggiustamento Archi del Grafo Primario");
  ArcRecord arc;
  for (std::size_t i = 0; i < state.primary.size(); ++i) {
    progress.SetProgress(static_cast<long long>(i) + 1, static_cast<long long>(state.primary.size()));
    const PrimaryArc& primary = state.primary[i];
    if (!primary.modified) continue;
    // The row was read by this very batch: a row gone missing means the file changed under it.
    if (!archi.Seek(primary.id) || !archi.Read(arc) || !geoarchi.Seek(primary.id)) {
      ui.ShowMessage("ATTENZIONE: l'arco " + FormatInteger(primary.id) +
                         " del grafo primario non è più registrato nel database.",
                     MessageIcon::Stop);
      return false;
    }
    const std::int32_t first_node = arc.nodini, last_node = arc.nodfin;
    const auto node = [&](const NodeRef& ref, std::int32_t kept) {
      return ref.IsSet() ? WrittenNodeId(state, ref) : kept;
    };
    // Each cut point has a new node: only the arc's own ends may keep the nodes they had.
    const std::size_t parts = primary.PartCount();
    arc.modifica = true;
    arc.datmod = today;
    arc.nodini = node(primary.own.start, first_node);
    arc.nodfin = node(primary.own.end, last_node);
    if (!archi.Rewrite(arc) || !geoarchi.Rewrite(primary.own.line)) return false;
    ++written.modified;
    ArcRecord piece = NewArc(0, today);
    SetNames(piece, Trimmed(arc.denom), Trimmed(arc.alterna));
    piece.codele = Trimmed(arc.codele);
    piece.codreg = Trimmed(arc.codreg);
    piece.classe = Trimmed(arc.classe);
    piece.piazza = arc.piazza;
    for (std::size_t j = 1; j < parts; ++j) {
      const ArcPart& part = primary.Part(j);
      piece.id = next_id;
      piece.nodini = node(part.start, first_node);
      piece.nodfin = node(part.end, last_node);
      if (!archi.Add(piece) || !geoarchi.Add(next_id, part.line)) return false;
      ++written.from_primary;
      ++next_id;
    }
  }

  progress.SetPhase("Inserimento Archi da Grafo Secondario");
  for (std::size_t k = 0; k < state.secondary.size(); ++k) {
    progress.SetProgress(static_cast<long long>(k) + 1, static_cast<long long>(state.secondary.size()));
    SecondaryArc& s = state.secondary[k];
    if (!s.Unmatched()) continue;
    ArcRecord inserted = NewArc(next_id, today);
    SetNames(inserted, s.denom, s.alterna);
    inserted.codele = s.codele;
    inserted.codreg = s.codreg;
    inserted.classe = s.classe;
    inserted.piazza = s.square;
    inserted.nodini = WrittenNodeId(state, s.start);
    inserted.nodfin = WrittenNodeId(state, s.end);
    if (!archi.Add(inserted) || !geoarchi.Add(next_id, s.line)) return false;
    s.inserted_id = next_id;
    ++written.from_secondary;
    ++next_id;
  }
  return true;
}

}  // namespace viamappa::conflation
