// The toponym search of the map window (command 40006): the warnings about a missing localization, the
// dialog, and what showing the accepted hit does.
#pragma once

#include <optional>
#include <string>

#include "db/DbConnection.h"
#include "map/LayerSet.h"
#include "query/HitView.h"
#include "query/MapQueries.h"
#include "ui/UserInterface.h"

namespace viamappa {

// Shown with the information icon when no toponym, or no arc, lies in a municipality: the search still
// runs.
extern const char* const kToponymsNotLocalizedMessage;
extern const char* const kArcsNotLocalizedMessage;

// Warns when the toponyms or the arcs are not localized, clears the highlight set and runs the dialog
// with the kept fragment. On Ok the fragment is kept and the answer tells how to show the hit (for a
// whole street the highlight set then holds its arcs); nullopt when the dialog was closed without Ok
// or the hit is not in the map data, the view staying as it is.
std::optional<HitView> RunToponymSearch(DbConnection& connection, UserInterface& ui, const LayerSet& layers,
                                        MapQueries& queries);

}  // namespace viamappa
