#include "edit/BrokenArcMerge.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/NumberText.h"
#include "db/DbBatch.h"
#include "db/DbQuery.h"
#include "edit/ArcRowRemoval.h"
#include "geom/GraphRecords.h"
#include "geom/StoredGeometry.h"
#include "io/ImportReport.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

constexpr const char* kNothingStored =
    "ATTENZIONE: la unificazione degli Archi non è stata completata.\n\n"
    "Nessuna modifica è stata registrata nel database.";

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The texts an arc must share with its neighbour to merge, in one hash; equal hashes are confirmed on
// the rows themselves.
class AttributeHash {
 public:
  void Add(std::string_view text) {
    for (const char c : WithoutTrailingBlanks(text)) Step(static_cast<unsigned char>(c));
    Step(0x100);  // the end of the text, so that "AB"+"C" differs from "A"+"BC"
  }
  std::uint64_t value() const { return value_; }

 private:
  void Step(unsigned value) {
    value_ ^= value;
    value_ *= 0x100000001B3ULL;
  }
  std::uint64_t value_ = 0xCBF29CE484222325ULL;
};

struct ArcItem {
  std::int32_t id = 0;
  std::int32_t start = 0;  // index of the start node
  std::int32_t end = 0;    // index of the end node
  std::uint64_t attributes = 0;
  bool alive = true;
  bool modified = false;
  bool unreadable = false;  // its polyline could not be used: it merges with nothing
};

struct Incidence {
  std::int32_t arc = 0;  // index into the arcs
  bool starts = false;   // the arc starts at the node
};

// The graph as the merge sees it: arcs in identifier order, nodes in the order the arcs first name
// them, each node with its incidences in reading order.
struct MergeGraph {
  std::vector<ArcItem> arcs;
  std::vector<std::int32_t> node_ids;
  std::vector<std::int32_t> first;  // of each node's incidences; one entry more than the nodes
  std::vector<Incidence> incidences;

  std::span<Incidence> At(std::int32_t node) {
    return std::span(incidences)
        .subspan(static_cast<std::size_t>(first[node]),
                 static_cast<std::size_t>(first[node + 1] - first[node]));
  }

  // At the far node of a merged arc, the dying arc's incidence becomes the surviving arc's.
  void Replace(std::int32_t node, std::int32_t dying, std::int32_t surviving, bool starts) {
    for (Incidence& incidence : At(node)) {
      if (incidence.arc == dying) {
        incidence = {surviving, starts};
        return;
      }
    }
  }
};

// Phase 2. False when the arcs could not all be read.
bool ReadArcs(DbConnection& connection, ProgressDisplay& progress, MergeGraph& graph) {
  progress.SetPhase("Ispezione Archi del Grafo Stradale");
  const std::optional<long long> total = CountRows(connection, kArcTable);
  if (!total) return false;
  DbQuery query(connection);
  query.SetSelect(std::string(arc_field::kId) + ", " + std::string(arc_field::kStartNode) + ", " +
                  std::string(arc_field::kEndNode) + ", " + std::string(arc_field::kRegionCode) + ", " +
                  std::string(arc_field::kElementCode) + ", " + std::string(arc_field::kName) + ", " +
                  std::string(arc_field::kAlternative) + ", " + std::string(arc_field::kClass) + ", " +
                  std::string(arc_field::kSquare));
  query.SetFrom(kArcTable);
  query.SetOrderBy(std::string(arc_field::kId));
  std::unordered_map<std::int32_t, std::int32_t> node_index;
  const auto index_of = [&](std::int32_t id) {
    const auto [it, added] = node_index.try_emplace(id, static_cast<std::int32_t>(graph.node_ids.size()));
    if (added) graph.node_ids.push_back(id);
    return it->second;
  };
  graph.arcs.reserve(static_cast<std::size_t>(*total));
  std::string text;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    ArcItem arc;
    std::int32_t start = 0, end = 0, square = 0;
    query.GetLong(0, arc.id);
    query.GetLong(1, start);
    query.GetLong(2, end);
    AttributeHash hash;
    for (int column = 3; column <= 7; ++column) {
      query.GetText(column, text);
      hash.Add(text);
    }
    query.GetShort(8, square);
    hash.Add(square != 0 ? "1" : "0");
    arc.attributes = hash.value();
    arc.start = index_of(start);
    arc.end = index_of(end);
    graph.arcs.push_back(arc);
    progress.SetProgress(static_cast<long long>(graph.arcs.size()), *total);
  }
  if (static_cast<long long>(graph.arcs.size()) != *total) return false;
  // The incidences, each node's in the order of the arcs.
  graph.first.assign(graph.node_ids.size() + 1, 0);
  for (const ArcItem& arc : graph.arcs) {
    ++graph.first[arc.start + 1];
    ++graph.first[arc.end + 1];
  }
  for (std::size_t i = 1; i < graph.first.size(); ++i) graph.first[i] += graph.first[i - 1];
  graph.incidences.resize(graph.arcs.size() * 2);
  std::vector<std::int32_t> next(graph.first.begin(), graph.first.end() - 1);
  for (std::size_t i = 0; i < graph.arcs.size(); ++i) {
    const auto arc = static_cast<std::int32_t>(i);
    graph.incidences[static_cast<std::size_t>(next[graph.arcs[i].start]++)] = {arc, true};
    graph.incidences[static_cast<std::size_t>(next[graph.arcs[i].end]++)] = {arc, false};
  }
  return true;
}

