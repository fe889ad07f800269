#include "background/CartographyFromDatabase.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "geom/Measures.h"
#include "geom/StoredGeometry.h"

namespace viamappa::background {

namespace {

// Municipality names keep one height on screen at every scale (3.2 mm); locality names are 120 m high
// on the ground and show from about 1:150000 closer.
constexpr double kMunicipalityNameUnits = 32;
constexpr double kLocalityNameMetres = 120;

// About this many entities a tile: a redraw of a small part of the region reads only a few tiles.
constexpr double kEntitiesPerTile = 40;
constexpr int kMostTilesAcross = 64;

std::vector<BackgroundTheme> Themes() {
  std::vector<BackgroundTheme> themes(4);
  themes[0].code = kMunicipalityTheme;
  themes[0].description = "Comuni";
  themes[0].border_colour = 0xA0A0A0;
  themes[0].border_width = 1;
  themes[0].fill = -1;  // outline only
  themes[1].code = kBoundaryTheme;
  themes[1].description = "Confini comunali";
  themes[1].line_colour = 0x606060;
  themes[1].line_width = 2;
  themes[1].line_style = 'T';
  themes[2].code = kLocalityTheme;
  themes[2].description = "Località";
  themes[2].border_colour = 0x3070C0;
  themes[2].border_width = 1;
  themes[2].fill = -4;  // a diagonal cross hatch
  themes[2].fore_colour = 0x90C8F0;
  themes[3].code = kLocalityPointTheme;
  themes[3].description = "Centri abitati";
  themes[3].line_colour = 0x0000CF;
  themes[3].symbol = 1;
  return themes;
}

std::vector<BackgroundTextStyle> TextStyles() {
  std::vector<BackgroundTextStyle> styles(2);
  styles[0] = {kMunicipalityNameStyle, "Nomi dei comuni", -1, -1, 0x206020, "Arial"};
  styles[1] = {kLocalityNameStyle, "Nomi delle località", -1, -1, 0x404040, "Arial"};
  return styles;
}

// The names of a table by identifier, without trailing blanks.
std::map<std::int32_t, std::string> Names(DbConnection& connection, const char* table) {
  std::map<std::int32_t, std::string> names;
  DbQuery query(connection);
  query.SetSelect("id, denom");
  query.SetFrom(table);
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    std::string name;
    query.GetShort(0, id);
    query.GetText(1, name);
    name.resize(TrimTrailingBlanks(name).size());
    names[id] = std::move(name);
  }
  return names;
}

// A grid of tiles over the extent; each entity goes to the tile under the middle of its box.
class TileGrid {
 public:
  TileGrid(const Box& extent, std::size_t entities) : extent_(extent) {
    const double cells = std::sqrt(static_cast<double>(entities) / kEntitiesPerTile);
    across_ = std::clamp(static_cast<int>(std::ceil(cells)), 1, kMostTilesAcross);
    tiles_.resize(static_cast<std::size_t>(across_) * across_);
  }

  TileContent& At(const Box& box) {
    const auto cell = [&](double v, double lo, double hi) {
      const double t = hi > lo ? (v - lo) / (hi - lo) : 0;
      return std::clamp(static_cast<int>(t * across_), 0, across_ - 1);
    };
    const int column = cell((box.minx + box.maxx) / 2, extent_.minx, extent_.maxx);
    const int row = cell((box.miny + box.maxy) / 2, extent_.miny, extent_.maxy);
    return tiles_[static_cast<std::size_t>(row) * across_ + column];
  }

  // The tiles that hold something, numbered.
  std::vector<TileContent*> Filled() {
    std::vector<TileContent*> filled;
    for (TileContent& tile : tiles_) {
      if (tile.themes.empty() && tile.texts.empty()) continue;
      tile.id = static_cast<std::uint32_t>(filled.size() + 1);
      tile.name = std::to_string(tile.id);
      tile.name.insert(0, 1, 'T');
      filled.push_back(&tile);
    }
    return filled;
  }

