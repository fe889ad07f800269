#include "synth/SyntheticRegion.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string_view>
#include <vector>

#include "base/Windows1252.h"
#include "geom/PointArray.h"
#include "io/ShapefileWriter.h"

namespace viamappa::synth {

namespace {

// Every coordinate is a whole number of centimetres, so that it has at most two decimals in metres
// and reads back exactly after rounding to hundredths.
using Cm = std::int64_t;

constexpr Cm kRegionX = 600000 * 100LL;
constexpr Cm kRegionY = 5000000 * 100LL;
constexpr Cm kMinimumSide = 1000 * 100LL;  // one kilometre
constexpr Cm kMaximumSide = 1000000 * 100LL;

constexpr std::int64_t kMaxArcs = 50'000'000;
constexpr std::int32_t kMaxComuni = 10'000;
constexpr std::int32_t kMaxLocalita = 1'000'000;

// splitmix64: the same numbers for a seed on every platform.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::uint64_t Hash(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0) {
  return Mix(Mix(Mix(seed ^ Mix(a)) ^ b) ^ c);
}

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() { return Mix(state_++); }
  // A whole number from lo to hi, both included.
  std::int64_t Between(std::int64_t lo, std::int64_t hi) {
    return lo + static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  bool Chance(int per_mille) { return static_cast<int>(Next() % 1000) < per_mille; }

 private:
  std::uint64_t state_;
};

Point ToPoint(Cm x, Cm y) {
  return {static_cast<double>(x) / 100.0, static_cast<double>(y) / 100.0};
}

// "%.2f" of a whole number of centimetres, independent of the locale.
std::string Metres(Cm cm) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cm / 100),
                static_cast<long long>(cm % 100));
  return text;
}

template <std::size_t N>
std::string_view Pick(const std::array<std::string_view, N>& list, std::uint64_t h) {
  return list[h % N];
}

// ---- Names ----

struct StreetType {
  std::string_view name;
  int weight;
  bool square;
};

constexpr std::array<StreetType, 13> kStreetTypes = {{{"VIA", 50, false},
                                                      {"VIALE", 6, false},
                                                      {"CORSO", 3, false},
                                                      {"LARGO", 2, true},
                                                      {"VICOLO", 7, false},
                                                      {"STRADA", 7, false},
                                                      {"PIAZZA", 4, true},
                                                      {"PIAZZALE", 1, true},
                                                      {"PIAZZETTA", 1, true},
                                                      {"SALITA", 3, false},
                                                      {"LOCALITÀ", 3, false},
                                                      {"VIA VECCHIA", 1, false},
                                                      {"LUNGADIGE", 1, false}}};

constexpr std::array<std::string_view, 72> kStreetBodies = {"GIUSEPPE GARIBALDI",
                                                            "DANTE ALIGHIERI",
                                                            "GIOSUÈ CARDUCCI",
                                                            "NICCOLÒ TOMMASEO",
                                                            "CESARE BATTISTI",
                                                            "DAMIANO CHIESA",
                                                            "ALESSANDRO MANZONI",
                                                            "GIUSEPPE MAZZINI",
                                                            "CAMILLO BENSO DI CAVOUR",
                                                            "MASSIMO D'AZEGLIO",
                                                            "GABRIELE D'ANNUNZIO",
                                                            "UGO FOSCOLO",
                                                            "GIACOMO LEOPARDI",
                                                            "ANTONIO ROSMINI",
                                                            "ALCIDE DE GASPERI",
                                                            "FRANCESCO PETRARCA",
                                                            "GALILEO GALILEI",
                                                            "LUDOVICO ARIOSTO",
                                                            "GIOVANNI PRATI",
                                                            "NICOLÒ D'ARCO",
                                                            "FORTUNATO DEPERO",
                                                            "CARLO DEVIGILI",
                                                            "DELL'UNIVERSITÀ",
                                                            "DELLA LIBERTÀ",
                                                            "DELLE ERBE",
                                                            "DEI MOREI",
                                                            "DEL PONTE",
                                                            "DELL'ORO",
                                                            "DELLA CHIESA",
                                                            "DEI MILLE",
                                                            "DELL'ADIGE",
                                                            "DELLA PACE",
                                                            "DEGLI ALPINI",
                                                            "DELLE FORNACI",
                                                            "DEL CASTELLO",
                                                            "DELL'OSPEDALE",
                                                            "DELLA STAZIONE",
                                                            "DEI TIGLI",
                                                            "DELLA FONTANA",
                                                            "DELL'INDIPENDENZA",
                                                            "DEL LAVORO",
                                                            "DELLA REPUBBLICA",
                                                            "DELLA CARITÀ",
                                                            "ALLA GROTTA",
                                                            "DELLA RUPE",
                                                            "SANT'ANNA",
                                                            "SAN PIETRO",
                                                            "SANTA MARIA",
                                                            "SANT'ANTONIO",
                                                            "SAN GIOVANNI",
                                                            "SANTO STEFANO",
                                                            "SAN NICOLÒ",
                                                            "SANT'ORSOLA",
                                                            "SAN FRANCESCO D'ASSISI",
                                                            "SANT'ILARIO",
                                                            "ROMA",
                                                            "TRENTO",
                                                            "VERONA",
                                                            "BOLZANO",
                                                            "ROVERETO",
                                                            "MILANO",
                                                            "VENEZIA",
                                                            "TRIESTE",
                                                            "GORIZIA",
                                                            "ROTALIANA",
                                                            "FORLÌ",
                                                            "CANTÙ",
                                                            "IV NOVEMBRE",
                                                            "XXV APRILE",
                                                            "II GIUGNO",
                                                            "XX SETTEMBRE",
                                                            "I MAGGIO"};

