#include "edit/EditHistory.h"

#include <map>
#include <random>
#include <set>

#include "EditingFixture.h"
#include "db/Sqlite.h"
#include "geom/Hundredths.h"

namespace viamappa {
namespace {

using testing::ArcDialogAnswer;
using Tables = std::map<std::string, std::vector<std::string>>;

// Every row of every table, each table's rows sorted (their order is no part of their content).
Tables EveryRow(DbConnection& connection) {
  sqlite3* db = connection.engine()->handle();
  Tables rows;
  SqliteStatement tables = PrepareStatement(db, "SELECT name FROM sqlite_master WHERE type = 'table'");
  while (sqlite3_step(tables.get()) == SQLITE_ROW) {
    const std::string table(reinterpret_cast<const char*>(sqlite3_column_text(tables.get(), 0)));
    SqliteStatement select = PrepareStatement(db, "SELECT * FROM \"" + table + "\"");
    std::vector<std::string>& out = rows[table];
    while (sqlite3_step(select.get()) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(select.get()); ++i) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(select.get(), i));
        row += (bytes ? std::string(bytes, sqlite3_column_bytes(select.get(), i)) : "NULL") + "|";
      }
      out.push_back(row);
    }
    std::sort(out.begin(), out.end());
  }
  return rows;
}

std::string PointText(const Point& p) {
  return FormatShortest(p.x) + "," + FormatShortest(p.y);
}

// The arcs and nodes of the caches in cache order with their points; the spatial indexes and the
// lookups by identifier find each of them, and nothing else.
std::vector<std::string> Contents(const GraphCaches& caches) {
  std::vector<std::string> contents;
  caches.arcs()->ForEachLine([&](const LineFeature& arc) {
    contents.push_back("A" + std::to_string(arc.id));
    for (const Point& p : arc.polylines.at(0).points()) contents.back() += " " + PointText(p);
    const std::vector<LineFeature*> meeting = caches.ArcsMeeting(arc.Bounds());
    EXPECT_TRUE(std::find(meeting.begin(), meeting.end(), &arc) != meeting.end() &&
                caches.FindArc(arc.id) == &arc)
        << contents.back();
  });
  const std::size_t arcs = contents.size();
  caches.nodes()->ForEachPoint([&](const PointFeature& node) {
    contents.push_back("N" + std::to_string(node.id) + " " + PointText(node.point));
    EXPECT_EQ(caches.FindNode(node.id), &node) << contents.back();
  });
  const Box everywhere = Box::Of(-1e9, -1e9, 1e9, 1e9);
  EXPECT_EQ(caches.ArcsMeeting(everywhere).size(), arcs) << "removed arcs left in the index";
  EXPECT_EQ(caches.NodesMeeting(everywhere).size(), contents.size() - arcs) << "removed nodes in the index";
  return contents;
}

class EditUndoTest : public testing::EditingTest {
 protected:
  std::string Note(const EditOutcome& outcome) { return outcome.panes[StatusPane::Note].value_or("-"); }
  std::vector<std::string> Cache() { return Contents(editor_->caches()); }
};

// Through the editor: drags of one vertex, each taken up where the last let it go, make one step; a
// traced arc with a name new to the street directory makes another. Undo takes each back to the very
// rows (the directory's included) and cache, the arc that goes telling its holders; redo does them
// again; a new edit drops what could be redone.
TEST_F(EditUndoTest, TheEditorUndoesAndRedoesItsEditsExactly) {
  const Tables start_rows = EveryRow(db());
  const auto start_cache = Cache();
  modes_ = {.drag = true};
  Drag({1150, 1100}, {{1150, 1110}});
  Drag({1150, 1110}, {{1160, 1130}});
  const Tables dragged = EveryRow(db());
  modes_ = {.draw_arc = true};
  Move(1250, 1160);
  Command(cmd::kStartNewArcKey);
  Move(1290, 1180);
  Press(1290, 1180);
  dialogs_.Queue(ArcDialogAnswer{.name = "CORSO NUOVO", .class_index = 1});
  ui_.QueueAnswer(true);  // the type CORSO
  ui_.QueueAnswer(true);  // the name NUOVO
  Command(cmd::kFinishArc);
  ASSERT_EQ(Rows("ID", "archi", "ID = 15").size(), 1u);
  const Tables end_rows = EveryRow(db());
  const auto end_cache = Cache();

  const int stale = stale_;
  EXPECT_EQ(Note(Command(cmd::kUndoEdit)), "Modifica annullata: nuovo arco stradale");
  EXPECT_EQ(EveryRow(db()), dragged);
  EXPECT_EQ(left_, std::vector<std::int32_t>{15});
  EXPECT_GT(stale_, stale);
  EXPECT_EQ(Note(Command(cmd::kUndoEdit)), "Modifica annullata: spostamento di un vertice");
  EXPECT_EQ(EveryRow(db()), start_rows);
  EXPECT_EQ(Cache(), start_cache);
  EXPECT_EQ(Note(Command(cmd::kUndoEdit)), "Nessuna modifica da annullare");

  EXPECT_EQ(Note(Command(cmd::kRedoEdit)), "Modifica ripetuta: spostamento di un vertice");
  Command(cmd::kRedoEdit);
  EXPECT_EQ(EveryRow(db()), end_rows);
  EXPECT_EQ(Cache(), end_cache);
  Command(cmd::kUndoEdit);
  modes_ = {.delete_vertex = true};
  Move(1160, 1130);
  EXPECT_EQ(Note(Press(1160, 1130)), " ") << "a new edit clears the note";
  EXPECT_EQ(Note(Command(cmd::kRedoEdit)), "Nessuna modifica da ripetere");
}

