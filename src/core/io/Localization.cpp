#include "io/Localization.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/NumberText.h"
#include "db/BulkLoad.h"
#include "db/DbBatch.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "geom/AreaIndex.h"
#include "geom/GraphRecords.h"
#include "geom/StoredGeometry.h"
#include "io/AreaVotes.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

constexpr const char* kMunicipalityRings = "geocom";
constexpr const char* kLocalityRings = "geoloc";
constexpr std::string_view kToponymTable = "toponimi";
constexpr std::string_view kToponymMunicipality = "comune";

constexpr const char* kCannotLocalizeArcs =
    "Pertanto non è possibile procedere alla localizzazione\n"
    "degli archi stradali.";

// One arc to localize: its stored box, its points in the shared pool, and the results.
struct ArcItem {
  std::int32_t id = 0;
  std::int32_t count = 0;
  const Point* first = nullptr;
  Box box;
  Box extent;                  // of the box and the points: where any point that votes for the arc lies
  bool near_locality = false;  // some locality of its municipality may hold one of its points
  std::int32_t comune = 0;
  std::int32_t local = 0;
};

struct ArcItems {
  std::vector<ArcItem> arcs;
  // The points of every arc, in blocks that never move: a block is filled and a new one begun, so
  // that no point is copied again as the pool grows.
  std::vector<std::vector<Point>> blocks;
  long long rows = 0;  // damaged ones included

  static constexpr std::size_t kBlock = 1 << 20;

  // Room for count points of one arc.
  Point* Take(std::size_t count) {
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < count) {
      blocks.emplace_back();
      blocks.back().reserve(std::max(kBlock, count));
    }
    std::vector<Point>& block = blocks.back();
    block.resize(block.size() + count);
    return block.data() + block.size() - count;
  }

  std::span<const Point> PointsOf(const ArcItem& arc) const {
    return {arc.first, static_cast<std::size_t>(arc.count)};
  }
};

// The four corners of a box in the order they vote: (minx, miny), (minx, maxy), (maxx, miny), (maxx, maxy).
std::array<Point, 4> Corners(const Box& box) {
  return {Point{box.minx, box.miny}, Point{box.minx, box.maxy}, Point{box.maxx, box.miny},
          Point{box.maxx, box.maxy}};
}

// Every row of geoarchi in identifier order; a damaged row is shown and left out.
ArcItems ReadArcs(DbConnection& connection, UserInterface& ui, ProgressDisplay& progress) {
  ArcItems items;
  const long long total = CountRows(connection, kArcGeometryTable).value_or(0);
  items.arcs.reserve(static_cast<std::size_t>(total));
  DbQuery query(connection);
  query.SetSelect(PolylineSelectList());
  query.SetFrom(kArcGeometryTable);
  query.SetOrderBy(polyline_field::kId);
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    progress.SetProgress(++items.rows, total);
    ArcItem arc;
    std::int32_t count = 0;
    std::string_view bytes;
    query.GetLong(0, arc.id);
    query.GetShort(1, count);
    query.GetBinaryView(2, bytes);
    // The length is checked before a single byte is copied.
    if (count < 0 || bytes.size() != static_cast<std::size_t>(count) * sizeof(Point)) {
      ui.ShowMessage(DamagedArcMessage(arc.id), MessageIcon::Warning);
      continue;
    }
    arc.count = count;
    Point* room = items.Take(static_cast<std::size_t>(count));
    if (count > 0) std::memcpy(room, bytes.data(), bytes.size());
    arc.first = room;
    query.GetDouble(3, arc.box.minx);
    query.GetDouble(4, arc.box.miny);
    query.GetDouble(5, arc.box.maxx);
    query.GetDouble(6, arc.box.maxy);
    arc.extent = arc.box;
    for (const Point& p : items.PointsOf(arc)) arc.extent.Widen(p);
    items.arcs.push_back(arc);
  }
  return items;
}