constexpr std::array<std::string_view, 12> kValleys = {
    "DELLA VAL DI NON",    "DEL BRENNERO",      "DELLA VALSUGANA", "DELLA VAL DI FIEMME",
    "DEL TONALE",          "DELLA GARDESANA",   "DEL MENDOLA",     "DELLE GIUDICARIE",
    "DELLA VAL DI CEMBRA", "DEL PASSO DEL FRÈ", "DELLA PAGANELLA", "DELL'ALTOPIANO"};

constexpr std::array<std::string_view, 12> kTownPrefixes = {"",       "Castel ",   "Monte ", "Villa ",
                                                            "Borgo ", "Pieve di ", "Ponte ", "Rocca ",
                                                            "San ",   "Santa ",    "Val ",   "Riva di "};
constexpr std::array<std::string_view, 40> kTownRoots = {
    "Lombardo",     "Corona",     "Fiemme",  "Brenta",  "Adige",   "Avisio",      "Rotaliana", "Noce",
    "Cembra",       "Faedo",      "Roverè",  "Revò",    "Cantù",   "Sant'Orsola", "Sant'Anna", "Nosellari",
    "Cimone",       "Tenna",      "Livo",    "Bresimo", "Malosco", "Sarnonico",   "Amblar",    "Sanzeno",
    "Denno",        "Sporminore", "Nanno",   "Tuenno",  "Caldès",  "Pellizzano",  "Vermiglio", "Ossana",
    "Commezzadura", "Dimaro",     "Mezzana", "Peio",    "Rabbi",   "Terzolas",    "Cavizzana", "Croviana"};
constexpr std::array<std::string_view, 8> kTownSuffixes = {
    "", " Terme", " di Sotto", " Valsugana", " d'Adige", " della Luna", " Alta", " all'Avisio"};

constexpr std::array<std::string_view, 24> kHamlets = {
    "Pressano",     "Masi",        "Gardolo",    "Roncafort", "Sopramonte", "Cognola",
    "Villazzano",   "Povo",        "Mattarello", "Ravina",    "Romagnano",  "Sardagna",
    "Vigolo",       "Montagnaga",  "Ischia",     "Canezza",   "Maso Cinà",  "Località Ò",
    "Prà di Sopra", "Sant'Agnese", "Vallarsa",   "Casotto",   "Forte",      "Piè di Castello"};

constexpr std::array<std::string_view, 10> kLandmarks = {
    "Monte ", "Lago di ", "Torrente ",       "Malga ",    "Passo ",
    "Forra ", "Rifugio ", "Cima dell'Orso ", "Dosso di ", "Bosco di "};

struct Province {
  int code;
  std::string_view sigla;
};
constexpr std::array<Province, 12> kProvinces = {{{22, "TN"},
                                                  {21, "BZ"},
                                                  {23, "VR"},
                                                  {24, "VI"},
                                                  {25, "BL"},
                                                  {26, "TV"},
                                                  {27, "VE"},
                                                  {28, "PD"},
                                                  {29, "RO"},
                                                  {17, "BS"},
                                                  {16, "BG"},
                                                  {14, "SO"}}};
constexpr std::int32_t kComuniPerProvince = 200;

std::string StreetName(std::uint64_t h, bool* square) {
  int total = 0;
  for (const StreetType& type : kStreetTypes) total += type.weight;
  int pick = static_cast<int>(h % static_cast<std::uint64_t>(total));
  const StreetType* chosen = &kStreetTypes[0];
  for (const StreetType& type : kStreetTypes) {
    if (pick < type.weight) {
      chosen = &type;
      break;
    }
    pick -= type.weight;
  }
  if (square) *square = chosen->square;
  return std::string(chosen->name) + " " + std::string(Pick(kStreetBodies, Mix(h)));
}

