#include "io/PrimaryGraphReader.h"

#include <cstring>
#include <unordered_map>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbQuery.h"

namespace viamappa::conflation {

namespace {

std::string Qualified(std::string_view table, std::string_view field) {
  return std::string(table) + "." + std::string(field);
}

}  // namespace

std::string DamagedPrimaryArcMessage(std::int64_t id) {
  return "Archi Grafo Primario: Entità lineare corrotta " + FormatInteger(id) + " !!!";
}

void ReadPrimaryArcs(DbConnection& connection, ConflationState& state, ProgressDisplay& progress,
                     UserInterface& ui) {
  progress.SetPhase("Estrazione degli Archi del Grafo Primario");
  const long long total = CountRows(connection, kArcTable).value_or(0);
  DbQuery query(connection);
  query.SetSelect(Qualified(kArcTable, arc_field::kId) + ", " + Qualified(kArcTable, arc_field::kRegionCode) +
                  ", " + Qualified(kArcGeometryTable, polyline_field::kCount) + ", " +
                  Qualified(kArcGeometryTable, polyline_field::kCoordinates));
  query.SetFrom(std::string(kArcTable) + ", " + std::string(kArcGeometryTable));
  query.SetWhere(Qualified(kArcGeometryTable, polyline_field::kId) + " = " +
                 Qualified(kArcTable, arc_field::kId));
  query.SetOrderBy(Qualified(kArcTable, arc_field::kId));
  state.primary.clear();
  state.streets.clear();
  const Box area = SearchArea(state);
  std::unordered_map<std::string, std::int32_t> street_of_code;
  std::string code;
  long long done = 0;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    progress.SetProgress(++done, total);
    std::int32_t id = 0, count = 0;
    query.GetLong(0, id);
    query.GetShort(2, count);
    std::string_view bytes;
    query.GetBinaryView(3, bytes);
    // The length is checked before a single byte is copied.
    if (count < 0 || bytes.size() != static_cast<std::size_t>(count) * sizeof(Point)) {
      ui.ShowMessage(DamagedPrimaryArcMessage(id), MessageIcon::Warning);
      continue;
    }
    if (count == 0) continue;
    // The box first, from the bytes: most arcs of a region lie far from a secondary graph.
    Box box;
    for (std::int32_t k = 0; k < count; ++k) {
      Point p;
      std::memcpy(&p, bytes.data() + static_cast<std::size_t>(k) * sizeof(Point), sizeof(Point));
      box.Widen(p);
    }
    if (!box.Meets(area)) continue;
    std::vector<Point> points(static_cast<std::size_t>(count));
    std::memcpy(points.data(), bytes.data(), bytes.size());
    const auto position = static_cast<std::int32_t>(state.primary.size());
    PrimaryArc& arc = state.primary.emplace_back();
    arc.id = id;
    arc.extent = box;
    arc.own.line = PointArray(std::move(points), box);
    if (!OverlapsWithMargin(box, state.secondary_extent, state.snap)) continue;
    query.GetText(1, code);
    code.resize(TrimTrailingBlanks(code).size());
    const auto [entry, created] =
        street_of_code.try_emplace(code, static_cast<std::int32_t>(state.streets.size()));
    if (created) state.streets.push_back({code, {}});
    state.streets[static_cast<std::size_t>(entry->second)].arcs.push_back(position);
  }
}

void ReadExistingNodes(DbConnection& connection, ConflationState& state, ProgressDisplay& progress) {
  progress.SetPhase("Estrazione dei Nodi del Grafo Primario");
  const long long total = CountRows(connection, kNodeTable).value_or(0);
  DbQuery query(connection);
  query.SetSelect(NodeSelectList(kNodeTable));
  query.SetFrom(kNodeTable);
  query.SetOrderBy(Qualified(kNodeTable, node_field::kId));
  state.nodes.clear();
  const Box area = SearchArea(state);
  long long done = 0;
  NodeRecord node;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    progress.SetProgress(++done, total);
    if (ReadNodeRecord(query, 0, node) && area.Contains(node.coord_x, node.coord_y))
      state.nodes.push_back(node);
  }
}

}  // namespace viamappa::conflation
