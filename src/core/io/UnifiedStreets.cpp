#include "io/UnifiedStreets.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "geom/Distance.h"

namespace viamappa::conflation {

namespace {

// A piece being joined: its arcs, reversible as a whole at no cost, with its two ends.
class Chain {
 public:
  Chain() = default;
  Chain(PieceArc arc, const Point& first, const Point& last) : first(first), last(last), entries_{arc} {}

  std::size_t size() const { return entries_.size(); }
  PieceArc At(std::size_t i) const {
    if (!flipped_) return entries_[i];
    PieceArc arc = entries_[entries_.size() - 1 - i];
    arc.reversed = !arc.reversed;
    return arc;
  }
  void PushBack(PieceArc arc) {
    if (flipped_) {
      arc.reversed = !arc.reversed;
      entries_.push_front(arc);
    } else {
      entries_.push_back(arc);
    }
  }
  void PushFront(PieceArc arc) {
    if (flipped_) {
      arc.reversed = !arc.reversed;
      entries_.push_back(arc);
    } else {
      entries_.push_front(arc);
    }
  }
  void Reverse() {
    flipped_ = !flipped_;
    std::swap(first, last);
  }
  void TakeArcsOf(Chain& other) {
    entries_.swap(other.entries_);
    std::swap(flipped_, other.flipped_);
  }
  void Clear() {
    entries_.clear();
    flipped_ = false;
    empty = true;
  }

  Point first, last;
  bool empty = false;

 private:
  std::deque<PieceArc> entries_;
  bool flipped_ = false;
};

// Piece + other, other's first point being the piece's last. The shorter one is moved, so that a street
// joined in a long row costs no more than its arcs.
void Append(Chain& piece, Chain& other) {
  const Point first = piece.first, last = other.last;
  if (other.size() <= piece.size()) {
    for (std::size_t i = 0; i < other.size(); ++i) piece.PushBack(other.At(i));
  } else {
    for (std::size_t i = piece.size(); i-- > 0;) other.PushFront(piece.At(i));
    piece.TakeArcsOf(other);
  }
  piece.first = first;
  piece.last = last;
  other.Clear();
}

// Other + piece, other's last point being the piece's first.
void Prepend(Chain& piece, Chain& other) {
  const Point first = other.first, last = piece.last;
  if (other.size() <= piece.size()) {
    for (std::size_t i = other.size(); i-- > 0;) piece.PushFront(other.At(i));
  } else {
    for (std::size_t i = 0; i < piece.size(); ++i) other.PushBack(piece.At(i));
    piece.TakeArcsOf(other);
  }
  piece.first = first;
  piece.last = last;
  other.Clear();
}

// The four ways a polyline from A to B joins a piece, in the order they are tried.
enum class Rule { None, AfterLast, ReversedAfterLast, BeforeFirst, ReversedBeforeFirst };

Rule Matching(const Point& a, const Point& b, const Chain& piece) {
  if (a == piece.last) return Rule::AfterLast;
  if (b == piece.last) return Rule::ReversedAfterLast;
  if (b == piece.first) return Rule::BeforeFirst;
  if (a == piece.first) return Rule::ReversedBeforeFirst;
  return Rule::None;
}

void Join(Chain& piece, Chain& other, Rule rule) {
  switch (rule) {
    case Rule::ReversedAfterLast:
      other.Reverse();
      [[fallthrough]];
    case Rule::AfterLast:
      Append(piece, other);
      return;
    case Rule::ReversedBeforeFirst:
      other.Reverse();
      [[fallthrough]];
    case Rule::BeforeFirst:
      Prepend(piece, other);
      return;
    case Rule::None:
      return;
  }
}

// The pieces of one street, with the pieces each end point has belonged to, so that an arc meets only
// the pieces it may join instead of all of them.
class StreetJoiner {
 public:
  explicit StreetJoiner(Search search) : search_(search) {}

  std::vector<Chain>& chains() { return chains_; }