// ---- Municipalities ----

struct Municipality {
  std::string name;
  std::string provin;
  std::string istat;
  std::int64_t istat_number = 0;
  std::string street_code;            // two letters for the municipal street codes
  Cm x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the tile
  bool has_hole = false;
  std::int32_t exclave_of = -1;  // the municipality whose hole this one fills, if any
  std::int32_t localities = 0;
  std::int32_t slots = 1;  // slots per side of the tile's grid of places
};

Cm HoleSize(const Municipality& m) {
  return std::min(m.x1 - m.x0, m.y1 - m.y0) / m.slots / 2;
}

// The hole lies in the tile's lower-left slot, which no locality uses.
void HoleCorners(const Municipality& m, Cm& x, Cm& y, Cm& side) {
  side = HoleSize(m);
  x = m.x0 + side / 2;
  y = m.y0 + side / 2;
}

// The municipalities tile the region in rows from the south, each row split into equal tiles.
struct Tiling {
  Cm side = 0;  // of the square region
  std::vector<Municipality> list;
  std::vector<std::int32_t> row_start;  // index of each row's first tile, then the count
};

Tiling MakeMunicipalities(Cm side, std::int32_t count, std::int32_t localita, std::uint64_t seed) {
  Tiling tiling;
  tiling.side = side;
  std::vector<Municipality>& list = tiling.list;
  list.resize(static_cast<std::size_t>(count));
  std::int32_t rows = 1;
  while (static_cast<std::int64_t>(rows + 1) * (rows + 1) <= count) ++rows;
  const std::uint64_t combos = kTownPrefixes.size() * kTownRoots.size() * kTownSuffixes.size();
  // A multiplier coprime with the number of combinations walks through all of them without repeating.
  std::uint64_t step = (Hash(seed, 1) % combos) | 1;
  while (std::gcd(step, combos) != 1) step += 2;
  const std::uint64_t start = Hash(seed, 2) % combos;
  std::int32_t index = 0;
  for (std::int32_t r = 0; r < rows; ++r) {
    const std::int32_t in_row = count / rows + (r < count % rows ? 1 : 0);
    tiling.row_start.push_back(index);
    for (std::int32_t c = 0; c < in_row; ++c, ++index) {
      Municipality& m = list[static_cast<std::size_t>(index)];
      m.x0 = kRegionX + side * c / in_row;
      m.x1 = kRegionX + side * (c + 1) / in_row;
      m.y0 = kRegionY + side * r / rows;
      m.y1 = kRegionY + side * (r + 1) / rows;
      const std::uint64_t combo = (start + step * static_cast<std::uint64_t>(index)) % combos;
      m.name = std::string(kTownPrefixes[combo % kTownPrefixes.size()]) +
               std::string(kTownRoots[(combo / kTownPrefixes.size()) % kTownRoots.size()]) +
               std::string(kTownSuffixes[combo / kTownPrefixes.size() / kTownRoots.size()]);
      if (static_cast<std::uint64_t>(index) >= combos) {
        m.name.append(" ").append(std::to_string(static_cast<std::uint64_t>(index) / combos + 1));
      }
      const std::int32_t province = index / kComuniPerProvince;
      const Province p = province < static_cast<std::int32_t>(kProvinces.size())
                             ? kProvinces[static_cast<std::size_t>(province)]
                             : Province{100 + province, ""};
      m.provin = p.sigla.empty() ? std::string("P").append(std::to_string(province)) : std::string(p.sigla);
      m.istat_number = p.code * 1000LL + index % kComuniPerProvince + 1;
      char istat[16];
      std::snprintf(istat, sizeof istat, "%06lld", static_cast<long long>(m.istat_number));
      m.istat = istat;
      for (char ch : m.name) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        if (ch >= 'A' && ch <= 'Z' && m.street_code.size() < 2) m.street_code.push_back(ch);
      }
    }
  }
  tiling.row_start.push_back(count);
  for (std::int32_t i = 0; i < localita; ++i) ++list[static_cast<std::size_t>(i % count)].localities;
  for (Municipality& m : list) {
    while (static_cast<std::int64_t>(m.slots) * m.slots < m.localities + 1) ++m.slots;
  }
  // A few municipalities have an enclave, which is a second area of their neighbour.
  if (count >= 2) {
    for (std::int32_t i = 3; i < count; i += 7) {
      list[static_cast<std::size_t>(i)].has_hole = true;
      list[static_cast<std::size_t>(i + 1 < count ? i + 1 : i - 1)].exclave_of = i;
    }
  }
  return tiling;
}

