#include "io/SnapAdjustment.h"

#include <algorithm>
#include <optional>

#include "geom/Distance.h"
#include "geom/Hundredths.h"

namespace viamappa::conflation {

namespace {

Box PointBox(const Point& p) {
  return Box::Of(p.x, p.y, p.x, p.y);
}

// The foot of the perpendicular from P nearest to it among those that fall on a segment of the line.
struct Foot {
  std::int32_t segment = 0;  // the index of the segment's last point
  Point point;               // unrounded
  double distance = 0;
};

std::optional<Foot> NearestFoot(const PointArray& line, const Point& p) {
  std::optional<Foot> best;
  Point foot;
  for (std::int32_t k = 1; k < line.count(); ++k) {
    if (!PerpendicularFoot(line[k - 1], line[k], p.x, p.y, foot)) continue;
    const double d = PointDistance(p.x, p.y, foot.x, foot.y);
    // A later foot must be strictly nearer.
    if (!best || d < best->distance) best = Foot{k, foot, d};
  }
  return best;
}

// Where one end of a secondary arc goes, and how.
struct EndPlace {
  Point point;
  NodeRef node;
  EndOutcome outcome;
  bool moved = false;  // by a cut point
};

class SnapAdjuster {
 public:
  SnapAdjuster(ConflationState& state, const BoxIndex& primary_index)
      : state_(state), primary_index_(primary_index), margin_(SearchMargin(state.snap)) {
    if (state.search == Search::Indexed) {
      std::vector<Point> nodes;
      nodes.reserve(state.nodes.size());
      for (const NodeRecord& node : state.nodes) nodes.push_back({node.coord_x, node.coord_y});
      node_index_ = PointIndex(nodes);
    }
  }

  void Adjust(SecondaryArc& s) {
    EndPlace a, b;
    a.point = s.line.front();
    b.point = s.line.back();
    // a. The nearest existing node; a later one must be strictly nearer.
    SnapToNode(a);
    SnapToNode(b);
    // b. The points where arcs were cut, for an end without node: the last one in order within the snap
    // factor of the end as it lies.
    if (!a.node.IsSet()) SnapToCutPoint(a);
    if (!b.node.IsSet()) SnapToCutPoint(b);
    // c, d. The foot on a primary arc or on a piece cut off it.
    if (!a.node.IsSet() && !a.moved) Project(a);
    if (!b.node.IsSet() && !b.moved) Project(b);

    s.start = a.node;
    s.end = b.node;
    s.start_join = a.outcome;
    s.end_join = b.outcome;
    std::vector<Point> points = s.line.TakePoints();
    points.front() = a.point;
    points.back() = b.point;
    s.line = PointArray(std::move(points));
  }

