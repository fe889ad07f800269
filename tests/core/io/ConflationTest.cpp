// The conflation of a secondary graph over small hand-drawn primary graphs: which arcs are dropped,
// where the ends of the inserted ones go, how the primary arcs are cut, what is written, and a random
// graph on which the indexed run takes the very decisions of the plain ordered scan.
#include "io/Conflation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/io/SecondaryGraphFiles.h"
#include "io/ConflationReport.h"
#include "io/RoadGraphImport.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using conflation::Search;

// Arc 1 bends up to (100, 20), so that its box has height; arc 2 runs straight east at y = 100.
const std::vector<NodeRecord> kNodes = {{0, 0, 0}, {1, 100, 20}, {2, 0, 100}, {3, 100, 100}};
const std::vector<Point> kBent = {{0, 0}, {50, 0}, {100, 20}};
const std::vector<Point> kStraight = {{0, 100}, {100, 100}};

std::string Summary(int modified, int pieces, int inserted, int nodes) {
  ConflationResult counts;
  counts.modified = modified;
  counts.from_primary = pieces;
  counts.from_secondary = inserted;
  counts.nodes = nodes;
  return ConflationSummary(counts);
}

TEST_F(ConflationTest, AnaloguesAreDroppedAndTheRestInserted) {
  BuildPrimary(kNodes, {kBent, kStraight});
  const ConflationResult result = Run({{{{10, 3}, {45, 3}}},             // along arc 1: phase II
                                       {{{-5, 2}, {50, 2}, {104, 21}}},  // covers arc 1: phase I
                                       {{{200, 200}, {300, 200}}, "R9", "VIA DEI MOREI"},
                                       {{}}},  // no geometry
                                      10);
  ASSERT_TRUE(result.stored);
  EXPECT_EQ(ui_.last_message().text, Summary(0, 0, 1, 2));
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_EQ(ConflationReportLines(result),
            (std::vector<std::string>{ConflationReportLines(result)[0], "1;analogo;1;;;;;;;;",
                                      "2;analogo;1;;;;;;;;", "3;inserito;;;3;4;nuovo nodo;;5;nuovo nodo;",
                                      "4;senza geometria;;;;;;;;;"}));
  EXPECT_EQ(
      Rows("orgden, denom, codreg, piazza, aggiunto, modifica, elimina, datins, datmod, nodini, nodfin, "
           "local, comune",
           "archi", "ID = 3"),
      std::vector<std::string>{"VIA DEI MOREI|VIA DEI MOREI|R9|0|-1|0|0|01/02/2026|01/02/2026|4|5|0|0"});
  EXPECT_EQ(Rows("count(*)", "orgarchi"), std::vector<std::string>{"2"}) << "nothing goes to orgarchi";
  ExpectSoundGraph();
}

// Node 0 is a node like any other: an end snapped to it stays there. Within 5 m it is too far, and the
// end is projected onto arc 1, which is cut there; the piece keeps the arc's end node.
TEST_F(ConflationTest, AnEndNineMetresFromNodeZeroSnapsToItOrCutsTheArc) {
  struct Case {
    double snap;
    std::vector<std::string> arcs;  // ID, nodini, nodfin, modifica, aggiunto
    Point start;
  } const cases[] = {{10, {"1|0|1|0|0", "2|2|3|0|0", "3|0|4|0|-1"}, {0, 0}},
                     {5, {"1|0|4|-1|0", "2|2|3|0|0", "3|4|1|0|-1", "4|4|5|0|-1"}, {8.49, 0}}};
  for (const Case& c : cases) {
    Fresh();
    BuildPrimary(kNodes, {kBent, kStraight});
    ASSERT_TRUE(Run({{{{8.49, 3}, {8.49, 60}}}}, c.snap).stored);
    EXPECT_EQ(Rows("ID, nodini, nodfin, modifica, aggiunto", "archi", "", "ID"), c.arcs) << c.snap;
    const auto arcs = Arcs();
    EXPECT_EQ(arcs.rbegin()->second.points.front(), c.start) << c.snap;
    ExpectSoundGraph();
  }
  EXPECT_EQ(Arcs().at(1).points, (std::vector<Point>{{0, 0}, {8.49, 0}}));
  EXPECT_EQ(Arcs().at(3).points, (std::vector<Point>{{8.49, 0}, {50, 0}, {100, 20}}));
  EXPECT_EQ(ui_.last_message().text, Summary(1, 1, 1, 2));
}

