#include "edit/EditHistory.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "base/NumberText.h"
#include "edit/EditTransaction.h"
#include "geom/GraphRecords.h"
#include "io/StreetDirectory.h"

namespace viamappa {

namespace {

// The row an undo finds (the edit's after) and the row it writes (the edit's before); a redo the other
// way round.
template <typename Row>
const std::optional<Row>& Found(const RowChange<Row>& row, bool undo) {
  return undo ? row.after : row.before;
}
template <typename Row>
const std::optional<Row>& Wanted(const RowChange<Row>& row, bool undo) {
  return undo ? row.before : row.after;
}

bool SameRow(const ArcRecord& a, const ArcRecord& b) {
  return a == b;
}
bool SameRow(const NodeRecord& a, const NodeRecord& b) {
  return a == b;
}
bool SameRow(const PointArray& a, const PointArray& b) {
  return a.points() == b.points();
}

// The row stands as the step left it (its after for an undo, its before for a redo): the same
// content, or no row.
template <typename Table, typename Row>
bool StandsAsLeft(Table& table, const RowChange<Row>& row, bool undo) {
  const std::optional<Row>& expected = Found(row, undo);
  const bool found = table.Seek(row.id);
  if (!expected) return !found;
  Row read;
  return found && table.Read(read) && SameRow(read, *expected);
}

std::optional<std::uint32_t> SlotOf(const std::vector<std::pair<std::int32_t, std::uint32_t>>& slots,
                                    std::int32_t id) {
  for (const auto& [known, slot] : slots)
    if (known == id) return slot;
  return std::nullopt;
}

std::vector<std::int32_t> Sorted(std::vector<std::int32_t> ids) {
  std::sort(ids.begin(), ids.end());
  return ids;
}

// The drag next goes on with the drag kept last: the same vertex of the same arcs, taken again where
// it was let go.
bool Continues(const GraphChange& last, const GraphChange& next) {
  const bool kinds = (next.kind == EditKind::VertexMoved &&
                      (last.kind == EditKind::VertexMoved || last.kind == EditKind::VertexInserted)) ||
                     (next.kind == EditKind::NodeMoved && last.kind == EditKind::NodeMoved);
  return kinds && last.dragged_vertex && next.dragged_vertex &&
         last.dragged_vertex->second == next.dragged_vertex->first &&
         Sorted(last.arcs_moved) == Sorted(next.arcs_moved) &&
         Sorted(last.nodes_moved) == Sorted(next.nodes_moved);
}

std::string ArcText(std::int32_t id) {
  return "dell'arco stradale ID=" + FormatInteger(id);
}

// The directory's tables, opened on their primary index only when a step has directory rows.
class DirectoryTables {
 public:
  explicit DirectoryTables(DbConnection& connection) : connection_(connection) {}

  DbTable* For(const DirectoryRow& row) {
    std::unique_ptr<DbTable>& table = row.name ? names_ : types_;
    if (!table) {
      table = std::make_unique<DbTable>(connection_, row.name ? kStreetNameTable : kStreetTypeTable);
      if (table->IsOpen()) table->SelectIndex(kPrimaryIndex);
    }
    return table->IsOpen() ? table.get() : nullptr;
  }

  // Stands on the row; false when there is none.
  bool Seek(const DirectoryRow& row) {
    DbTable* table = For(row);
    if (!table) return false;
    if (row.name) return table->Seek({std::string_view(row.type), std::string_view(*row.name)});
    return table->Seek({std::string_view(row.type)});
  }

  bool Add(const DirectoryRow& row) {
    DbTable* table = For(row);
    return table && table->AddNew() && table->SetField(street_field::kType, row.type) &&
           (!row.name || table->SetField(street_field::kName, *row.name)) && table->Update();
  }

  bool Delete(const DirectoryRow& row) { return Seek(row) && For(row)->Delete(); }

