#include "edit/ArcAttributeEdits.h"

#include <vector>

#include "base/NumberText.h"
#include "db/DbQuery.h"
#include "edit/EditTransaction.h"
#include "edit/StreetNameValidation.h"
#include "geom/GraphRecords.h"

namespace viamappa {

namespace {

// The arcs that start or end at the node.
std::int32_t ArcsAtNode(DbConnection& connection, std::int32_t node) {
  DbQuery query(connection);
  query.SetSelect("count(*)");
  query.SetFrom(kArcTable);
  query.SetWhere(std::string(arc_field::kStartNode) + " = ? OR " + std::string(arc_field::kEndNode) + " = ?");
  query.BindInteger(1, node);
  query.BindInteger(2, node);
  std::int32_t count = 0;
  // A count that cannot be read keeps the node.
  if (!query.Open() || !query.GetLong(0, count)) return 1;
  return count;
}

}  // namespace

std::string ArcReadErrorMessage(std::int32_t id) {
  return "Arco Stradale ID=" + FormatInteger(id) + ": errore di lettura !!!";
}

ArcAttributeEdits::ArcAttributeEdits(DbConnection& connection, GraphCaches& caches,
                                     std::function<std::string()> today)
    : connection_(connection), caches_(caches), today_(std::move(today)) {}

std::optional<ArcRecord> ArcAttributeEdits::Read(std::int32_t id) {
  ArcTable archi(connection_);
  ArcRecord arc;
  if (archi.IsOpen() && archi.Seek(id) && archi.Read(arc)) return arc;
  connection_.ui().ShowMessage(ArcReadErrorMessage(id), MessageIcon::Stop);
  return std::nullopt;
}

ArcAttributesOutcome ArcAttributeEdits::Open(std::int32_t id, EditDialogs& dialogs) {
  ArcAttributesOutcome outcome;
  const std::optional<ArcRecord> arc = Read(id);
  if (!arc) return outcome;
  outcome.found = true;
  StreetNameValidation validation(connection_, dialogs);
  ArcAttributesDialog dialog(AttributesOf(*arc), connection_.ui(),
                             [&](std::string& text) { return validation.Validate(text); });
  outcome.closed = dialogs.RunArcAttributes(dialog);
  switch (outcome.closed) {
    case ArcDialogClose::Ok:
      outcome.change = Rename(id, dialog.values());
      break;
    case ArcDialogClose::Delete:
      outcome.change = Delete(id);
      break;
    case ArcDialogClose::Cancel:
      break;
  }
  // The directory keeps what the checks added, whatever became of the arc: it belongs to this edit.
  outcome.change.Directory(validation.added());
  return outcome;
}

GraphChange ArcAttributeEdits::Rewrite(std::int32_t id, EditKind kind,
                                       const std::function<void(ArcRecord&)>& change) {
  EditTransaction transaction(connection_);
  ArcTable archi(connection_);
  ArcRecord before;
  if (!transaction.active() || !archi.IsOpen() || !archi.Seek(id) || !archi.Read(before)) return {};
  ArcRecord after = before;
  change(after);
  if (!archi.RewriteChanged(before, after) || !transaction.Commit()) return {};
  GraphChange stored;
  stored.kind = kind;
  stored.Arc(id, before, after);
  return stored;
}

GraphChange ArcAttributeEdits::Rename(std::int32_t id, const ArcAttributeValues& values) {
  const std::string today = today_();
  return Rewrite(id, EditKind::ArcRenamed, [&](ArcRecord& arc) {
    arc.denom = values.denom;
    arc.alterna = values.alterna;
    arc.classe = values.classe;
    arc.modnome = true;
    arc.datmod = today;
  });
}

GraphChange ArcAttributeEdits::Delete(std::int32_t id) {
  std::optional<ArcRecord> arc;
  {
    ArcTable archi(connection_);
    ArcRecord read;
    if (archi.IsOpen() && archi.Seek(id) && archi.Read(read)) arc = read;
  }
  if (!arc) return {};
  if (arc->aggiunto) return Remove(*arc);
  const std::string today = today_();
  return Rewrite(id, EditKind::ArcMarkedDeleted, [&](ArcRecord& row) {
    row.elimina = true;
    row.datmod = today;
  });
}

GraphChange ArcAttributeEdits::Remove(const ArcRecord& arc) {
  GraphChange change;
  change.kind = EditKind::ArcRemoved;
  {
    EditTransaction transaction(connection_);
    ArcTable archi(connection_);
    PolylineTable geoarchi(connection_);
    NodeTable nodi(connection_);
    if (!transaction.active() || !archi.IsOpen() || !geoarchi.IsOpen() || !nodi.IsOpen()) return {};
    // The polyline first: the relation refuses an arc row that still has one.
    if (geoarchi.Seek(arc.id)) {
      PointArray line;
      const bool readable = geoarchi.Read(line);
      if (!geoarchi.Delete()) return {};
      change.Polyline(arc.id, readable ? std::optional(line) : std::nullopt, std::nullopt);
      change.complete = change.complete && readable;
    }
    if (!archi.Seek(arc.id) || !archi.Delete()) return {};
    change.Arc(arc.id, arc, std::nullopt);
    GraphChange::Note(change.arcs_removed, arc.id);

    // A closed arc has one end node: it is looked at, and deleted, once.
    std::vector<std::int32_t> ends{arc.nodini};
    if (arc.nodfin != arc.nodini) ends.push_back(arc.nodfin);
    for (const std::int32_t node : ends) {
      if (ArcsAtNode(connection_, node) > 0 || !nodi.Seek(node)) continue;
      NodeRecord before;
      const bool readable = nodi.Read(before);
      if (!nodi.Delete()) return {};
      change.Node(node, readable ? std::optional(before) : std::nullopt, std::nullopt);
      change.complete = change.complete && readable;
      GraphChange::Note(change.nodes_removed, node);
    }
    change.routing_graph_stale = true;
    if (!transaction.Commit()) return {};
  }
  // Stored: the caches follow. The arc's hook tells the holders of references to it (a route through
  // it) that it goes.
  if (LineFeature* feature = caches_.FindArc(arc.id)) caches_.RemoveArc(*feature);
  for (const std::int32_t node : change.nodes_removed)
    if (PointFeature* feature = caches_.FindNode(node)) caches_.RemoveNode(*feature);
  caches_.RoutingGraphStale();
  return change;
}

}  // namespace viamappa