// The first end cuts arc 1 at (30, 0); the second, whichever end of its arc it is, takes that cut point
// and its node. An end already on a node stays there, though a cut point lies within the factor.
TEST_F(ConflationTest, EndsNearACutPointShareItsNodeUnlessOnANodeAlready) {
  struct Case {
    std::vector<Point> second;
    std::string report;
  } const cases[] = {
      {{{70, 60}, {30.5, 2}}, "2;inserito;;;5;8;nuovo nodo;;7;punto di taglio;1"},
      {{{30.5, 2}, {70, 60}}, "2;inserito;;;5;7;punto di taglio;1;8;nuovo nodo;"},
      {{{33, -1}, {80, -40}}, "2;inserito;;;5;4;nodo esistente;;8;nuovo nodo;"},
  };
  for (const Case& c : cases) {
    Fresh();
    // Arc 2 now ends at node 4, 3.2 m from the cut point and 1.4 m from the second arc's end.
    BuildPrimary({{0, 0, 0}, {1, 100, 20}, {4, 34, -2}, {5, 34, -50}}, {kBent, {{34, -2}, {34, -50}}});
    const ConflationResult result = Run({{{{30, 60}, {30, 3}}}, {c.second}}, 5);
    const std::vector<std::string> report = ConflationReportLines(result);
    EXPECT_EQ(report[1], "1;inserito;;;4;6;nuovo nodo;;7;proiezione;1");
    EXPECT_EQ(report[2], c.report);
    EXPECT_EQ(Rows("ID, nodini, nodfin", "archi", "ID < 4", "ID"),
              (std::vector<std::string>{"1|0|7", "2|4|5", "3|7|1"}));
    ExpectSoundGraph();
  }
  EXPECT_EQ(Arcs().at(5).points.front(), (Point{34, -2}));
}

// A second cut falls on the part left by the first: its piece goes right after that part, so the
// pieces follow the arc and the last one reaches the arc's end node.
TEST_F(ConflationTest, TwoCutsOnOneArcKeepThePiecesInOrderAlongIt) {
  BuildPrimary({{0, 0, 0}, {1, 100, 50}}, {{{0, 0}, {100, 50}}});
  const ConflationResult result = Run({{{{40, 80}, {59.11, 31.79}}}, {{{0, 60}, {19.11, 11.79}}}}, 5);
  ASSERT_TRUE(result.stored);
  const auto arcs = Arcs();
  EXPECT_EQ(arcs.at(1).points, (std::vector<Point>{{0, 0}, {20, 10}}));
  EXPECT_EQ(arcs.at(2).points, (std::vector<Point>{{20, 10}, {60, 30}}));
  EXPECT_EQ(arcs.at(3).points, (std::vector<Point>{{60, 30}, {100, 50}}));
  EXPECT_EQ(Rows("ID, nodini, nodfin, modifica", "archi", "ID < 4", "ID"),
            (std::vector<std::string>{"1|0|5|-1", "2|5|3|0", "3|3|1|0"}));
  EXPECT_EQ(ui_.last_message().text, Summary(1, 2, 2, 4));
  ExpectSoundGraph();
}