// Phase 3: the merges, decided and done in memory.
class Merger {
 public:
  Merger(DbConnection& connection, MergeGraph& graph)
      : graph_(graph), rows_(connection), polylines_(connection, kArcGeometryTable) {
    polylines_.SelectIndex(kPrimaryIndex);
  }

  void Run(ProgressDisplay& progress) {
    progress.SetPhase("Costruzione Archi Unificati");
    const auto nodes = static_cast<std::int32_t>(graph_.node_ids.size());
    for (std::int32_t node = 0; node < nodes; ++node) {
      progress.SetProgress(node + 1, nodes);
      MergeAt(node);
    }
  }

  const std::vector<Point>& PointsOf(std::int32_t arc) { return points_[arc]; }

 private:
  enum class Join { None, EndToStart, StartToEnd, StartToStart, EndToEnd };

  void MergeAt(std::int32_t node) {
    const Incidence* a = nullptr;
    const Incidence* b = nullptr;
    int alive = 0;
    for (const Incidence& incidence : graph_.At(node)) {
      if (!graph_.arcs[incidence.arc].alive) continue;
      if (alive == 0) a = &incidence;
      if (alive == 1) b = &incidence;
      ++alive;
    }
    // A loop alone at its node meets itself twice there.
    if (alive != 2 || a->arc == b->arc) return;
    const std::int32_t ia = a->arc, ib = b->arc;
    ArcItem& arc_a = graph_.arcs[ia];
    ArcItem& arc_b = graph_.arcs[ib];
    // The far ends must differ, so that two pieces of a ring never close into a loop.
    Join join = Join::None;
    if (!a->starts && b->starts && arc_a.start != arc_b.end) join = Join::EndToStart;
    if (join == Join::None && a->starts && !b->starts && arc_a.end != arc_b.start) join = Join::StartToEnd;
    if (join == Join::None && a->starts && b->starts && arc_a.end != arc_b.end) join = Join::StartToStart;
    if (join == Join::None && !a->starts && !b->starts && arc_a.start != arc_b.start) join = Join::EndToEnd;
    if (join == Join::None || arc_a.attributes != arc_b.attributes || !SameAttributes(arc_a.id, arc_b.id))
      return;
    if (!Load(ia) || !Load(ib)) return;
    std::vector<Point>& pa = points_[ia];
    std::vector<Point>& pb = points_[ib];
    if (static_cast<long long>(pa.size() + pb.size()) - 1 > kMaxStoredPoints) return;
    switch (join) {
      case Join::EndToStart:  // A then B
        pa.insert(pa.end(), pb.begin() + 1, pb.end());
        arc_a.end = arc_b.end;
        Die(ib, arc_b.end, ia, false);
        arc_a.modified = true;
        break;
      case Join::StartToEnd:  // B then A
        pb.insert(pb.end(), pa.begin() + 1, pa.end());
        arc_b.end = arc_a.end;
        Die(ia, arc_a.end, ib, false);
        arc_b.modified = true;
        break;
      case Join::StartToStart:  // A reversed, then B
        std::reverse(pa.begin(), pa.end());
        pa.insert(pa.end(), pb.begin() + 1, pb.end());
        pb = std::move(pa);
        arc_b.start = arc_a.end;
        Die(ia, arc_a.end, ib, true);
        arc_b.modified = true;
        break;
      case Join::EndToEnd:  // A, then B reversed
        pa.insert(pa.end(), pb.rbegin() + 1, pb.rend());
        arc_a.end = arc_b.start;
        Die(ib, arc_b.start, ia, false);
        arc_a.modified = true;
        break;
      case Join::None:
        break;
    }
  }

  // The dying arc leaves; at its far node the surviving arc takes its place.
  void Die(std::int32_t dying, std::int32_t far_node, std::int32_t surviving, bool starts) {
    graph_.arcs[dying].alive = false;
    points_.erase(dying);
    graph_.Replace(far_node, dying, surviving, starts);
  }

  // The polyline of an arc, read once; false (shown when damaged) when it cannot serve a merge.
  bool Load(std::int32_t arc) {
    ArcItem& item = graph_.arcs[arc];
    if (item.unreadable) return false;
    if (points_.contains(arc)) return true;
    PointArray line;
    if (!LoadArcGeometry(polylines_, item.id, line) || line.count() < 2) {
      item.unreadable = true;
      return false;
    }
    points_.emplace(arc, line.TakePoints());
    return true;
  }

