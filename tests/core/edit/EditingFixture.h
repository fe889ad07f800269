// A small hand-drawn road graph in a fresh database, its map data, and an editor over a window of 400 x 300
// pixels where one pixel is one screen unit and one metre: the window shows x 1000 .. 1400 and y 1000 ..
// 1300, and the world point (X, Y) lies at pixel (X - 1000, 1300 - Y).
//
//           5 (1100,1250) ------------ 13 ------------ 6 (1300,1250)
//
//                                     4 (1200,1200)
//   7 (1100,1150)                     |
//   14: 7 -> 8 (1050,1150)            12
//                                     |
//           1 (1100,1100) -- 10 ----- 2 (1200,1100) --- 11 --- 3 (1300,1100)
//                      (vertex 1150,1100)
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "TopologyFixture.h"
#include "edit/MapEditor.h"
#include "io/StreetDirectory.h"
#include "map/CommandIds.h"
#include "map/LayerLoader.h"
#include "support/ScriptedEditDialogs.h"

namespace viamappa::testing {

inline constexpr const char* kToday = "05/03/2026";

class EditingTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    {
      NetworkBuilder build(db());
      const std::vector<NodeRecord> nodes = {{1, 1100, 1100}, {2, 1200, 1100}, {3, 1300, 1100},
                                             {4, 1200, 1200}, {5, 1100, 1250}, {6, 1300, 1250},
                                             {7, 1100, 1150}, {8, 1050, 1150}};
      for (const NodeRecord& n : nodes) ASSERT_TRUE(build.AddNode(n.id, n.coord_x, n.coord_y));
      ASSERT_TRUE(build.AddArc(Arc(10, 1, 2, {{1100, 1100}, {1150, 1100}, {1200, 1100}}, "VIA ROMA", "SC")));
      ASSERT_TRUE(build.AddArc(Arc(11, 2, 3, {{1200, 1100}, {1300, 1100}}, "VIA ROMA", "SC")));
      ASSERT_TRUE(build.AddArc(Arc(12, 2, 4, {{1200, 1100}, {1200, 1200}}, "VIA MILANO", "SC")));
      ASSERT_TRUE(build.AddArc(Arc(13, 5, 6, {{1100, 1250}, {1300, 1250}}, "VIA VERDI", "SP")));
      ASSERT_TRUE(build.AddArc(Arc(14, 7, 8, {{1100, 1150}, {1050, 1150}}, "VICOLO", "SC")));
    }
    // The street directory of these names: the type VIA with ROMA, MILANO and VERDI.
    ScriptedUserInterface quiet;
    BuildStreetDirectory(db(), quiet);
    Load();
  }

  // The map data read anew and an editor over them.
  void Load() {
    editor_.reset();
    layers_ = std::make_unique<LayerSet>();
    LoadLayers(*layers_, db(), MapStyling{});
    viewport_ = Viewport(DeviceMetrics(10.0), SavedMapView{1.0, 1000, 1000});
    viewport_.SetClientSize(400, 300);
    EditorHooks hooks;
    hooks.graph.routing_graph_stale = [this] { ++stale_; };
    hooks.graph.arc_leaving_caches = [this](std::int32_t id) { left_.push_back(id); };
    hooks.edit_stored = [this](const GraphChange& change) { stored_.push_back(change); };
    hooks.route_start = [this](const Point& p, std::optional<std::int32_t> arc) {
      route_.push_back({'S', p, arc});
    };
    hooks.route_end = [this](const Point& p, std::optional<std::int32_t> arc) {
      route_.push_back({'E', p, arc});
    };
    editor_ = std::make_unique<MapEditor>(
        db(), *layers_, viewport_, dialogs_, [this] { return modes_; }, hooks,
        [] { return std::string(kToday); });
  }

  static PixelPoint PixelOf(double x, double y) {
    return {static_cast<int>(x - 1000), static_cast<int>(1300 - y)};
  }

  EditOutcome Move(double x, double y, bool held = false) {
    const PixelPoint at = PixelOf(x, y);
    return editor_->PointerMoved({at.x, at.y, held, tool_});
  }
  EditOutcome Press(double x, double y) {
    const PixelPoint at = PixelOf(x, y);
    return editor_->LeftPressed({at.x, at.y, true, tool_});
  }
  EditOutcome Release(double x, double y) {
    const PixelPoint at = PixelOf(x, y);
    return editor_->LeftReleased({at.x, at.y, false, tool_});
  }
  // Hovers at from, then drags the button from there through the points and lets go at the last.
  EditOutcome Drag(Point from, std::initializer_list<Point> through) {
    Move(from.x, from.y);
    Press(from.x, from.y);
    Point last = from;
    for (const Point& p : through) {
      Move(p.x, p.y, true);
      last = p;
    }
    return Release(last.x, last.y);
  }
  EditOutcome Command(int id) {
    EditOutcome outcome;
    editor_->RunCommand(id, outcome);
    return outcome;
  }

  std::int32_t HotArc() const {
    const LineFeature* arc = editor_->state().hot_arc.get();
    return arc ? arc->id : -1;
  }
  // The points of an arc in the cache.
  std::vector<Point> CachedPoints(std::int32_t id) const {
    const LineFeature* arc = editor_->caches().FindArc(id);
    return arc ? arc->polylines.at(0).points() : std::vector<Point>{};
  }
  ScriptedEditDialogs dialogs_;
  MapModes modes_;
  NavigationTool tool_ = NavigationTool::None;
  std::unique_ptr<LayerSet> layers_;
  Viewport viewport_;
  std::unique_ptr<MapEditor> editor_;
  int stale_ = 0;
  std::vector<std::int32_t> left_;  // the arcs that left the cache
  std::vector<GraphChange> stored_;
  struct PathPoint {
    char which;  // 'S' for the start, 'E' for the end
    Point at;
    std::optional<std::int32_t> arc;
  };
  std::vector<PathPoint> route_;
};

}  // namespace viamappa::testing