// Small runs over the two arcs: an end beside the straight arc (which runs east) is not projected onto it;
// with a factor of 0 only exact coincidences count (a copy is dropped, a copy a hundredth aside is not, an
// end exactly on a node takes it); copies of both arcs change nothing.
TEST_F(ConflationTest, SmallRunsReportEachRecord) {
  const struct {
    std::vector<SecondaryRecord> records;
    double snap;
    std::vector<std::string> report;
  } cases[] = {
      {{{{{50, 103}, {50, 160}}}}, 5, {"1;inserito;;;3;4;nuovo nodo;;5;nuovo nodo;"}},
      {{{kStraight}, {{{0, 100.01}, {100, 100.01}}}, {{{100, 100}, {150, 150}}}},
       0,
       {"1;analogo;2;;;;;;;;", "2;inserito;;;3;4;nuovo nodo;;5;nuovo nodo;",
        "3;inserito;;;4;3;nodo esistente;;6;nuovo nodo;"}},
      {{{{{1, 1}, {51, 1}, {101, 21}}}, {{{101, 99}, {1, 99}}}},
       10,
       {"1;analogo;1;;;;;;;;", "2;analogo;2;;;;;;;;"}},
  };
  for (const auto& c : cases) {
    Fresh();
    BuildPrimary(kNodes, {kBent, kStraight});
    const std::vector<std::string> report = ConflationReportLines(Run(c.records, c.snap));
    EXPECT_EQ(std::vector<std::string>(report.begin() + 1, report.end()), c.report) << c.snap;
    EXPECT_EQ(Rows("ID", "archi", "modifica <> 0"), std::vector<std::string>{}) << c.snap;
  }
  EXPECT_EQ(ui_.last_message().text, Summary(0, 0, 0, 0));
  EXPECT_EQ(Rows("count(*)", "nodi"), std::vector<std::string>{"4"});
}

// Arcs of one regional code join end to end, the second one reversed: a secondary arc along both but
// along neither alone lies along their street. Arcs of another code do not join it.
TEST_F(ConflationTest, ASecondaryArcAlongAJoinedStreetIsDropped) {
  const std::vector<NodeRecord> nodes = {{0, 0, 0}, {1, 50, 0}, {2, 100, 10}};
  for (const auto& [second_code, outcome] :
       {std::pair<std::string, std::string>{"", "1;strada;;(senza codice);;;;;;;"},
        {"X", "1;inserito;;;3;3;nuovo nodo;;4;nuovo nodo;"}}) {
    Fresh();
    BuildPrimary(nodes, {{{0, 0}, {50, 0}}, {{100, 10}, {50, 0}}}, {"", second_code});
    const ConflationResult result = Run({{{{5, 2}, {50, 2}, {95, 12}}}}, 3);
    EXPECT_EQ(ConflationReportLines(result)[1], outcome) << second_code;
  }
}

// A row the database refuses (a polyline longer than a stored geometry can be) undoes the whole run.
TEST_F(ConflationTest, ARefusedRowStoresNothingAndSaysSo) {
  BuildPrimary(kNodes, {kBent, kStraight});
  std::vector<Point> long_line;
  for (int i = 0; i < 40000; ++i) long_line.push_back({200.0 + i * 0.01, 300});
  const ConflationResult result = Run({{{{30, 60}, {30, 3}}}, {long_line}}, 5);
  EXPECT_FALSE(result.stored);
  const std::vector<std::string> texts = testing::Texts(ui_);
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[texts.size() - 2],
            "ATTENZIONE: l'importazione del grafo secondario non è stata completata.\n\n"
            "Nessuna modifica è stata registrata nel database.");
  EXPECT_EQ(texts.back(), Summary(0, 0, 0, 0));
  EXPECT_EQ(Rows("ID, nodini, nodfin, modifica", "archi", "", "ID"),
            (std::vector<std::string>{"1|0|1|0", "2|2|3|0"}));
  EXPECT_EQ(Rows("count(*)", "nodi"), std::vector<std::string>{"4"});
  EXPECT_EQ(Arcs().at(1).points, kBent);
}