// The tile holding (x, y), found from the row and column sizes, then checked against the tile's edges.
std::int32_t MunicipalityAt(const Tiling& tiling, Cm x, Cm y) {
  const auto rows = static_cast<std::int32_t>(tiling.row_start.size()) - 1;
  const auto tile = [&](std::int32_t row, std::int32_t column) -> const Municipality& {
    return tiling.list[static_cast<std::size_t>(tiling.row_start[static_cast<std::size_t>(row)] + column)];
  };
  std::int32_t r =
      static_cast<std::int32_t>(std::clamp<Cm>((y - kRegionY) * rows / tiling.side, 0, rows - 1));
  while (r > 0 && y < tile(r, 0).y0) --r;
  while (r + 1 < rows && y >= tile(r, 0).y1) ++r;
  const std::int32_t in_row =
      tiling.row_start[static_cast<std::size_t>(r) + 1] - tiling.row_start[static_cast<std::size_t>(r)];
  std::int32_t c =
      static_cast<std::int32_t>(std::clamp<Cm>((x - kRegionX) * in_row / tiling.side, 0, in_row - 1));
  while (c > 0 && x < tile(r, c).x0) --c;
  while (c + 1 < in_row && x >= tile(r, c).x1) ++c;
  return tiling.row_start[static_cast<std::size_t>(r)] + c;
}

// A rectangle as a ring: clockwise (an outer ring) or counter-clockwise (a hole).
PointArray Rectangle(Cm x0, Cm y0, Cm x1, Cm y1, bool clockwise) {
  std::vector<Point> ring = {ToPoint(x0, y0), ToPoint(x1, y0), ToPoint(x1, y1), ToPoint(x0, y1),
                             ToPoint(x0, y0)};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return PointArray(std::move(ring));
}

// An octagon around (cx, cy) of half-width r, clockwise, closed.
PointArray Octagon(Cm cx, Cm cy, Cm r, bool clockwise) {
  static constexpr int kOffsets[8][2] = {{10, 4},   {4, 10},   {-4, 10}, {-10, 4},
                                         {-10, -4}, {-4, -10}, {4, -10}, {10, -4}};
  std::vector<Point> ring;
  for (const auto& o : kOffsets) ring.push_back(ToPoint(cx + r * o[0] / 10, cy + r * o[1] / 10));
  ring.push_back(ring.front());
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return PointArray(std::move(ring));
}

// ---- The road network ----

class Network {
 public:
  Network(Cm region_side, std::int64_t arcs, std::uint64_t seed) : seed_(seed) {
    // About 1.9 arcs start at each grid node; the grid has some room to spare.
    const std::int64_t nodes = arcs * 100 / 180 + 4;
    side_ = 2;
    while (static_cast<std::int64_t>(side_) * side_ < nodes) ++side_;
    spacing_ = region_side / side_;
    degree_.assign(static_cast<std::size_t>(side_) * side_, 0);
  }

  std::int32_t side() const { return side_; }
  Cm spacing() const { return spacing_; }

  Cm NodeX(std::int32_t i, std::int32_t j) const {
    return kRegionX + spacing_ * i + spacing_ / 2 + Jitter(i, j, 0);
  }
  Cm NodeY(std::int32_t i, std::int32_t j) const {
    return kRegionY + spacing_ * j + spacing_ / 2 + Jitter(i, j, 1);
  }
  void Touch(std::int32_t i, std::int32_t j, int ends) {
    degree_[static_cast<std::size_t>(j) * side_ + i] += static_cast<std::uint8_t>(ends);
  }

  void Count(RegionCounts& counts, std::int64_t stubs) const {
    counts.nodes = stubs;
    counts.dead_ends = stubs;
    for (std::uint8_t d : degree_) {
      if (d > 0) ++counts.nodes;
      if (d == 1) ++counts.dead_ends;
    }
  }

 private:
  Cm Jitter(std::int32_t i, std::int32_t j, int axis) const {
    const Cm range = spacing_ * 15 / 100;
    return static_cast<Cm>(Hash(seed_, static_cast<std::uint64_t>(i), static_cast<std::uint64_t>(j), axis) %
                           static_cast<std::uint64_t>(2 * range + 1)) -
           range;
  }

  std::uint64_t seed_;
  std::int32_t side_;
  Cm spacing_;
  std::vector<std::uint8_t> degree_;  // arc ends at each grid node (at most 4 edges, a stub and a loop)
};