// Rows changed behind the history: an undo that finds them so writes nothing and forgets the history;
// rows written through the connection outside the editing forget it before anyone tries.
TEST_F(EditUndoTest, RowsChangedBehindTheHistoryAreNeverOverwritten) {
  modes_ = {.delete_vertex = true};
  Move(1150, 1100);
  Press(1150, 1100);
  EXPECT_FALSE(editor_->history().ForgetIfChangedBehind()) << "the editing's own rows are known";
  {
    ScriptedUserInterface quiet;
    DbConnection other(path_, quiet);
    std::string error;
    ASSERT_TRUE(other.engine()->Execute("UPDATE archi SET denom = 'VIA ALTRA' WHERE ID = 10", error))
        << error;
  }
  const Tables rows = EveryRow(db());
  EXPECT_EQ(Note(Command(cmd::kUndoEdit)), " ");
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: la modifica \"eliminazione di un vertice\" non può essere annullata.\n\n"
            "I dati dell'arco stradale ID=10 sono stati cambiati da un'altra operazione.\n\n"
            "Le modifiche precedenti non possono più essere annullate né ripetute.");
  EXPECT_EQ(EveryRow(db()), rows);
  EXPECT_FALSE(editor_->history().CanUndo() || editor_->history().CanRedo());

  modes_ = {.drag = true};
  Drag({1300, 1100}, {{1310, 1090}});
  std::string error;
  ASSERT_TRUE(db().engine()->Execute("UPDATE archi SET denom = 'VIA ALTRA' WHERE ID = 13", error)) << error;
  EXPECT_TRUE(editor_->history().ForgetIfChangedBehind());
  EXPECT_FALSE(editor_->history().CanUndo());
}

