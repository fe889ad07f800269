// Localization: every arc of the road graph learns the municipality and the locality it lies in, every
// toponym the municipality that holds its box, by testing their points against the boundary rings of
// geocom and geoloc. Each run recomputes everything; what it found is stored all together at the end,
// or not at all.
#pragma once

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

// Writes archi.comune and archi.local of every arc that has a geometry row (0 where no area is
// assigned), showing its phases and progress, a stop message when the arcs, the municipalities or the
// localities are missing, and the final message. False when it stored nothing: a refusal, or a
// failure of the database (shown by the access layer; the whole registration is then undone).
bool LocalizeRoadGraph(DbConnection& connection, UserInterface& ui);

// Writes toponimi.comune of every toponym: the first municipality that holds all four corners of its
// box, else 0. Phases, messages and result as above.
bool LocalizeToponyms(DbConnection& connection, UserInterface& ui);

// True when at least one arc has a municipality (comune > 0).
bool IsRoadGraphLocalized(DbConnection& connection);

// The check before arcs are renamed in bulk: when no arc is localized, shows the advice to localize
// the road graph first (information icon). Answers IsRoadGraphLocalized; the renaming goes on either way.
bool CheckRoadGraphLocalized(DbConnection& connection, UserInterface& ui);

}  // namespace viamappa