// The points from a to b with k vertices between them, each moved aside by up to wiggle.
std::vector<Point> Edge(Cm ax, Cm ay, Cm bx, Cm by, int k, Cm wiggle, Random& random) {
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(k) + 2);
  points.push_back(ToPoint(ax, ay));
  const Cm dx = bx - ax, dy = by - ay;
  for (int m = 1; m <= k; ++m) {
    const Cm off = random.Between(-wiggle, wiggle);
    // Aside means across the main direction of the edge.
    const bool horizontal = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const Cm x = ax + dx * m / (k + 1) + (horizontal ? 0 : off);
    const Cm y = ay + dy * m / (k + 1) + (horizontal ? off : 0);
    points.push_back(ToPoint(x, y));
  }
  points.push_back(ToPoint(bx, by));
  return points;
}

struct ArcAttributes {
  std::string denom, alt, cod_ele, cod_reg, classe, piazza;
};

class GraphWriter {
 public:
  GraphWriter(const Tiling& tiling, std::uint64_t seed) : tiling_(tiling), seed_(seed) {}

  bool Open(const std::string& path) {
    return writer_.Create(path) && writer_.AddField("DENOM", 'C', 60) && writer_.AddField("ALT", 'C', 60) &&
           writer_.AddField("COD_ELE", 'C', 20) && writer_.AddField("COD_REG", 'C', 20) &&
           writer_.AddField("CLASSE", 'C', 10) && writer_.AddField("PIAZZA", 'C', 1);
  }
  void SetDate() { writer_.SetDate(2024, 1, 1); }

  // street: a key of the street the arc belongs to (0: unnamed); major: the road number of a state,
  // regional or provincial road the arc is part of (0: none).
  bool Add(const std::vector<PointArray>& parts, std::uint64_t street, std::int32_t major, Cm mx, Cm my,
           Random& random) {
    ++arcs_;
    ArcAttributes a;
    char code[32];
    std::snprintf(code, sizeof code, "E%09lld", static_cast<long long>(arcs_));
    a.cod_ele = code;
    a.piazza = "N";
    const Municipality& m = tiling_.list[static_cast<std::size_t>(MunicipalityAt(tiling_, mx, my))];
    if (major > 0) {
      static constexpr std::array<std::string_view, 3> kClasses = {"SS", "SR", "SP"};
      static constexpr std::array<std::string_view, 3> kKinds = {"STRADA STATALE ", "STRADA REGIONALE ",
                                                                 "STRADA PROVINCIALE "};
      const std::size_t kind = static_cast<std::size_t>(major % 3);
      a.classe = kClasses[kind];
      a.cod_reg = std::string(kClasses[kind]) + std::to_string(major);
      const std::string road = std::string(kKinds[kind]) + std::to_string(major) + " " +
                               std::string(Pick(kValleys, Hash(seed_, 7, static_cast<std::uint64_t>(major))));
      // Through a town the road has a street name, with the road's name as the alternative.
      if (random.Chance(250)) {
        a.denom = StreetName(Hash(seed_, 8, street), nullptr);
        a.alt = road;
      } else {
        a.denom = road;
      }
    } else if (street != 0) {
      bool square = false;
      a.denom = StreetName(Hash(seed_, 9, street), &square);
      a.piazza = square ? "S" : "N";
      a.classe = "SC";
      char reg[32];
      std::snprintf(reg, sizeof reg, "%s%04llu", m.street_code.c_str(),
                    static_cast<unsigned long long>(Hash(seed_, 10, street) % 10000));
      a.cod_reg = reg;
      if (random.Chance(20)) a.alt = StreetName(Hash(seed_, 11, street), nullptr);
      if (random.Chance(5)) a.alt = a.denom;  // the same name twice, as some sources have it
    } else {
      a.classe = random.Chance(500) ? "PR" : "SC";
    }
    return writer_.AddPolyline({a.denom, a.alt, a.cod_ele, a.cod_reg, a.classe, a.piazza}, parts);
  }

  std::int64_t Finish() { return writer_.Finish(); }

 private:
  const Tiling& tiling_;
  std::uint64_t seed_;
  ShapefileWriter writer_;
  std::int64_t arcs_ = 0;
};

// The street of the arcs along row (or column) line from position at: runs of a few arcs share a name,
// and about one run in ten has none.
std::uint64_t StreetKey(std::uint64_t seed, int orientation, std::int32_t line, std::int32_t at) {
  const std::int32_t run = 3 + static_cast<std::int32_t>(Hash(seed, 20, orientation, line) % 10);
  const std::uint64_t key = Hash(seed, 21 + orientation, static_cast<std::uint64_t>(line), at / run) | 1;
  return key % 20 == 1 ? 0 : key;
}

