// The attributes of a stored arc: the dialog over its row, then what its closing asks for. OK renames
// it (names and class, marked renamed today); Elimina marks an arc of the regional graph deleted, and
// removes an arc added in this program from the database with its polyline and with the end nodes no
// other arc uses. Each write is one transaction; the arcs and nodes caches follow only once it is
// stored, and the answer is what was stored (rows before and after, features removed), for undo.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "db/DbConnection.h"
#include "edit/EditDialogs.h"
#include "edit/GraphCaches.h"
#include "edit/GraphChange.h"

namespace viamappa {

// What the attributes of an arc came to.
struct ArcAttributesOutcome {
  bool found = false;  // the arc's row was read and the dialog shown
  ArcDialogClose closed = ArcDialogClose::Cancel;
  // What was stored, the rows the street directory gained included; empty when nothing was, or the
  // writing failed.
  GraphChange change;
};

class ArcAttributeEdits {
 public:
  // Works on the open database and the caches, which must outlive it. today gives the date written.
  ArcAttributeEdits(DbConnection& connection, GraphCaches& caches,
                    std::function<std::string()> today = TodayText);

  // The arc's row; nullopt, after the message "Arco Stradale ID=...: errore di lettura !!!", when
  // there is none.
  std::optional<ArcRecord> Read(std::int32_t id);

  // The whole command on an arc: reads its row, shows the dialog, and renames or deletes the arc as it
  // was closed. Nothing is written on Annulla.
  ArcAttributesOutcome Open(std::int32_t id, EditDialogs& dialogs);

  // Stores the names and class of the arc, marked renamed (modnome) today.
  GraphChange Rename(std::int32_t id, const ArcAttributeValues& values);

  // Deletes the arc: an arc of the regional graph is only marked deleted (elimina) today and stays in
  // the caches; an added arc leaves the database and the arcs cache with its polyline, and each of its
  // end nodes (a closed arc's one node once) that no other arc uses leaves the database and the nodes
  // cache.
  GraphChange Delete(std::int32_t id);

 private:
  // Rewrites fields of the arc's row; the change, of that kind, holds the row before and after.
  GraphChange Rewrite(std::int32_t id, EditKind kind, const std::function<void(ArcRecord&)>& change);
  GraphChange Remove(const ArcRecord& arc);

  DbConnection& connection_;
  GraphCaches& caches_;
  std::function<std::string()> today_;
};

// The message of an arc whose row cannot be read.
std::string ArcReadErrorMessage(std::int32_t id);

}  // namespace viamappa