std::function<void(const std::string&)> ShowDamage(UserInterface& ui) {
  return [&ui](const std::string& message) { ui.ShowMessage(message, MessageIcon::Warning); };
}

// The localities with the municipality each belongs to (the one of the same istat code), in the
// order of their identifiers; a locality whose istat names no municipality is left out.
std::vector<AreaFeature> ReadLocalities(DbConnection& connection, UserInterface& ui,
                                        std::vector<std::int32_t>& owners) {
  DbQuery query(connection);
  query.SetSelect(
      "geoloc.id, geoloc.sub, geoloc.excl, geoloc.punti, geoloc.coord, geoloc.minx, geoloc.miny,"
      " geoloc.maxx, geoloc.maxy, comuni.id");
  query.SetFrom("geoloc, local, comuni");
  query.SetWhere("geoloc.ID = local.ID AND comuni.istat = local.istat");
  query.SetOrderBy("geoloc.id, geoloc.sub, geoloc.excl");
  owners.clear();
  return ReadAreaFeatures(query, kLocalityRings, nullptr, ShowDamage(ui), [&owners](DbQuery& row) {
    std::int32_t owner = 0;
    row.GetShort(9, owner);
    owners.push_back(owner);
  });
}

void ShowMissing(UserInterface& ui, const char* what, const char* consequence) {
  ui.ShowMessage(std::string(what) + "\n\n" + consequence, MessageIcon::Stop);
}

// The municipality features, in the phase "Estrazione Comuni"; when there are none, says so.
std::vector<AreaFeature> ReadMunicipalities(DbConnection& connection, UserInterface& ui,
                                            ProgressDisplay& progress) {
  progress.SetPhase("Estrazione Comuni");
  std::vector<AreaFeature> municipalities =
      LoadAreaFeatures(connection, kMunicipalityRings, nullptr, ShowDamage(ui));
  if (municipalities.empty())
    ShowMissing(ui, "ATTENZIONE: i Comuni non risultano presenti.", kCannotLocalizeArcs);
  return municipalities;
}

// Phases I and II of one kind of area: the box corners of every arc that may take part, then the
// points of those still without an area. takes says whether an arc takes part, result is its result and
// accept_for gives the filter of the features an arc may vote for.
template <typename Takes, typename Result, typename Accept>
void AssignAreas(ArcItems& items, const AreaIndex& index, ProgressDisplay& progress, const char* phase_one,
                 const char* phase_two, Takes takes, Result result, Accept accept_for) {
  AreaVotes votes;
  const long long total = static_cast<long long>(items.arcs.size());
  progress.SetPhase(phase_one);
  long long done = 0;
  for (ArcItem& arc : items.arcs) {
    progress.SetProgress(++done, total);
    if (!takes(arc)) continue;
    const std::array<Point, 4> corners = Corners(arc.box);
    votes.VotePoints(index, corners, accept_for(arc));
    result(arc) = votes.Decide(arc.count);
  }
  progress.SetPhase(phase_two);
  done = 0;
  for (ArcItem& arc : items.arcs) {
    progress.SetProgress(++done, total);
    if (!takes(arc) || result(arc) != 0 || arc.count == 0) continue;
    votes.VotePoints(index, items.PointsOf(arc), accept_for(arc));
    result(arc) = votes.Decide(arc.count);
  }
}

// Writes the results of the arcs into archi; false at the first row refused (the access layer has shown
// why). Arcs without a row in archi are skipped.
bool WriteArcResults(DbConnection& connection, const ArcItems& items, ProgressDisplay& progress) {
  DbTable archi(connection, kArcTable);
  const int fields[] = {archi.FieldIndex(arc_field::kLocality), archi.FieldIndex(arc_field::kMunicipality)};
  if (!archi.SelectIndex(kPrimaryIndex) || fields[0] < 0 || fields[1] < 0) return false;
  const long long total = static_cast<long long>(items.arcs.size());
  long long done = 0;
  for (const ArcItem& arc : items.arcs) {
    progress.SetProgress(++done, total);
    const std::int64_t values[] = {arc.local, arc.comune};
    bool found = false;
    if (!archi.RewriteByKey(arc.id, fields, values, found)) return false;
  }
  return true;
}

