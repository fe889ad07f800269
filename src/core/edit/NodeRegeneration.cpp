#include "edit/NodeRegeneration.h"

#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/NumberText.h"
#include "db/DbBatch.h"
#include "db/DbQuery.h"
#include "edit/ArcRowRemoval.h"
#include "geom/GraphRecords.h"
#include "geom/Hundredths.h"
#include "geom/StoredGeometry.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

using conflation::PointHash;

constexpr const char* kNothingStored =
    "ATTENZIONE: la sistemazione dei Nodi e degli Archi non è stata completata.\n\n"
    "Nessuna modifica è stata registrata nel database.";

// An arc end whose node must change: to an existing node, or to a new node at its position.
struct EndFix {
  std::int32_t arc = 0;
  bool start = false;
  Point at;
  std::optional<std::int32_t> node;  // none: the new node at `at`
};

// What the first phase learns of the arcs and their ends. Every position met is claimed either by the
// node first met there or by a new node to come; identifiers are kept where their node was first met.
class EndRegister {
 public:
  void Register(std::int32_t arc, bool start, std::int32_t node, const Point& at) {
    const auto claimed = positions_.find(at);
    if (claimed != positions_.end()) {
      if (!claimed->second) {
        fixes_.push_back({arc, start, at, std::nullopt});
      } else if (*claimed->second != node) {
        fixes_.push_back({arc, start, at, *claimed->second});
      }
      return;
    }
    if (!known_.insert(node).second) {
      // The node stands elsewhere: this position gets a node of its own, shared by every later end here.
      positions_.emplace(at, std::nullopt);
      fixes_.push_back({arc, start, at, std::nullopt});
      return;
    }
    positions_.emplace(at, node);
  }

  // A node named by an arc that stays as it is (a damaged polyline, none at all).
  void Keep(std::int32_t node) { kept_.insert(node); }

  bool IsUsed(std::int32_t node) const { return known_.contains(node) || kept_.contains(node); }
  const std::vector<EndFix>& fixes() const { return fixes_; }

 private:
  std::unordered_map<Point, std::optional<std::int32_t>, PointHash> positions_;
  std::unordered_set<std::int32_t> known_;
  std::unordered_set<std::int32_t> kept_;
  std::vector<EndFix> fixes_;
};

Point PointAt(std::string_view bytes, std::size_t index) {
  Point p;
  std::memcpy(&p, bytes.data() + index * sizeof(Point), sizeof(Point));
  return p;
}

// Phase 1: every arc in identifier order. False when the arcs could not all be read.
bool InspectArcs(DbConnection& connection, UserInterface& ui, ProgressDisplay& progress, EndRegister& ends,
                 std::vector<std::int32_t>& zero_length) {
  progress.SetPhase("Ispezione Archi del Grafo Stradale");
  const std::optional<long long> total = CountRows(connection, kArcTable);
  if (!total) return false;
  const std::string arcs(kArcTable), polylines(kArcGeometryTable);
  DbQuery query(connection);
  query.SetSelect(arcs + "." + std::string(arc_field::kId) + ", " + arcs + "." +
                  std::string(arc_field::kStartNode) + ", " + arcs + "." + std::string(arc_field::kEndNode) +
                  ", " + polylines + "." + std::string(polyline_field::kId) + ", " + polylines + "." +
                  std::string(polyline_field::kCount) + ", " + polylines + "." +
                  std::string(polyline_field::kCoordinates));
  // Arcs without a polyline are read too: their nodes stay.
  query.SetFrom(arcs + " LEFT JOIN " + polylines + " ON " + arcs + "." + std::string(arc_field::kId) + " = " +
                polylines + "." + std::string(polyline_field::kId));
  query.SetOrderBy(arcs + "." + std::string(arc_field::kId));
  long long done = 0;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    progress.SetProgress(++done, *total);
    std::int32_t id = 0, start = 0, end = 0, polyline = 0, count = 0;
    query.GetLong(0, id);
    query.GetLong(1, start);
    query.GetLong(2, end);
    if (!query.GetLong(3, polyline)) {
      ends.Keep(start);
      ends.Keep(end);
      continue;
    }
    std::string_view bytes;
    const bool counted = query.GetShort(4, count);
    query.GetBinaryView(5, bytes);
    // An arc without points has no ends to place: it is left as it is, like a damaged one.
    if (!counted || count <= 0 || bytes.size() != static_cast<std::size_t>(count) * sizeof(Point)) {
      ui.ShowMessage(DamagedArcMessage(id), MessageIcon::Warning);
      ends.Keep(start);
      ends.Keep(end);
      continue;
    }
    const Point first = PointAt(bytes, 0);
    const Point last = PointAt(bytes, static_cast<std::size_t>(count) - 1);
    if (count == 2 && first == last) {
      zero_length.push_back(id);
      continue;
    }
    ends.Register(id, true, start, first);
    ends.Register(id, false, end, last);
  }
  return done == *total;
}

// Phase 4: the nodes no arc names, and the largest identifier. False when the nodes could not all be
// read.
bool InspectNodes(DbConnection& connection, ProgressDisplay& progress, const EndRegister& ends,
                  std::vector<std::int32_t>& redundant, std::int32_t& largest) {
  progress.SetPhase("Ispezione Nodi del Grafo Stradale");
  const std::optional<long long> total = CountRows(connection, kNodeTable);
  if (!total) return false;
  DbQuery query(connection);
  query.SetSelect(std::string(node_field::kId));
  query.SetFrom(kNodeTable);
  query.SetOrderBy(std::string(node_field::kId));
  long long done = 0;
  largest = 0;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    progress.SetProgress(++done, *total);
    std::int32_t id = 0;
    query.GetLong(0, id);
    largest = std::max(largest, id);
    if (!ends.IsUsed(id)) redundant.push_back(id);
  }
  return done == *total;
}