 private:
  void Candidates(const PointIndex& index, std::size_t count, const Box& box,
                  std::vector<std::int32_t>& out) {
    if (state_.search == Search::Indexed) {
      index.Query(box, out);
      return;
    }
    out.resize(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::int32_t>(i);
  }

  void SnapToNode(EndPlace& end) {
    Candidates(node_index_, state_.nodes.size(), Grown(PointBox(end.point), margin_), candidates_);
    const NodeRecord* nearest = nullptr;
    double nearest_distance = 0;
    for (const std::int32_t i : candidates_) {
      const NodeRecord& node = state_.nodes[static_cast<std::size_t>(i)];
      const double d = PointDistance(end.point.x, end.point.y, node.coord_x, node.coord_y);
      if (d <= state_.snap && (!nearest || d < nearest_distance)) {
        nearest = &node;
        nearest_distance = d;
      }
    }
    if (!nearest) return;
    end.point = {nearest->coord_x, nearest->coord_y};
    end.node = NodeRef::Existing(nearest->id);
    end.outcome = {EndJoin::Node, 0};
  }

  void SnapToCutPoint(EndPlace& end) {
    if (state_.search == Search::Indexed) {
      cut_index_.Query(Grown(PointBox(end.point), margin_), candidates_);
    } else {
      candidates_.assign(cut_arcs_.begin(), cut_arcs_.end());
    }
    const Point from = end.point;
    for (const std::int32_t i : candidates_) {
      const PrimaryArc& arc = state_.primary[static_cast<std::size_t>(i)];
      for (std::size_t j = 0; j + 1 < arc.PartCount(); ++j) {
        const Point& cut = arc.Part(j).line.back();
        if (PointDistance(from.x, from.y, cut.x, cut.y) <= state_.snap) {
          end.point = cut;
          end.moved = true;
          end.outcome = {EndJoin::CutPoint, arc.id};
        }
      }
    }
  }

  void Project(EndPlace& end) {
    const Point p = end.point;
    if (state_.search == Search::Indexed) {
      primary_index_.Query(Grown(PointBox(p), SearchMargin(0)), candidates_);
    } else {
      candidates_.resize(state_.primary.size());
      for (std::size_t i = 0; i < candidates_.size(); ++i) candidates_[i] = static_cast<std::int32_t>(i);
    }
    for (const std::int32_t i : candidates_) {
      PrimaryArc& arc = state_.primary[static_cast<std::size_t>(i)];
      // The arc itself when its box holds the end, then its pieces whose boxes hold it, in order.
      for (std::size_t j = 0; j < arc.PartCount(); ++j) {
        const PointArray& line = arc.Part(j).line;
        if (!line.box().Contains(p.x, p.y)) continue;
        const std::optional<Foot> foot = NearestFoot(line, p);
        if (!foot || foot->distance > state_.snap) continue;
        const Point rounded{RoundToHundredths(foot->point.x), RoundToHundredths(foot->point.y)};
        end.point = rounded;
        end.outcome = {EndJoin::Projection, arc.id};
        if (CutPart(arc, j, foot->segment, rounded)) {
          NoteCut(static_cast<std::int32_t>(i), rounded);
        } else if (const NodeRecord* node = NodeAt(rounded)) {
          // On an end of the part: the node already there, when there is one; otherwise the new node
          // of the cut point there.
          end.node = NodeRef::Existing(node->id);
        }
        return;
      }
    }
  }

  // The first existing node exactly at the point.
  const NodeRecord* NodeAt(const Point& p) {
    Candidates(node_index_, state_.nodes.size(), PointBox(p), candidates_);
    for (const std::int32_t i : candidates_) {
      const NodeRecord& node = state_.nodes[static_cast<std::size_t>(i)];
      if (node.coord_x == p.x && node.coord_y == p.y) return &node;
    }
    return nullptr;
  }

  void NoteCut(std::int32_t arc, const Point& cut) {
    if (state_.search == Search::Indexed) {
      cut_index_.Insert(cut, arc);
      return;
    }
    const auto at = std::lower_bound(cut_arcs_.begin(), cut_arcs_.end(), arc);
    if (at == cut_arcs_.end() || *at != arc) cut_arcs_.insert(at, arc);
  }

  ConflationState& state_;
  const BoxIndex& primary_index_;
  double margin_;
  PointIndex node_index_;
  PointIndex cut_index_;                // the cut points, each with its arc
  std::vector<std::int32_t> cut_arcs_;  // the arcs that have been cut, ascending (scan)
  std::vector<std::int32_t> candidates_;
};

}  // namespace

bool CutPart(PrimaryArc& arc, std::size_t part, std::int32_t segment, const Point& foot) {
  const std::vector<Point>& points = arc.Part(part).line.points();
  if (points.empty() || foot == points.front() || foot == points.back()) return false;
  const auto k = static_cast<std::size_t>(segment);
  std::vector<Point> kept(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(k));
  if (!(kept.back() == foot)) kept.push_back(foot);
  std::vector<Point> rest{foot};
  rest.insert(rest.end(), points.begin() + static_cast<std::ptrdiff_t>(points[k] == foot ? k + 1 : k),
              points.end());
  arc.Part(part).line = PointArray(std::move(kept));
  arc.pieces.insert(arc.pieces.begin() + static_cast<std::ptrdiff_t>(part),
                    ArcPart{PointArray(std::move(rest)), {}, {}});
  arc.modified = true;
  return true;
}

void AdjustSnapPoints(ConflationState& state, const BoxIndex& index, ProgressDisplay& progress) {
  progress.SetPhase("Aggiustamento dei punti di snap");
  SnapAdjuster adjuster(state, index);
  for (std::size_t k = 0; k < state.secondary.size(); ++k) {
    SecondaryArc& s = state.secondary[k];
    if (s.Unmatched()) adjuster.Adjust(s);
    progress.SetProgress(static_cast<long long>(k) + 1, static_cast<long long>(state.secondary.size()));
  }
}

}  // namespace viamappa::conflation