// Every twelfth row and column carries a state, regional or provincial road across the region, the
// three kinds in turn; the road number is drawn. 0 for the other lines.
std::int32_t MajorRoad(std::uint64_t seed, int orientation, std::int32_t line) {
  if (line % 12 != (orientation == 0 ? 5 : 9)) return 0;
  const std::int32_t kind = line / 12 % 3;
  const auto number =
      static_cast<std::int32_t>(Hash(seed, 30 + orientation, static_cast<std::uint64_t>(line)) % 300);
  return 3 * (4 + number) + kind;
}

bool WriteGraph(const std::string& path, std::int64_t arcs, std::uint64_t seed, const Tiling& tiling,
                RegionCounts& counts) {
  GraphWriter graph(tiling, seed);
  if (!graph.Open(path)) return false;
  graph.SetDate();
  Network net(tiling.side, arcs, seed);
  Random random(Hash(seed, 40));
  const Cm spacing = net.spacing();
  const Cm wiggle = spacing * 8 / 100;
  std::int64_t written = 0, stubs = 0;
  std::vector<PointArray> parts;

  const auto edge = [&](std::int32_t i, std::int32_t j, std::int32_t i2, std::int32_t j2,
                        std::uint64_t street, std::int32_t major) {
    const bool multi = random.Chance(15);
    const int k = static_cast<int>(random.Between(0, multi ? 14 : 18));
    Cm ax = net.NodeX(i, j), ay = net.NodeY(i, j), bx = net.NodeX(i2, j2), by = net.NodeY(i2, j2);
    if (random.Chance(300)) {
      std::swap(ax, bx);
      std::swap(ay, by);
    }
    parts.clear();
    parts.emplace_back(Edge(ax, ay, bx, by, k, wiggle, random));
    if (multi) {
      // A short piece beside the middle of the arc: read past by the import, which keeps the first part.
      const Cm cx = (ax + bx) / 2 + spacing / 20, cy = (ay + by) / 2 + spacing / 20;
      parts.emplace_back(Edge(cx, cy, cx + spacing / 10, cy + spacing / 12,
                              static_cast<int>(random.Between(0, 2)), wiggle / 4, random));
      ++counts.multi_part_arcs;
    }
    net.Touch(i, j, 1);
    net.Touch(i2, j2, 1);
    ++written;
    return graph.Add(parts, street, major, (ax + bx) / 2, (ay + by) / 2, random);
  };
  const auto stub = [&](std::int32_t i, std::int32_t j) {
    const Cm ax = net.NodeX(i, j), ay = net.NodeY(i, j);
    const Cm dx = (random.Chance(500) ? 1 : -1) * spacing * 3 / 10;
    const Cm dy = (random.Chance(500) ? 1 : -1) * spacing * 3 / 10;
    parts.clear();
    parts.emplace_back(
        Edge(ax, ay, ax + dx, ay + dy, static_cast<int>(random.Between(0, 3)), wiggle / 2, random));
    net.Touch(i, j, 1);
    ++stubs;
    ++written;
    const std::uint64_t street = random.Chance(400) ? 0 : Hash(seed, 50, static_cast<std::uint64_t>(written));
    return graph.Add(parts, street, 0, ax + dx / 2, ay + dy / 2, random);
  };
  const auto loop = [&](std::int32_t i, std::int32_t j) {
    // A square around which the street runs, starting and ending at the node.
    const Cm ax = net.NodeX(i, j), ay = net.NodeY(i, j), r = spacing / 10;
    PointArray ring = Octagon(ax - r, ay, r, random.Chance(500));
    std::vector<Point> points = ring.points();
    // Start at the node: the octagon's point nearest the node is (ax, ay) shifted; put the node first.
    points.front() = ToPoint(ax, ay);
    points.back() = ToPoint(ax, ay);
    parts.clear();
    parts.emplace_back(std::move(points));
    net.Touch(i, j, 2);
    ++counts.closed_arcs;
    ++written;
    // Squares: the name is drawn again until its type is one of the squares.
    std::uint64_t street = Hash(seed, 60, static_cast<std::uint64_t>(written)) | 1;
    bool square = false;
    StreetName(Hash(seed, 9, street), &square);
    while (!square) {
      street = Mix(street) | 1;
      StreetName(Hash(seed, 9, street), &square);
    }
    return graph.Add(parts, street, 0, ax - r, ay, random);
  };

  const std::int32_t side = net.side();
  bool ok = true;
  for (std::int32_t j = 0; j < side && written < arcs && ok; ++j) {
    for (std::int32_t i = 0; i < side && written < arcs && ok; ++i) {
      if (i + 1 < side && random.Chance(930)) {
        const std::int32_t major = MajorRoad(seed, 0, j);
        ok = edge(i, j, i + 1, j, StreetKey(seed, 0, j, i), major);
      }
      if (ok && written < arcs && j + 1 < side && random.Chance(930)) {
        const std::int32_t major = MajorRoad(seed, 1, i);
        ok = edge(i, j, i, j + 1, StreetKey(seed, 1, i, j), major);
      }
      if (ok && written < arcs && random.Chance(40)) ok = stub(i, j);
      if (ok && written < arcs && random.Chance(10)) ok = loop(i, j);
    }
  }
  // Whatever is still missing joins nodes across the cells' diagonals, which cross no node.
  for (std::int32_t j = 0; j + 1 < side && written < arcs && ok; ++j) {
    for (std::int32_t i = 0; i + 1 < side && written < arcs && ok; ++i) {
      ok = edge(i, j, i + 1, j + 1,
                Hash(seed, 70, static_cast<std::uint64_t>(j), static_cast<std::uint64_t>(i)), 0);
    }
  }
  if (!ok || written != arcs) return false;
  counts.arcs = written;
  net.Count(counts, stubs);
  return graph.Finish() == arcs;
}

