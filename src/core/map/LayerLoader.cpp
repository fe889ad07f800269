#include "map/LayerLoader.h"

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "geom/Measures.h"
#include "geom/StoredGeometry.h"
#include "map/LayerNames.h"

namespace viamappa {

namespace {

LayerDefinition Define(std::string_view name, const char* description, FeatureKind kind,
                       std::int32_t line_colour, std::int32_t fore_colour, std::int32_t width,
                       std::int32_t symbol, std::int8_t fill, std::int32_t minimum, std::int32_t maximum,
                       std::int32_t priority, const char* label, const char* font, std::int32_t font_size) {
  LayerDefinition d;
  d.name = name;
  d.description = description;
  d.kind = kind;
  d.style.priority = priority;
  d.style.line_colour = static_cast<std::uint32_t>(line_colour);
  d.style.fore_colour = static_cast<std::uint32_t>(fore_colour);
  d.style.back_colour = 0;
  d.style.line_style = ' ';
  d.style.line_width = width;
  d.style.symbol = symbol;
  d.style.fill = fill;
  d.style.minimum = minimum;
  d.style.maximum = maximum;
  d.label_field = label;
  d.font_face = font;
  d.font_size = font_size;
  return d;
}

// Damaged geometry met while loading: the first row is shown at once, the others are counted and told
// in one message at the end, so that a badly damaged file does not ask for a click a row.
class DamageTally {
 public:
  explicit DamageTally(UserInterface& ui) : ui_(ui) {}

  void Damaged(const std::string& message) {
    if (count_++ == 0) ui_.ShowMessage(message, MessageIcon::Warning);
  }

  void Finish() {
    if (count_ == 2) {
      ui_.ShowMessage("Un'altra entità con la geometria corrotta non è stata caricata nella mappa.",
                      MessageIcon::Warning);
    } else if (count_ > 2) {
      ui_.ShowMessage("Altre " + FormatInteger(count_ - 1) +
                          " entità con la geometria corrotta non sono state caricate nella mappa.",
                      MessageIcon::Warning);
    }
    count_ = 0;
  }

 private:
  UserInterface& ui_;
  long long count_ = 0;
};

// Loads the boundaries of an area table into a layer; true when the table has rows.
bool LoadAreas(MapLayer& layer, DbConnection& connection, const char* table, Box& extent,
               DamageTally& damage) {
  Box loaded;
  bool any = false;
  const auto damaged = [&damage](const std::string& message) { damage.Damaged(message); };
  for (AreaFeature& feature : LoadAreaFeatures(connection, table, &loaded, damaged)) {
    any = true;
    AreaFeature& added = layer.AddAreaFeature(feature.id);
    added.parts = std::move(feature.parts);
  }
  extent.Widen(loaded);
  layer.RebuildIndexes();
  // A table whose rows are all damaged still has rows: the damage was shown already.
  if (!any) any = CountRows(connection, table).value_or(0) > 0;
  return any;
}

std::string TrimmedText(DbQuery& query, int position) {
  std::string text;
  query.GetText(position, text);
  text.resize(TrimTrailingBlanks(text).size());
  return text;
}

}  // namespace

std::string MissingSourcesMessage(bool comuni, bool localita, bool toponimi, bool archi) {
  if (!comuni && !localita && !toponimi && !archi) return {};
  std::string text =
      "ATTENZIONE: non sono ancora state caricate le definizioni cartografiche\n"
      "relative a:\n\n";
  if (comuni) text += "- Comuni\n";
  if (localita) text += "- Località Standard\n";
  if (toponimi) text += "- Toponimi associati alla cartografia\n";
  if (archi) text += "- Grafo Stradale\n";
  text +=
      "\nPer caricare le informazioni cartografiche in oggetto sono disponibili\n"
      "le apposite funzioni del menu Import/Export";
  return text;
}

void LoadLayers(LayerSet& layers, DbConnection& connection, const MapStyling& s) {
  UserInterface& ui = connection.ui();
  ui.BeginBusy(false);
  DamageTally damage(ui);
  Box extent;
  using K = FeatureKind;

  MapLayer& comuni = layers.AddLayer(Define(kMunicipalityLayer, "Comuni", K::Area, s.col_comuni, 0,
                                            s.lin_comuni, 0, -1, s.min_comuni, s.max_comuni, 6, "", "", 0));
  const bool has_comuni = LoadAreas(comuni, connection, "geocom", extent, damage);

  MapLayer& labcomuni = layers.AddLayer(Define(kMunicipalityLabelLayer, "Nomi Comuni", K::Point, 192, 0, 2, 0,
                                               0, 50000, 1000000, 0, "denom", "Arial", 1000));
  {
    DbQuery query(connection);
    query.SetSelect("id, denom");
    query.SetFrom("comuni");
    query.SetOrderBy("id");
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::int32_t id = 0;
      query.GetShort(0, id);
      if (const AreaFeature* area = comuni.FindAreaFeature(id)) {
        const Point at = LabelPoint(*area);
        labcomuni.AddPointFeature(id, at.x, at.y).text = TrimmedText(query, 1);
      }
    }
    labcomuni.RebuildIndexes();
  }