// Writes the results into archi, all of them or, at the first failure, none.
bool RegisterArcs(DbConnection& connection, const ArcItems& items, ProgressDisplay& progress) {
  progress.SetPhase("Registrazione Localizzazione Archi Stradali");
  DbBatch batch(connection);
  if (!batch.began()) return false;
  bool written = false, checked = false;
  {
    // Most rows change: the indexes of the two fields are built again at the end, and their relations
    // checked over the whole table.
    BulkLoad load(connection, {std::string(kArcTable)},
                  {std::string(arc_field::kLocality), std::string(arc_field::kMunicipality)});
    written = WriteArcResults(connection, items, progress);
    checked = load.Finish();
  }
  // A relation that does not hold undid the rows: written again one by one, the row that breaks it is
  // named.
  if (written && !checked) written = WriteArcResults(connection, items, progress);
  if (written) return batch.Commit();
  batch.Rollback();
  return false;
}

}  // namespace

bool LocalizeRoadGraph(DbConnection& connection, UserInterface& ui) {
  if (!connection.IsOpen()) return false;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);

  progress.SetPhase("Estrazione Archi");
  ArcItems items = ReadArcs(connection, ui, progress);
  if (items.rows == 0) {
    ShowMissing(ui, "ATTENZIONE: il grafo stradale non risulta presente.", kCannotLocalizeArcs);
    return false;
  }

  const std::vector<AreaFeature> municipalities = ReadMunicipalities(connection, ui, progress);
  if (municipalities.empty()) return false;
  {
    const AreaIndex index(municipalities);
    AssignAreas(
        items, index, progress, "Associazione Archi-Comuni (fase I)", "Associazione Archi-Comuni (fase II)",
        [](const ArcItem&) { return true; }, [](ArcItem& arc) -> std::int32_t& { return arc.comune; },
        [](const ArcItem&) { return [](int) { return true; }; });
  }

  progress.SetPhase("Estrazione Località");
  std::vector<std::int32_t> owners;
  const std::vector<AreaFeature> localities = ReadLocalities(connection, ui, owners);
  if (localities.empty()) {
    ShowMissing(ui, "ATTENZIONE: le Località non risultano presenti.", kCannotLocalizeArcs);
    return false;
  }
  {
    // An arc looks for its locality among those of its own municipality only. An arc away from all of
    // them has no point that could vote: it is passed by.
    const AreaIndex index(localities);
    const auto of_municipality = [&owners](std::int32_t comune) {
      return [&owners, comune](int feature) { return owners[feature] == comune; };
    };
    for (ArcItem& arc : items.arcs)
      arc.near_locality = arc.comune != 0 && index.MayHold(arc.extent, of_municipality(arc.comune));
    AssignAreas(
        items, index, progress, "Associazione Archi-Località (fase I)",
        "Associazione Archi-Località (fase II)", [](const ArcItem& arc) { return arc.near_locality; },
        [](ArcItem& arc) -> std::int32_t& { return arc.local; },
        [&of_municipality](const ArcItem& arc) { return of_municipality(arc.comune); });
  }

  // The points have cast their votes: their memory goes back before the registration.
  std::vector<std::vector<Point>>().swap(items.blocks);
  if (!RegisterArcs(connection, items, progress)) return false;
  ui.ShowMessage("La localizzazione degli archi del grafo stradale è stata effettuata",
                 MessageIcon::Information);
  return true;
}

