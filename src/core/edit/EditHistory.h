// The edits of the map that can be taken back and done again. Every stored edit is kept with its rows
// as they were before and after it; an undo writes the rows back as they were, in one transaction, and
// puts the features of the arcs and nodes caches back where they stood (their place in the cache order
// and their spatial index entries included); a redo writes the rows again as the edit left them. A new
// edit drops whatever could be redone.
//
// The history knows only the editing's own writes. Rows written by anyone else through the connection
// make it forget everything (ForgetIfChangedBehind); an undo or redo that finds its rows other than
// the edit left them (another program, a command that wrote without telling) is refused, writes
// nothing, and the history is forgotten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/DbConnection.h"
#include "edit/GraphCaches.h"
#include "edit/GraphChange.h"

namespace viamappa {

// The name of a kind of edit as the status bar and the messages show it ("spostamento di un vertice").
std::string_view EditKindName(EditKind kind);

class EditHistory {
 public:
  // The oldest edits are forgotten beyond this many.
  static constexpr std::size_t kMaxSteps = 1000;

  // Works on the open database and the caches, which must outlive it.
  EditHistory(DbConnection& connection, GraphCaches& caches);

  // Keeps a stored edit, called at once after it (the caches as it left them). An empty change keeps
  // nothing. A drag that carries on the drag just kept (the same vertex of the same arcs, taken where
  // it was let go) joins it as one step. A change that cannot be taken back forgets the history.
  void Record(const GraphChange& change);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The kind of the edit the next undo, or redo, acts on; None when there is none.
  EditKind NextUndo() const { return undo_.empty() ? EditKind::None : undo_.back().change.kind; }
  EditKind NextRedo() const { return redo_.empty() ? EditKind::None : redo_.back().change.kind; }

  // Takes back the last edit, or does the last one taken back again. The kind of the edit acted on;
  // None when there was none, when the database refused (shown by the access layer; the history
  // stays), or when the rows were changed behind the history (shown; the history is forgotten).
  EditKind Undo();
  EditKind Redo();

  void Clear();

  // Whatever the connection wrote up to now is the editing's own (or nothing that concerns the
  // history).
  void Acknowledge();

  // Forgets the history when the connection wrote rows since the last Acknowledge, Record, Undo or
  // Redo; true when it did.
  bool ForgetIfChangedBehind();

 private:
  using Slots = std::vector<std::pair<std::int32_t, std::uint32_t>>;
  struct Step {
    GraphChange change;
    // Where the features the edit touches stand (or stood) in the cache order, by identifier.
    Slots arc_slots;
    Slots node_slots;
  };
  enum class Applied { Done, Failed, Refused };

  // Applies the step on top of from (backwards for an undo) and, once stored, moves it on top of to.
  EditKind Replay(std::vector<Step>& from, std::vector<Step>& to, bool undo);
  Applied Apply(const Step& step, bool undo);
  void ApplyToCaches(const Step& step, bool undo);
  void Refuse(const Step& step, bool undo, const std::string& what);

  DbConnection& connection_;
  GraphCaches& caches_;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  bool last_was_recorded_ = false;  // the last thing done was keeping the step on top
  std::int64_t rows_known_ = 0;
};

}  // namespace viamappa