  MapLayer& local = layers.AddLayer(Define(kLocalityLayer, "Località", K::Area, s.col_loc, s.fore_loc,
                                           s.lin_loc, 0, -4, s.min_loc, s.max_loc, 5, "", "", 0));
  const bool has_local = LoadAreas(local, connection, "geoloc", extent, damage);

  MapLayer& locbig = layers.AddLayer(Define(kBigLocalityLayer, "Località Maggiori", K::Point, 0xC00000, 0, 2,
                                            0, 0, s.min_loc, 200000, 0, "denom", "Arial", 100));
  MapLayer& locmedie = layers.AddLayer(Define(kMediumLocalityLayer, "Località Medie", K::Point, 0x800000, 0,
                                              2, 0, 0, s.min_loc, 100000, 0, "denom", "Arial", 100));
  MapLayer& locsmall = layers.AddLayer(Define(kSmallLocalityLayer, "Località Minori", K::Point, 0, 0, 2, 0, 0,
                                              s.min_loc, 50000, 0, "denom", "Arial", 100));
  {
    DbQuery query(connection);
    query.SetSelect("id, denom, abitanti");
    query.SetFrom("local");
    query.SetOrderBy("id");
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::int32_t id = 0;
      std::int32_t inhabitants = 0;
      query.GetShort(0, id);
      query.GetLong(2, inhabitants);
      const AreaFeature* area = local.FindAreaFeature(id);
      if (!area) continue;
      MapLayer& target = inhabitants >= 10000 ? locbig : inhabitants < 500 ? locsmall : locmedie;
      const Point at = LabelPoint(*area);
      target.AddPointFeature(id, at.x, at.y).text = TrimmedText(query, 1);
    }
    locbig.RebuildIndexes();
    locmedie.RebuildIndexes();
    locsmall.RebuildIndexes();
    local.RebuildIndexes();
  }

  MapLayer& archi = layers.AddLayer(Define(kArcLayer, "Archi Grafo", K::Line, s.col_archi, 0, s.lin_archi, 0,
                                           0, s.min_archi, s.max_archi, 4, "", "", 0));
  bool has_archi = false;
  {
    DbQuery query(connection);
    query.SetSelect(PolylineSelectList());
    query.SetFrom(std::string(kArcGeometryTable));
    query.SetOrderBy(std::string(polyline_field::kId));
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      has_archi = true;
      std::int32_t id = 0;
      PointArray line;
      if (!ReadPolylineRow(query, 0, id, line)) {
        query.GetLong(0, id);
        damage.Damaged(DamagedArcMessage(id));
        continue;
      }
      extent.Widen(line.box());
      archi.AddPolyline(archi.AddLineFeature(id), std::move(line));
    }
    archi.RebuildIndexes();
  }

  // The street names have no data of their own: one placeholder feature makes the layer a line layer
  // whose style and thresholds govern the names written along the arcs.
  MapLayer& toponvie = layers.AddLayer(Define(kStreetNameLayer, "Toponimi Strade", K::Line, s.col_vie, 0, 8,
                                              0, 0, s.min_vie, s.max_vie, 4, "", "Arial", 0));
  toponvie.AddPolyline(toponvie.AddLineFeature(0), PointArray(std::vector<Point>{{1.0, 1.0}, {2.0, 2.0}}));
  toponvie.RebuildIndexes();

  MapLayer& nodi = layers.AddLayer(Define(kNodeLayer, "Nodi Grafo", K::Point, 0, 0, 0, s.sym_nodi, 0,
                                          s.min_nodi, s.max_nodi, 2, "", "", 0));
  {
    DbQuery query(connection);
    query.SetSelect(NodeSelectList());
    query.SetFrom(std::string(kNodeTable));
    query.SetOrderBy(std::string(node_field::kId));
    NodeRecord node;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      ReadNodeRecord(query, 0, node);
      nodi.AddPointFeature(node.id, node.coord_x, node.coord_y);
      extent.Widen(node.coord_x, node.coord_y);
    }
    nodi.RebuildIndexes();
  }

  bool has_toponimi = false;
  {
    DbQuery query(connection);
    query.SetSelect("id");
    query.SetFrom("toponimi");
    has_toponimi = query.Open();
  }

  damage.Finish();
  const std::string missing = MissingSourcesMessage(!has_comuni, !has_local, !has_toponimi, !has_archi);
  if (!missing.empty()) ui.ShowMessage(missing, MessageIcon::Information);
  layers.extent.Widen(extent);
}

}  // namespace viamappa