bool WriteMunicipalities(const std::string& path, const std::vector<Municipality>& list) {
  ShapefileWriter writer;
  if (!writer.Create(path) || !writer.AddField("DENOM", 'C', 40) || !writer.AddField("PROVIN", 'C', 4) ||
      !writer.AddField("ISTAT", 'C', 6)) {
    return false;
  }
  writer.SetDate(2024, 1, 1);
  for (const Municipality& m : list) {
    std::vector<PointArray> rings = {Rectangle(m.x0, m.y0, m.x1, m.y1, true)};
    Cm hx = 0, hy = 0, hs = 0;
    if (m.has_hole) {
      HoleCorners(m, hx, hy, hs);
      rings.push_back(Rectangle(hx, hy, hx + hs, hy + hs, false));
    }
    if (m.exclave_of >= 0) {
      HoleCorners(list[static_cast<std::size_t>(m.exclave_of)], hx, hy, hs);
      rings.push_back(Rectangle(hx, hy, hx + hs, hy + hs, true));
    }
    if (!writer.AddPolygon({m.name, m.provin, m.istat}, rings)) return false;
  }
  return writer.Finish() == static_cast<std::int64_t>(list.size());
}

struct Place {
  std::string name;
  Cm cx = 0, cy = 0, r = 0;
};

// The place of locality number n of municipality m (n from 0): the slots of the tile's grid from the
// second on.
Place LocalityPlace(const Municipality& m, std::int32_t n) {
  const std::int32_t slot = n + 1;
  const Cm w = (m.x1 - m.x0) / m.slots, h = (m.y1 - m.y0) / m.slots;
  Place place;
  place.cx = m.x0 + w * (slot % m.slots) + w / 2;
  place.cy = m.y0 + h * (slot / m.slots) + h / 2;
  place.r = std::min(w, h) * 2 / 10;
  return place;
}

bool WriteLocalities(const std::string& path, const std::vector<Municipality>& list, std::int32_t count,
                     std::uint64_t seed, std::vector<Place>& places) {
  ShapefileWriter writer;
  if (!writer.Create(path) || !writer.AddField("ISTAT", 'N', 10) || !writer.AddField("DENOM", 'C', 40) ||
      !writer.AddField("ABITANTI", 'N', 12) || !writer.AddField("TIPO", 'C', 1)) {
    return false;
  }
  writer.SetDate(2024, 1, 1);
  const std::int32_t comuni = static_cast<std::int32_t>(list.size());
  for (std::int32_t i = 0; i < count; ++i) {
    const Municipality& m = list[static_cast<std::size_t>(i % comuni)];
    const std::int32_t n = i / comuni;
    Place place = LocalityPlace(m, n);
    const std::uint64_t h = Hash(seed, 80, static_cast<std::uint64_t>(i));
    place.name = n == 0 ? m.name : std::string(Pick(kHamlets, h)) + (h % 3 == 0 ? " di " + m.name : "");
    // Inhabitants on both sides of 500 and of 10000: the first three are fixed, the others spread
    // over four orders of magnitude.
    std::int64_t inhabitants = 0;
    if (i == 0) {
      inhabitants = 12500;
    } else if (i == 1) {
      inhabitants = 230;
    } else if (i == 2) {
      inhabitants = 4800;
    } else {
      static constexpr std::int64_t kScale[5] = {10, 100, 1000, 10000, 100000};
      inhabitants = 1 + static_cast<std::int64_t>(h / 7 % static_cast<std::uint64_t>(kScale[h % 5]));
    }
    const char* tipo = n == 0 ? "C" : (h % 20 == 0 ? "n" : (h % 5 < 2 ? "N" : "C"));
    std::vector<PointArray> rings = {Octagon(place.cx, place.cy, place.r, true)};
    if (i % 9 == 4)
      rings.push_back(Rectangle(place.cx - place.r / 4, place.cy - place.r / 4, place.cx + place.r / 4,
                                place.cy + place.r / 4, false));
    if (!writer.AddPolygon({std::to_string(m.istat_number), place.name, std::to_string(inhabitants), tipo},
                           rings))
      return false;
    places.push_back(std::move(place));
  }
  return writer.Finish() == count;
}