// Phase 5: a provisional number for every new node, one per position, in the order of the fixes.
std::vector<std::int32_t> NumberNewNodes(const std::vector<EndFix>& fixes, ProgressDisplay& progress,
                                         std::vector<Point>& new_nodes) {
  progress.SetPhase("Determinazione Nodi da Inserire");
  std::unordered_map<Point, std::int32_t, PointHash> numbers;
  std::vector<std::int32_t> number_of_fix(fixes.size(), -1);
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    progress.SetProgress(static_cast<long long>(i) + 1, static_cast<long long>(fixes.size()));
    if (fixes[i].node) continue;
    const auto [it, added] = numbers.try_emplace(fixes[i].at, static_cast<std::int32_t>(new_nodes.size()));
    if (added) new_nodes.push_back(fixes[i].at);
    number_of_fix[i] = it->second;
  }
  return number_of_fix;
}

// Phase 6: writes the new nodes, the changed ends and the deletions. False at the first refusal.
bool WriteChanges(DbConnection& connection, ProgressDisplay& progress, const std::vector<EndFix>& fixes,
                  const std::vector<std::int32_t>& number_of_fix, const std::vector<Point>& new_nodes,
                  const std::vector<std::int32_t>& redundant, std::int32_t base,
                  NodeRegenerationCounts& counts) {
  progress.SetPhase("Sistemazione Nodi ed Archi");
  NodeTable nodes(connection);
  ArcTable arcs(connection);
  if (!nodes.IsOpen() || !arcs.IsOpen()) return false;
  const int start_field = arcs.table().FieldIndex(arc_field::kStartNode);
  const int end_field = arcs.table().FieldIndex(arc_field::kEndNode);
  const long long total = static_cast<long long>(new_nodes.size() + fixes.size() + redundant.size());
  long long done = 0;
  for (std::size_t k = 0; k < new_nodes.size(); ++k) {
    progress.SetProgress(++done, total);
    const Point& at = new_nodes[k];
    if (!nodes.Add({base + static_cast<std::int32_t>(k), RoundToHundredths(at.x), RoundToHundredths(at.y)}))
      return false;
    ++counts.nodes_added;
  }
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    progress.SetProgress(++done, total);
    const EndFix& fix = fixes[i];
    if (!arcs.Seek(fix.arc)) continue;
    const std::int32_t node = fix.node ? *fix.node : base + number_of_fix[i];
    if (!arcs.table().Edit() || !arcs.table().SetFieldInteger(fix.start ? start_field : end_field, node) ||
        !arcs.table().Update())
      return false;
    ++counts.ends_changed;
  }
  for (const std::int32_t id : redundant) {
    progress.SetProgress(++done, total);
    if (!nodes.Seek(id)) continue;
    if (!nodes.Delete()) return false;
    ++counts.nodes_deleted;
  }
  return true;
}

}  // namespace

std::string NodeRegenerationSummary(const NodeRegenerationCounts& counts) {
  return "Risultati della sistemazione dei Nodi e degli Archi:\n\nEliminati " +
         FormatInteger(counts.arcs_deleted) + " Archi (lunghezza=0)\nInseriti " +
         FormatInteger(counts.nodes_added) + " nuovi Nodi\nModificati " + FormatInteger(counts.ends_changed) +
         " Nodi Inizio/Fine Archi\nEliminati " + FormatInteger(counts.nodes_deleted) + " Nodi ridondanti\n";
}

std::optional<NodeRegenerationCounts> RegenerateNodes(DbConnection& connection, UserInterface& ui) {
  // Everything is read inside the batch that writes, so that nothing changes the graph in between.
  DbBatch batch(connection);
  if (!batch.began()) return std::nullopt;
  NodeRegenerationCounts counts;
  bool done = false;
  {
    ProgressDisplay progress(ui);
    EndRegister ends;
    std::vector<std::int32_t> zero_length, redundant;
    std::int32_t largest = 0;
    done = InspectArcs(connection, ui, progress, ends, zero_length);
    if (done) {
      ArcRowRemover remover(connection);
      for (const std::int32_t id : zero_length) {
        const ArcRemoval removal = remover.Remove(id);
        if (removal == ArcRemoval::Failed) {
          done = false;
          break;
        }
        if (removal == ArcRemoval::Removed) ++counts.arcs_deleted;
      }
    }
    done = done && InspectNodes(connection, progress, ends, redundant, largest);
    if (done) {
      std::vector<Point> new_nodes;
      const std::vector<std::int32_t> numbers = NumberNewNodes(ends.fixes(), progress, new_nodes);
      done = WriteChanges(connection, progress, ends.fixes(), numbers, new_nodes, redundant, largest + 1,
                          counts);
    }
  }
  if (!done) batch.Rollback();
  if (!done || !batch.Commit()) {
    ui.ShowMessage(kNothingStored, MessageIcon::Stop);
    return std::nullopt;
  }
  return counts;
}

}  // namespace viamappa