// Three hundred random edits of every kind on a generated grid, each kept as the editor keeps it, are
// all undone to the very rows and cache of the start and all redone to those of the end. Each edit
// writes another date, so an undo must put back the very date it found.
TEST(EditHistoryRandomTest, AllEditsUndoneAndRedone) {
  testing::TempDir dir;
  ASSERT_TRUE(testing::MakeRoadNetworkDatabase(dir.File("grid.mdb")));
  ScriptedUserInterface ui;
  DbConnection db(dir.File("grid.mdb"), ui);
  std::string error;
  ASSERT_TRUE(db.engine()->Execute("PRAGMA synchronous = OFF", error)) << error;  // no wait for the disk
  {
    testing::NetworkBuilder build(db);
    std::int32_t id = 1;
    for (int n = 0; n < 25; ++n) ASSERT_TRUE(build.AddNode(n + 1, n % 5 * 100.0, n / 5 * 100.0));
    for (int n = 0; n < 25; ++n) {
      const Point at{n % 5 * 100.0, n / 5 * 100.0};
      if (n % 5 < 4) {
        ASSERT_TRUE(build.AddArc(testing::Arc(
            id++, n + 1, n + 2, {at, {at.x + 50, at.y + 7}, {at.x + 100, at.y}}, "VIA ROMA", "SC")));
      }
      if (n < 20) {
        ASSERT_TRUE(
            build.AddArc(testing::Arc(id++, n + 1, n + 6, {at, {at.x, at.y + 100}}, "VIA VERDI", "SP")));
      }
    }
  }
  // A third of the arcs were added in this program: deleting them removes them.
  ASSERT_TRUE(db.engine()->Execute("DELETE FROM orgarchi WHERE ID % 3 = 0", error)) << error;
  ASSERT_TRUE(db.engine()->Execute("UPDATE archi SET aggiunto = 1 WHERE ID % 3 = 0", error)) << error;
  BuildStreetDirectory(db, ui);
  LayerSet layers;
  LoadLayers(layers, db, MapStyling{});
  GraphCaches caches(layers);
  int day = 0;
  const auto today = [&day] { return (day % 28 < 9 ? "0" : "") + std::to_string(day % 28 + 1) + "/02/2026"; };
  GeometryEdits edits(db, caches, today);
  ArcAttributeEdits arc_edits(db, caches, today);
  testing::ScriptedEditDialogs dialogs;
  EditHistory history(db, caches);

  std::mt19937 random(20260305);
  const auto below = [&random](std::size_t n) { return static_cast<std::int32_t>(random() % n); };
  const auto near = [&](Point p) {
    return Point{RoundToHundredths(p.x + below(4001) / 100.0 - 20),
                 RoundToHundredths(p.y + below(4001) / 100.0 - 20)};
  };
  const Tables start_rows = EveryRow(db);
  const auto start_cache = Contents(caches);
  std::set<EditKind> kinds;
  for (int edit = 0; edit < 300; ++edit, ++day) {
    std::vector<LineFeature*> arcs;
    std::vector<Point> nodes;
    caches.arcs()->ForEachLine([&](const LineFeature& arc) { arcs.push_back(caches.FindArc(arc.id)); });
    caches.nodes()->ForEachPoint([&](const PointFeature& node) { nodes.push_back(node.point); });
    LineFeature& arc = *arcs[below(arcs.size())];
    LineFeature& other = *arcs[below(arcs.size())];
    const std::vector<Point> points = arc.polylines[0].points();
    const Point vertex = points[below(points.size())];
    const std::int32_t j = 1 + below(other.polylines[0].count() - 1);
    const Point foot{
        RoundToHundredths((other.polylines[0].points()[j - 1].x + other.polylines[0].points()[j].x) / 2),
        RoundToHundredths((other.polylines[0].points()[j - 1].y + other.polylines[0].points()[j].y) / 2)};
    // Dropped on a node, or on the middle of a segment of another arc.
    const DropTarget target = below(2) || &other == &arc ? DropTarget{nodes[below(nodes.size())], {}, 0, 0}
                                                         : DropTarget{foot, FeatureRef(layers, &other), 0, j};
    PendingGeometry pending;
    GraphChange change;
    switch (below(10)) {
      case 0:
        change = edits.DeleteVertex(arc, vertex);
        break;
      case 1:
        edits.MoveVertex(pending, arc, vertex, near(vertex));
        change = edits.SaveDrag(pending);
        break;
      case 2:
        if (edits.InsertVertex(pending, arc, near(vertex))) change = edits.SaveDrag(pending);
        break;
      case 3:
        if (!(target.point == points.front() || target.point == points.back()))
          change = edits.AttachDragged(pending, arc, vertex, target);
        break;
      case 4:
        change = edits.SplitArcAt(arc, near(vertex));
        break;
      case 5:
        change = edits.FinishNewArc({nodes[below(nodes.size())], near(vertex), near(vertex)},
                                    {"VIA NUOVA", "", "SC"});
        break;
      case 6:
        change = arc_edits.Rename(arc.id, {below(2) ? "VIA ROMA" : "VIA VERDI", "", below(2) ? "SC" : "SP"});
        break;
      case 7:
        change = arc_edits.Delete(arc.id);
        break;
      default:
        // A new type and name for the directory; every other time the name is refused and the dialog
        // given up, the type kept.
        ui.QueueAnswer(true);
        ui.QueueAnswer(below(2));
        dialogs.Queue(ArcDialogAnswer{.name = "T" + std::to_string(edit) + "X N" + std::to_string(edit) + "X",
                                      .class_index = 1});
        change = arc_edits.Open(arc.id, dialogs).change;
        break;
    }
    kinds.insert(change.kind);
    history.Record(change);
  }
  EXPECT_EQ(kinds.size(), 12u) << "every kind of edit, and some that changed nothing";
  const Tables end_rows = EveryRow(db);
  const auto end_cache = Contents(caches);
  ui.ClearMessages();
  while (history.CanUndo())
    ASSERT_NE(history.Undo(), EditKind::None) << (ui.messages().empty() ? "" : ui.last_message().text);
  EXPECT_EQ(EveryRow(db), start_rows);
  EXPECT_EQ(Contents(caches), start_cache);
  while (history.CanRedo()) ASSERT_NE(history.Redo(), EditKind::None);
  EXPECT_EQ(EveryRow(db), end_rows);
  EXPECT_EQ(Contents(caches), end_cache);
  EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace viamappa