bool WriteToponyms(const std::string& path, const std::vector<Municipality>& list,
                   const std::vector<Place>& places, std::uint64_t seed, RegionCounts& counts) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::string text = "ID\tNOME\tFONTE\tTIPO\tXMIN\tYMIN\tXMAX\tYMAX\r\n";
  std::int64_t id = 0;
  const auto line = [&](const std::string& name, std::string_view kind, Cm x0, Cm y0, Cm x1, Cm y1) {
    ++id;
    text += std::to_string(id) + "\t" + Utf8ToWindows1252(name) + "\tSYN\t" + std::string(kind) + "\t" +
            Metres(x0) + "\t" + Metres(y0) + "\t" + Metres(x1) + "\t" + Metres(y1) + "\r\n";
    if (kind == "MISC" || kind == "CS") ++counts.loaded_toponyms;
  };
  for (const Place& place : places) {
    line(place.name, "CS", place.cx - place.r, place.cy - place.r, place.cx + place.r, place.cy + place.r);
  }
  static constexpr std::array<std::string_view, 5> kOtherKinds = {"IDRO", "OROG", "LOC", "misc", "Cs"};
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Municipality& m = list[i];
    const std::uint64_t h = Hash(seed, 90, i);
    // In the tile's top right corner, where no locality is unless the grid of places is full.
    const Cm w = (m.x1 - m.x0) / 10, hgt = (m.y1 - m.y0) / 10;
    const Cm x0 = m.x1 - 2 * w, y0 = m.y1 - 2 * hgt;
    line(std::string(Pick(kLandmarks, h)) + std::string(Pick(kTownRoots, h >> 8)), "MISC", x0, y0, x0 + w,
         y0 + hgt);
    line(std::string(Pick(kLandmarks, h >> 16)) + m.name, Pick(kOtherKinds, h >> 24), x0 + w / 2,
         y0 + hgt / 2, x0 + w, y0 + hgt);
  }
  counts.toponyms = id;
  const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

bool WriteSyntheticRegion(const std::string& out_dir, const RegionOptions& options, RegionCounts& counts,
                          std::string& error) {
  counts = {};
  if (options.arcs < 0 || options.arcs > kMaxArcs) {
    error = "il numero di archi deve essere tra 0 e " + std::to_string(kMaxArcs);
    return false;
  }
  if (options.comuni < 1 || options.comuni > kMaxComuni) {
    error = "il numero di comuni deve essere tra 1 e " + std::to_string(kMaxComuni);
    return false;
  }
  if (options.localita < 0 || options.localita > kMaxLocalita) {
    error = "il numero di località deve essere tra 0 e " + std::to_string(kMaxLocalita);
    return false;
  }
  const Cm side = static_cast<Cm>(options.side_metres) * 100;
  if (side < kMinimumSide || side > kMaximumSide) {
    error = "il lato della regione deve essere tra 1000 e 1000000 metri";
    return false;
  }
  std::error_code ignored;
  std::filesystem::create_directories(out_dir, ignored);
  const Tiling tiling = MakeMunicipalities(side, options.comuni, options.localita, options.seed);
  const std::string folder = out_dir.empty() ? std::string(".") : out_dir;
  if (!WriteGraph(folder + "/GEO_GRAFO.shp", options.arcs, options.seed, tiling, counts)) {
    error = "impossibile scrivere " + folder + "/GEO_GRAFO.shp";
    return false;
  }
  if (!WriteMunicipalities(folder + "/COMUNI.shp", tiling.list)) {
    error = "impossibile scrivere " + folder + "/COMUNI.shp";
    return false;
  }
  counts.comuni = options.comuni;
  std::vector<Place> places;
  if (!WriteLocalities(folder + "/LOCALITA.shp", tiling.list, options.localita, options.seed, places)) {
    error = "impossibile scrivere " + folder + "/LOCALITA.shp";
    return false;
  }
  counts.localita = options.localita;
  if (!WriteToponyms(folder + "/toponimi.txt", tiling.list, places, options.seed, counts)) {
    error = "impossibile scrivere " + folder + "/toponimi.txt";
    return false;
  }
  return true;
}

}  // namespace viamappa::synth