 private:
  DbConnection& connection_;
  std::unique_ptr<DbTable> types_;
  std::unique_ptr<DbTable> names_;
};

std::string DirectoryText(const DirectoryRow& row) {
  if (row.name) return "della denominazione \"" + row.type + " " + *row.name + "\" dello stradario";
  return "del tipo strada \"" + row.type + "\" dello stradario";
}

}  // namespace

std::string_view EditKindName(EditKind kind) {
  switch (kind) {
    case EditKind::VertexMoved:
      return "spostamento di un vertice";
    case EditKind::VertexInserted:
      return "inserimento di un vertice";
    case EditKind::VertexDeleted:
      return "eliminazione di un vertice";
    case EditKind::NodeMoved:
      return "spostamento di un nodo";
    case EditKind::VertexAttached:
      return "aggancio di un vertice";
    case EditKind::ArcSplit:
      return "divisione di un arco stradale";
    case EditKind::ArcAdded:
      return "nuovo arco stradale";
    case EditKind::ArcRenamed:
      return "modifica dei dati di un arco stradale";
    case EditKind::ArcMarkedDeleted:
      return "eliminazione logica di un arco stradale";
    case EditKind::ArcRemoved:
      return "eliminazione di un arco stradale";
    case EditKind::DirectoryExtended:
      return "inserimento nello stradario";
    case EditKind::None:
      break;
  }
  return "modifica";
}

EditHistory::EditHistory(DbConnection& connection, GraphCaches& caches)
    : connection_(connection), caches_(caches), rows_known_(connection.RowsChanged()) {}

void EditHistory::Acknowledge() {
  rows_known_ = connection_.RowsChanged();
}

bool EditHistory::ForgetIfChangedBehind() {
  if (connection_.RowsChanged() == rows_known_) return false;
  Clear();
  return true;
}

void EditHistory::Clear() {
  undo_.clear();
  redo_.clear();
  last_was_recorded_ = false;
  Acknowledge();
}

void EditHistory::Record(const GraphChange& change) {
  if (change.empty()) return;
  // What the edit overwrote unread cannot be put back; nor, safely, anything before it.
  if (!change.complete) return Clear();
  redo_.clear();
  Acknowledge();
  if (last_was_recorded_ && !undo_.empty() && Continues(undo_.back().change, change)) {
    undo_.back().change.Append(change);
    return;
  }
  Step step{change, {}, {}};
  // A feature the edit touches is in the cache now, or left it last.
  for (const RowChange<PointArray>& row : change.polylines) {
    const LineFeature* arc = caches_.FindArc(row.id);
    const std::optional<std::uint32_t> slot = arc ? std::optional(arc->slot) : caches_.RemovedArcSlot(row.id);
    if (slot) step.arc_slots.emplace_back(row.id, *slot);
  }
  for (const RowChange<NodeRecord>& row : change.nodes) {
    const PointFeature* node = caches_.FindNode(row.id);
    const std::optional<std::uint32_t> slot =
        node ? std::optional(node->slot) : caches_.RemovedNodeSlot(row.id);
    if (slot) step.node_slots.emplace_back(row.id, *slot);
  }
  undo_.push_back(std::move(step));
  if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
  last_was_recorded_ = true;
}

EditKind EditHistory::Undo() {
  return Replay(undo_, redo_, true);
}

EditKind EditHistory::Redo() {
  return Replay(redo_, undo_, false);
}

EditKind EditHistory::Replay(std::vector<Step>& from, std::vector<Step>& to, bool undo) {
  if (from.empty()) return EditKind::None;
  last_was_recorded_ = false;
  switch (Apply(from.back(), undo)) {
    case Applied::Done:
      to.push_back(std::move(from.back()));
      from.pop_back();
      return to.back().change.kind;
    case Applied::Refused:
      Clear();
      break;
    case Applied::Failed:
      break;
  }
  return EditKind::None;
}

void EditHistory::Refuse(const Step& step, bool undo, const std::string& what) {
  const std::string name(EditKindName(step.change.kind));
  connection_.ui().ShowMessage("ATTENZIONE: la modifica \"" + name + "\" non può essere " +
                                   (undo ? "annullata" : "ripetuta") + ".\n\nI dati " + what +
                                   " sono stati cambiati da un'altra operazione.\n\n"
                                   "Le modifiche precedenti non possono più essere annullate né ripetute.",
                               MessageIcon::Stop);
}

EditHistory::Applied EditHistory::Apply(const Step& step, bool undo) {
  const GraphChange& c = step.change;
  EditTransaction transaction(connection_);
  ArcTable archi(connection_);
  PolylineTable geoarchi(connection_);
  NodeTable nodi(connection_);
  DirectoryTables directory(connection_);
  if (!transaction.active() || !archi.IsOpen() || !geoarchi.IsOpen() || !nodi.IsOpen())
    return Applied::Failed;

  // Every row must be as the step left it; the first one that is not is named.
  std::optional<std::string> changed;
  for (const RowChange<ArcRecord>& row : c.arcs)
    if (!changed && !StandsAsLeft(archi, row, undo)) changed = ArcText(row.id);
  for (const RowChange<PointArray>& row : c.polylines)
    if (!changed && !StandsAsLeft(geoarchi, row, undo)) changed = "della geometria " + ArcText(row.id);
  for (const RowChange<NodeRecord>& row : c.nodes)
    if (!changed && !StandsAsLeft(nodi, row, undo)) changed = "del nodo ID=" + FormatInteger(row.id);
  for (const DirectoryRow& row : c.directory_added)
    if (!changed && directory.Seek(row) != undo) changed = DirectoryText(row);
  if (changed) {
    Refuse(step, undo, *changed);
    return Applied::Refused;
  }

  // Written in the order the relations allow: a node before the arcs that end at it, a polyline after
  // its arc, and the other way round for rows that go.
  bool ok = true;
  for (const RowChange<NodeRecord>& row : c.nodes) {
    const std::optional<NodeRecord>& from = Found(row, undo);
    const std::optional<NodeRecord>& to = Wanted(row, undo);
    if (!ok || !to) continue;
    if (!from) {
      ok = nodi.Add(*to);
    } else if (!SameRow(*from, *to)) {
      ok = nodi.Seek(row.id) && nodi.Move(to->coord_x, to->coord_y);
    }
  }
  for (const RowChange<PointArray>& row : c.polylines)
    if (ok && Found(row, undo) && !Wanted(row, undo)) ok = geoarchi.Seek(row.id) && geoarchi.Delete();
  for (const RowChange<ArcRecord>& row : c.arcs)
    if (ok && Found(row, undo) && !Wanted(row, undo)) ok = archi.Seek(row.id) && archi.Delete();
  for (const RowChange<ArcRecord>& row : c.arcs) {
    const std::optional<ArcRecord>& from = Found(row, undo);
    const std::optional<ArcRecord>& to = Wanted(row, undo);
    if (!ok || !to) continue;
    if (!from) {
      ok = archi.Add(*to);
    } else if (!SameRow(*from, *to)) {
      ok = archi.Seek(row.id) && archi.RewriteChanged(*from, *to);
    }
  }
  for (const RowChange<PointArray>& row : c.polylines) {
    const std::optional<PointArray>& from = Found(row, undo);
    const std::optional<PointArray>& to = Wanted(row, undo);
    if (!ok || !to) continue;
    if (!from) {
      ok = geoarchi.Add(row.id, *to);
    } else if (!SameRow(*from, *to)) {
      ok = geoarchi.Seek(row.id) && geoarchi.Rewrite(*to);
    }
  }
  for (const RowChange<NodeRecord>& row : c.nodes)
    if (ok && Found(row, undo) && !Wanted(row, undo)) ok = nodi.Seek(row.id) && nodi.Delete();
  // An undo takes the directory's rows out, the last added first; a redo adds them again in order.
  if (undo) {
    for (auto row = c.directory_added.rbegin(); ok && row != c.directory_added.rend(); ++row)
      ok = directory.Delete(*row);
  } else {
    for (const DirectoryRow& row : c.directory_added)
      if (ok) ok = directory.Add(row);
  }
  if (!ok || !transaction.Commit()) return Applied::Failed;

  ApplyToCaches(step, undo);
  Acknowledge();
  return Applied::Done;
}

// The caches follow the rows: a node stands where its row says, an arc has the polyline of its row,
// and a feature without its row leaves the cache (an arc telling the holders of references first).
void EditHistory::ApplyToCaches(const Step& step, bool undo) {
  const GraphChange& c = step.change;
  for (const RowChange<NodeRecord>& row : c.nodes) {
    const std::optional<NodeRecord>& to = Wanted(row, undo);
    PointFeature* node = caches_.FindNode(row.id);
    if (!to) {
      if (node) caches_.RemoveNode(*node);
      continue;
    }
    const Point at{to->coord_x, to->coord_y};
    if (!node) {
      caches_.RestoreNode(row.id, at, SlotOf(step.node_slots, row.id));
    } else if (!(node->point == at)) {
      caches_.MoveNode(*node, at);
    }
  }
  for (const RowChange<PointArray>& row : c.polylines) {
    const std::optional<PointArray>& to = Wanted(row, undo);
    LineFeature* arc = caches_.FindArc(row.id);
    if (!to) {
      if (arc) caches_.RemoveArc(*arc);
      continue;
    }
    if (!arc) {
      caches_.RestoreArc(row.id, *to, SlotOf(step.arc_slots, row.id));
      continue;
    }
    // An arc is one polyline: the part the edits write is the first.
    if (arc->polylines.empty()) {
      arc->polylines.push_back(*to);
    } else {
      arc->polylines.front() = *to;
    }
    caches_.ArcMoved(*arc);
  }
  if (c.routing_graph_stale) caches_.RoutingGraphStale();
}

}  // namespace viamappa