  // The compared fields of both rows, read back: the hashes only tell which pairs may be equal.
  bool SameAttributes(std::int32_t a, std::int32_t b) {
    ArcRecord ra, rb;
    if (!rows_.Seek(a) || !rows_.Read(ra) || !rows_.Seek(b) || !rows_.Read(rb)) return false;
    const auto same = [](const std::string& x, const std::string& y) {
      return WithoutTrailingBlanks(x) == WithoutTrailingBlanks(y);
    };
    return same(ra.codreg, rb.codreg) && same(ra.codele, rb.codele) && same(ra.denom, rb.denom) &&
           same(ra.alterna, rb.alterna) && same(ra.classe, rb.classe) && ra.piazza == rb.piazza;
  }

  MergeGraph& graph_;
  ArcTable rows_;
  DbTable polylines_;
  std::unordered_map<std::int32_t, std::vector<Point>> points_;
};

// Phases 4 to 6. False at the first refusal.
bool WriteMerges(DbConnection& connection, ProgressDisplay& progress, MergeGraph& graph, Merger& merger,
                 ArcMergeCounts& counts) {
  const auto arcs = static_cast<long long>(graph.arcs.size());
  progress.SetPhase("Registrazione Archi Unificati");
  {
    PolylineTable polylines(connection, kArcGeometryTable);
    ArcTable rows(connection);
    if (!polylines.IsOpen() || !rows.IsOpen()) return false;
    const int start_field = rows.table().FieldIndex(arc_field::kStartNode);
    const int end_field = rows.table().FieldIndex(arc_field::kEndNode);
    const int changed_field = rows.table().FieldIndex(arc_field::kChanged);
    for (long long i = 0; i < arcs; ++i) {
      progress.SetProgress(i + 1, arcs);
      const ArcItem& arc = graph.arcs[static_cast<std::size_t>(i)];
      if (!arc.alive || !arc.modified) continue;
      if (polylines.Seek(arc.id) &&
          !polylines.Rewrite(PointArray(merger.PointsOf(static_cast<std::int32_t>(i)))))
        return false;
      if (!rows.Seek(arc.id)) continue;
      if (!rows.table().Edit() || !rows.table().SetFieldInteger(start_field, graph.node_ids[arc.start]) ||
          !rows.table().SetFieldInteger(end_field, graph.node_ids[arc.end]) ||
          !rows.table().SetFieldInteger(changed_field, 1) || !rows.table().Update())
        return false;
      ++counts.arcs_changed;
    }
  }
  progress.SetPhase("Eliminazione Archi superflui");
  {
    ArcRowRemover remover(connection);
    for (long long i = 0; i < arcs; ++i) {
      progress.SetProgress(i + 1, arcs);
      const ArcItem& arc = graph.arcs[static_cast<std::size_t>(i)];
      if (arc.alive) continue;
      const ArcRemoval removal = remover.Remove(arc.id);
      if (removal == ArcRemoval::Failed) return false;
      if (removal == ArcRemoval::Removed) ++counts.arcs_deleted;
    }
  }
  progress.SetPhase("Eliminazione Nodi Ridondanti");
  NodeTable nodes(connection);
  if (!nodes.IsOpen()) return false;
  const auto total = static_cast<std::int32_t>(graph.node_ids.size());
  for (std::int32_t node = 0; node < total; ++node) {
    progress.SetProgress(node + 1, total);
    const auto named = [&](const Incidence& incidence) {
      const ArcItem& arc = graph.arcs[incidence.arc];
      return arc.alive && (arc.start == node || arc.end == node);
    };
    const std::span<Incidence> at = graph.At(node);
    if (std::any_of(at.begin(), at.end(), named)) continue;
    if (!nodes.Seek(graph.node_ids[node])) continue;
    if (!nodes.Delete()) return false;
    ++counts.nodes_deleted;
  }
  return true;
}

}  // namespace

std::string ArcMergeSummary(const ArcMergeCounts& counts) {
  return "Risultati della Unificazione degli Archi:\n\nModificati " + FormatInteger(counts.arcs_changed) +
         " Archi\nEliminati " + FormatInteger(counts.arcs_deleted) + " Archi superflui\nEliminati " +
         FormatInteger(counts.nodes_deleted) + " Nodi ridondanti\n";
}

std::optional<ArcMergeCounts> MergeBrokenArcs(DbConnection& connection, UserInterface& ui) {
  DbBatch batch(connection);
  if (!batch.began()) return std::nullopt;
  ArcMergeCounts counts;
  bool done = false;
  {
    ProgressDisplay progress(ui);
    MergeGraph graph;
    done = ReadArcs(connection, progress, graph);
    if (done) {
      Merger merger(connection, graph);
      merger.Run(progress);
      done = WriteMerges(connection, progress, graph, merger, counts);
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