TEST_F(ConflationTest, FilesThatCannotServeStoreNothing) {
  BuildPrimary(kNodes, {kBent, kStraight});
  std::vector<DbfSpec> fields = kGraphFields;
  fields.back().length = 2;
  const std::string wide = WriteSet(dir_.File("largo"), 3, {Polyline(kBent)}, fields,
                                    {" " + Padded("", 160) + Padded("SC", 10) + "NN"});
  EXPECT_FALSE(ConflateSecondaryGraph(db(), wide, 10, ui_).stored);
  EXPECT_EQ(ui_.last_message().text, UnusableRoadGraphMessage());
  EXPECT_EQ(Rows("count(*)", "archi"), std::vector<std::string>{"2"});
}

TEST_F(ConflationTest, ADamagedPrimaryPolylineIsShownAndLeftOut) {
  BuildPrimary(kNodes, {kBent, kStraight});
  std::string error;
  ASSERT_TRUE(db().engine()->Execute("UPDATE geoarchi SET coord = x'00' WHERE ID = 2", error)) << error;
  const ConflationResult result = Run({{kStraight}}, 10);
  EXPECT_EQ(testing::Texts(ui_).front(), "Archi Grafo Primario: Entità lineare corrotta 2 !!!");
  EXPECT_EQ(ConflationReportLines(result)[1], "1;inserito;;;3;2;nodo esistente;;3;nodo esistente;");
}

// A random region of bent arcs and a secondary graph of copies moved by up to 12 m, new streets ending
// near nodes, arcs and one another, and arcs along two joined arcs: the indexed run writes exactly what
// the plain ordered scans write, and every written arc runs from its start node to its end node.
TEST_F(ConflationTest, TheIndexedRunDecidesAsThePlainOrderedScan) {
  std::mt19937 random(2026);
  const auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  const auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const auto hundredths = [](double v) { return std::round(v * 100) / 100; };
  constexpr int kSide = 9;
  std::vector<NodeRecord> nodes;
  for (int j = 0; j < kSide; ++j)
    for (int i = 0; i < kSide; ++i)
      nodes.push_back({j * kSide + i, hundredths(1000 + i * 60 + uniform(-8, 8)),
                       hundredths(1000 + j * 60 + uniform(-8, 8))});
  std::vector<std::vector<Point>> arcs;
  std::vector<std::string> codes;
  const auto bent = [&](const NodeRecord& a, const NodeRecord& b) {
    std::vector<Point> line{{a.coord_x, a.coord_y}};
    for (int k = 1, n = static_cast<int>(uniform(0, 4)); k <= n; ++k)
      line.push_back({hundredths(a.coord_x + (b.coord_x - a.coord_x) * k / (n + 1) + uniform(-4, 4)),
                      hundredths(a.coord_y + (b.coord_y - a.coord_y) * k / (n + 1) + uniform(-4, 4))});
    line.push_back({b.coord_x, b.coord_y});
    return line;
  };
  for (int j = 0; j < kSide; ++j)
    for (int i = 0; i < kSide; ++i) {
      const NodeRecord& here = nodes[j * kSide + i];
      if (i + 1 < kSide && uniform(0, 1) < 0.9) {
        arcs.push_back(bent(here, nodes[j * kSide + i + 1]));
        codes.push_back(uniform(0, 1) < 0.3 ? "" : "R" + std::to_string(j));
      }
      if (j + 1 < kSide && uniform(0, 1) < 0.9) {
        arcs.push_back(bent(nodes[(j + 1) * kSide + i], here));  // drawn against the row's direction
        codes.push_back(uniform(0, 1) < 0.3 ? "" : "C" + std::to_string(i));
      }
    }
  std::vector<SecondaryRecord> secondary;
  for (int k = 0; k < 400; ++k) {
    const std::size_t which = pick(arcs.size());
    const std::vector<Point>& arc = arcs[which];
    std::vector<Point> line;
    const double kind = uniform(0, 1);
    if (kind < 0.35) {
      const double dx = uniform(-12, 12), dy = uniform(-12, 12);
      for (const Point& p : arc) line.push_back({p.x + dx, p.y + dy});
      if (uniform(0, 1) < 0.5) std::reverse(line.begin(), line.end());
    } else if (kind < 0.45) {
      // Along this arc and the next one of its row or column.
      const std::vector<Point>& next = arcs[std::min(arcs.size() - 1, which + 2)];
      line = {{arc.front().x + 1, arc.front().y + 1},
              {arc.back().x - 1, arc.back().y + 1},
              {next.back().x + 1, next.back().y}};
    } else {
      // From near a point of the arc to near a node or another new street's end.
      const Point& from = arc[pick(arc.size())];
      line.push_back({from.x + uniform(-9, 9), from.y + uniform(-9, 9)});
      line.push_back({from.x + uniform(-40, 40), from.y + uniform(-40, 40)});
      const NodeRecord& to = nodes[pick(nodes.size())];
      line.push_back(secondary.empty() || uniform(0, 1) < 0.5 || secondary.back().points.empty()
                         ? Point{to.coord_x + uniform(-9, 9), to.coord_y + uniform(-9, 9)}
                         : secondary.back().points.back());
    }
    secondary.push_back(
        {uniform(0, 1) < 0.02 ? std::vector<Point>{} : line, uniform(0, 1) < 0.5 ? "" : "R1"});
  }
  BuildPrimary(nodes, arcs, codes);
  state_.connection.reset();
  const std::string scan_path = dir_.File("scan.mdb");
  std::filesystem::copy_file(path_, scan_path);
  const auto run = [&](const std::string& path, Search search, std::vector<std::string>& report) {
    state_.connection = std::make_unique<DbConnection>(path, ui_);
    for (const double snap : {10.0, 4.0}) {
      const ConflationResult result = Run(secondary, snap, search);
      ASSERT_TRUE(result.stored);
      const std::vector<std::string> lines = ConflationReportLines(result);
      report.insert(report.end(), lines.begin(), lines.end());
      report.push_back(ui_.last_message().text);
    }
    ExpectSoundGraph();
    for (const char* table : {"archi", "geoarchi", "nodi"}) {
      for (const std::string& row : Rows("*", table, "", "ID")) report.push_back(row);
    }
  };
  std::vector<std::string> indexed, scanned;
  run(path_, Search::Indexed, indexed);
  run(scan_path, Search::Scan, scanned);
  EXPECT_EQ(indexed, scanned);
  // The graph is busy enough to try every rule.
  const std::string all = [&] {
    std::string text;
    for (const std::string& l : indexed) text += l + "\n";
    return text;
  }();
  for (const char* seen :
       {";analogo;", ";strada;", "punto di taglio", "proiezione", "nodo esistente", "senza geometria"})
    EXPECT_NE(all.find(seen), std::string::npos) << seen;
}