bool LocalizeToponyms(DbConnection& connection, UserInterface& ui) {
  if (!connection.IsOpen()) return false;
  ui.BeginBusy(true);
  ProgressDisplay progress(ui);

  struct Toponym {
    std::int32_t id = 0;
    Box box;
    std::int32_t comune = 0;
  };
  progress.SetPhase("Estrazione Toponimi");
  std::vector<Toponym> toponyms;
  {
    const long long total = CountRows(connection, kToponymTable).value_or(0);
    DbQuery query(connection);
    query.SetSelect("id, minx, miny, maxx, maxy");
    query.SetFrom(kToponymTable);
    query.SetOrderBy("id");
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      Toponym toponym;
      query.GetLong(0, toponym.id);
      query.GetDouble(1, toponym.box.minx);
      query.GetDouble(2, toponym.box.miny);
      query.GetDouble(3, toponym.box.maxx);
      query.GetDouble(4, toponym.box.maxy);
      toponyms.push_back(toponym);
      progress.SetProgress(static_cast<long long>(toponyms.size()), total);
    }
  }
  if (toponyms.empty()) {
    ShowMissing(ui, "ATTENZIONE: i toponimi associati alla cartografia non risultano presenti.",
                "Pertanto non è possibile procedere alla localizzazione\ndei toponimi.");
    return false;
  }

  const std::vector<AreaFeature> municipalities = ReadMunicipalities(connection, ui, progress);
  if (municipalities.empty()) return false;

  progress.SetPhase("Associazione Toponimi-Comuni");
  {
    const AreaIndex index(municipalities);
    long long done = 0;
    for (Toponym& toponym : toponyms) {
      progress.SetProgress(++done, static_cast<long long>(toponyms.size()));
      // The first municipality that holds all four corners: one that holds the first corner and
      // the other three.
      const std::array<Point, 4> corners = Corners(toponym.box);
      const int found = index.FirstHolding(corners[0], [&](int feature) {
        for (std::size_t i = 1; i < corners.size(); ++i) {
          if (!PointInFeature(municipalities[feature], corners[i].x, corners[i].y)) return false;
        }
        return true;
      });
      toponym.comune = found >= 0 ? municipalities[found].id : 0;
    }
  }

  progress.SetPhase("Registrazione Localizzazione Toponimi");
  {
    DbBatch batch(connection);
    if (!batch.began()) return false;
    DbTable table(connection, kToponymTable);
    const int comune = table.FieldIndex(kToponymMunicipality);
    if (!table.SelectIndex(kPrimaryIndex) || comune < 0) return false;
    long long done = 0;
    for (const Toponym& toponym : toponyms) {
      progress.SetProgress(++done, static_cast<long long>(toponyms.size()));
      const std::string key = FormatInteger(toponym.id);
      if (!table.Seek({std::string_view(key)})) continue;
      if (!table.Edit() || !table.SetFieldInteger(comune, toponym.comune) || !table.Update()) {
        batch.Rollback();
        return false;
      }
    }
    if (!batch.Commit()) return false;
  }
  ui.ShowMessage("La localizzazione dei toponimi associati alla cartografia è stata effettuata",
                 MessageIcon::Information);
  return true;
}

bool IsRoadGraphLocalized(DbConnection& connection) {
  DbQuery query(connection);
  query.SetSelect(arc_field::kMunicipality);
  query.SetFrom(kArcTable);
  query.SetWhere(std::string(arc_field::kMunicipality) + " > 0");
  query.SetGroupBy(arc_field::kMunicipality);
  return query.Open();
}

bool CheckRoadGraphLocalized(DbConnection& connection, UserInterface& ui) {
  if (IsRoadGraphLocalized(connection)) return true;
  ui.ShowMessage(
      "La localizzazione del Grafo Stradale non risulta effettuata.\n\n"
      "Prima di modificare i toponimi nel Grafo Stradale è assolutamente\n"
      "consigliabile lanciare la funzione di Localizzazione del Grafo Stradale\n"
      "che si trova nel menu Utilità",
      MessageIcon::Information);
  return false;
}

}  // namespace viamappa