  void AddArc(std::int32_t position, const PointArray& line) {
    Chain arc({position, false}, line.front(), line.back());
    Rule rule = Rule::None;
    const std::int32_t piece = FirstMatch(arc.first, arc.last, 0, rule);
    if (piece < 0) {
      chains_.push_back(std::move(arc));
      Register(static_cast<std::int32_t>(chains_.size()) - 1);
      return;
    }
    Join(chains_[static_cast<std::size_t>(piece)], arc, rule);
    Register(piece);
  }

  void JoinPieces() {
    for (std::size_t x = 0; x < chains_.size(); ++x) {
      if (chains_[x].empty) continue;
      Rule rule = Rule::None;
      const std::int32_t piece = FirstMatch(chains_[x].first, chains_[x].last, x + 1, rule);
      if (piece < 0) continue;
      Join(chains_[static_cast<std::size_t>(piece)], chains_[x], rule);
      Register(piece);
    }
  }

 private:
  // The first piece from position `from` on that a polyline from A to B joins, and how; -1 for none.
  std::int32_t FirstMatch(const Point& a, const Point& b, std::size_t from, Rule& rule) const {
    if (search_ == Search::Scan) {
      for (std::size_t p = from; p < chains_.size(); ++p) {
        if (!chains_[p].empty && (rule = Matching(a, b, chains_[p])) != Rule::None)
          return static_cast<std::int32_t>(p);
      }
      return -1;
    }
    std::int32_t best = -1;
    for (const Point* end : {&a, &b}) {
      const auto found = ends_.find(*end);
      if (found == ends_.end()) continue;
      // The list also holds pieces whose ends have moved on since: each is checked as it stands now.
      for (const std::int32_t p : found->second) {
        if (p < static_cast<std::int32_t>(from) || (best >= 0 && p >= best)) continue;
        const Chain& chain = chains_[static_cast<std::size_t>(p)];
        if (!chain.empty && Matching(a, b, chain) != Rule::None) best = p;
      }
    }
    if (best >= 0) rule = Matching(a, b, chains_[static_cast<std::size_t>(best)]);
    return best;
  }

  void Register(std::int32_t piece) {
    const Chain& chain = chains_[static_cast<std::size_t>(piece)];
    if (search_ == Search::Scan) return;
    ends_[chain.first].push_back(piece);
    if (!(chain.last == chain.first)) ends_[chain.last].push_back(piece);
  }