// The held-out streets of the Mezzolombardo data are inserted and connected; the displaced copies are
// dropped. Two held-out ways are dropped too: a short primary arc lies along one, and the other joins
// the two ends of a bent primary arc.
TEST_F(ConflationTest, TheMezzolombardoSecondaryGraph) {
  const char* data = std::getenv("VIAMAPPA_TEST_DATA");
  if (!data || !std::filesystem::exists(std::string(data) + "/mezzolombardo/strade_secondario.shp"))
    GTEST_SKIP() << "no Mezzolombardo data";
  const std::string folder = std::string(data) + "/mezzolombardo/";
  ImportRoadGraph(db(), folder + "strade", ui_);
  const ConflationResult result =
      ConflateSecondaryGraph(db(), folder + "strade_secondario", 10, ui_, {Search::Indexed, "01/02/2026"});
  ASSERT_TRUE(result.stored);
  EXPECT_EQ(ui_.last_message().text, Summary(1, 1, 12, 9));
  std::vector<int> inserted;
  for (std::size_t i = 0; i < result.state.secondary.size(); ++i)
    if (result.state.secondary[i].inserted_id) inserted.push_back(static_cast<int>(i) + 1);
  EXPECT_EQ(inserted, (std::vector<int>{3, 6, 24, 68, 72, 86, 87, 95, 96, 114, 119, 136}));
  ExpectSoundGraph();
}

}  // namespace
}  // namespace viamappa