 private:
  Box extent_;
  int across_ = 1;
  std::vector<TileContent> tiles_;
};

template <typename Entry>
Entry& EntryOf(std::vector<Entry>& entries, const char* code) {
  for (Entry& entry : entries)
    if (entry.code == code) return entry;
  entries.push_back({});
  entries.back().code = code;
  return entries.back();
}

}  // namespace

bool WriteCartographyFromDatabase(DbConnection& connection, const std::string& path, bool packed, bool wide,
                                  CartographySummary& summary, std::string& error) {
  summary = {};
  Box extent;
  const std::vector<AreaFeature> municipalities = LoadAreaFeatures(connection, "geocom", &extent);
  const std::vector<AreaFeature> localities = LoadAreaFeatures(connection, "geoloc", &extent);
  if (extent.IsEmpty()) {
    error = "il database non contiene confini di comuni o di località";
    return false;
  }
  const std::map<std::int32_t, std::string> municipality_names = Names(connection, "comuni");
  const std::map<std::int32_t, std::string> locality_names = Names(connection, "local");

  TileGrid grid(extent, 3 * (municipalities.size() + localities.size()));
  for (const AreaFeature& feature : municipalities) {
    Box whole;
    for (const AreaPart& part : feature.parts) {
      whole.Widen(part.outer.box());
      AreaEntity area{part.outer.points(), {}};
      for (const PointArray& hole : part.exclusions) area.holes.push_back(hole.points());
      TileContent& tile = grid.At(part.outer.box());
      EntryOf(tile.themes, kMunicipalityTheme).areas.push_back(std::move(area));
      EntryOf(tile.themes, kBoundaryTheme).lines.push_back(part.outer.points());
    }
    const auto name = municipality_names.find(feature.id);
    if (name != municipality_names.end() && !name->second.empty() && !whole.IsEmpty()) {
      TextEntity text{LabelPoint(feature), kMunicipalityNameUnits, true, 0, 0, name->second};
      EntryOf(grid.At(whole).texts, kMunicipalityNameStyle).texts.push_back(std::move(text));
    }
    ++summary.municipalities;
  }
  for (const AreaFeature& feature : localities) {
    Box whole;
    for (const AreaPart& part : feature.parts) {
      whole.Widen(part.outer.box());
      AreaEntity area{part.outer.points(), {}};
      for (const PointArray& hole : part.exclusions) area.holes.push_back(hole.points());
      EntryOf(grid.At(part.outer.box()).themes, kLocalityTheme).areas.push_back(std::move(area));
    }
    if (whole.IsEmpty()) continue;
    const Point centre = LabelPoint(feature);
    TileContent& tile = grid.At(whole);
    EntryOf(tile.themes, kLocalityPointTheme).points.push_back(centre);
    const auto name = locality_names.find(feature.id);
    if (name != locality_names.end() && !name->second.empty()) {
      // The name begins just right of the point, its middle level with it.
      const Point at{centre.x + kLocalityNameMetres / 2, centre.y + kLocalityNameMetres / 2};
      EntryOf(tile.texts, kLocalityNameStyle)
          .texts.push_back({at, kLocalityNameMetres, false, 0, 0, name->second});
    }
    ++summary.localities;
  }

  WriterOptions options;
  options.packed = packed;
  options.wide = wide;
  options.origin = {std::floor(extent.minx), std::floor(extent.miny)};
  BackgroundWriter writer(BackgroundFormat::Cartography, options);
  writer.SetThemes(Themes());
  writer.SetTextStyles(TextStyles());
  bool written = writer.Open(path);
  for (TileContent* tile : grid.Filled()) {
    written = written && writer.AddTile(*tile);
    ++summary.tiles;
  }
  if (!(written && writer.Finish(extent))) {
    error = writer.error();
    return false;
  }
  return true;
}

}  // namespace viamappa::background