  Search search_;
  std::vector<Chain> chains_;
  std::unordered_map<Point, std::vector<std::int32_t>, PointHash> ends_;
};

// Whether P is within the snap factor of an arc as its piece runs it: of one of its points, or of the
// foot on one of its segments taken in the piece's direction.
bool ArcWithin(const PointArray& line, bool reversed, const Point& p, double snap) {
  const std::vector<Point>& points = line.points();
  if (points.empty()) return false;
  if (!Grown(line.box(), SearchMargin(snap)).Contains(p.x, p.y)) return false;
  const Point& start = reversed ? points.back() : points.front();
  if (PointDistance(p.x, p.y, start.x, start.y) <= snap) return true;
  for (std::size_t k = 1; k < points.size(); ++k) {
    const bool within = reversed ? SegmentWithin(points[k], points[k - 1], p, snap)
                                 : SegmentWithin(points[k - 1], points[k], p, snap);
    if (within) return true;
  }
  return false;
}

}  // namespace

StreetPieces JoinUnifiedStreets(const ConflationState& state, ProgressDisplay& progress) {
  progress.SetPhase("Costruzione Strade Unificate");
  StreetPieces result;
  result.piece_of.assign(state.primary.size(), -1);
  result.reversed.assign(state.primary.size(), 0);
  for (std::size_t s = 0; s < state.streets.size(); ++s) {
    StreetJoiner joiner(state.search);
    for (const std::int32_t position : state.streets[s].arcs)
      joiner.AddArc(position, state.primary[static_cast<std::size_t>(position)].own.line);
    joiner.JoinPieces();
    for (const Chain& chain : joiner.chains()) {
      if (chain.empty) continue;
      const auto index = static_cast<std::int32_t>(result.pieces.size());
      StreetPiece& piece = result.pieces.emplace_back();
      piece.street = static_cast<std::int32_t>(s);
      piece.arcs.reserve(chain.size());
      for (std::size_t i = 0; i < chain.size(); ++i) {
        const PieceArc arc = chain.At(i);
        piece.arcs.push_back(arc);
        piece.box.Widen(state.primary[static_cast<std::size_t>(arc.arc)].extent);
        result.piece_of[static_cast<std::size_t>(arc.arc)] = index;
        result.reversed[static_cast<std::size_t>(arc.arc)] = arc.reversed;
      }
    }
    progress.SetProgress(static_cast<long long>(s) + 1, static_cast<long long>(state.streets.size()));
  }
  return result;
}

PointArray PiecePolyline(const StreetPiece& piece, const ConflationState& state) {
  std::vector<Point> points;
  for (std::size_t i = 0; i < piece.arcs.size(); ++i) {
    std::vector<Point> arc = state.primary[static_cast<std::size_t>(piece.arcs[i].arc)].own.line.points();
    if (piece.arcs[i].reversed) std::reverse(arc.begin(), arc.end());
    // Each arc after the first starts where the previous one ends.
    points.insert(points.end(), arc.begin() + (i == 0 ? 0 : 1), arc.end());
  }
  return PointArray(std::move(points));
}

void FindStreetsAlong(ConflationState& state, const StreetPieces& streets, const BoxIndex& index,
                      ProgressDisplay& progress) {
  progress.SetPhase("Identificazione Archi Analoghi - Fase III");
  const double snap = state.snap;
  const double margin = SearchMargin(snap);
  std::vector<PointArray> polylines;
  if (state.search == Search::Scan) {
    for (const StreetPiece& piece : streets.pieces) polylines.push_back(PiecePolyline(piece, state));
  }
  std::vector<std::int32_t> candidates, near, alive, kept;
  for (std::size_t k = 0; k < state.secondary.size(); ++k) {
    SecondaryArc& s = state.secondary[k];
    progress.SetProgress(static_cast<long long>(k) + 1, static_cast<long long>(state.secondary.size()));
    if (!s.has_geometry || !s.analogues.empty()) continue;
    const auto take = [&](std::size_t piece) {
      const std::int32_t street = streets.pieces[piece].street;
      if (OverlapsWithMargin(streets.pieces[piece].box, s.line.box(), snap) &&
          (s.streets.empty() || s.streets.back() != street))
        s.streets.push_back(street);
    };
    if (state.search == Search::Scan) {
      for (std::size_t piece = 0; piece < streets.pieces.size(); ++piece) {
        if (OverlapsWithMargin(streets.pieces[piece].box, s.line.box(), snap) &&
            LiesAlong(s.line, polylines[piece], snap, Search::Scan))
          take(piece);
      }
      continue;
    }
    // The pieces within the snap factor of every point so far: those near the first point, then kept
    // while each further point is near them too.
    bool first = true;
    alive.clear();
    for (const Point& p : s.line.points()) {
      index.Query(Grown(Box::Of(p.x, p.y, p.x, p.y), margin), candidates);
      near.clear();
      for (const std::int32_t arc : candidates) {
        const std::int32_t piece = streets.piece_of[static_cast<std::size_t>(arc)];
        if (piece < 0 || (!first && !std::binary_search(alive.begin(), alive.end(), piece))) continue;
        if (!near.empty() && near.back() == piece) continue;
        if (ArcWithin(state.primary[static_cast<std::size_t>(arc)].own.line,
                      streets.reversed[static_cast<std::size_t>(arc)] != 0, p, snap))
          near.push_back(piece);
      }
      std::sort(near.begin(), near.end());
      near.erase(std::unique(near.begin(), near.end()), near.end());
      if (first) {
        alive.swap(near);
        first = false;
      } else {
        kept.clear();
        std::set_intersection(alive.begin(), alive.end(), near.begin(), near.end(), std::back_inserter(kept));
        alive.swap(kept);
      }
      if (alive.empty()) break;
    }
    for (const std::int32_t piece : alive) take(static_cast<std::size_t>(piece));
  }
}

}  // namespace viamappa::conflation
