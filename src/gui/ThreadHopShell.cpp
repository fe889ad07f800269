#include "gui/ThreadHopShell.h"

namespace viamappa {

void MapDataShell::RebuildMap() {
  if (ReleaseMapData()) InstallMapData(LoadMapData());
}

void ThreadHopShell::UpdateTitle() {
  thread_.Run([this] { window_.UpdateTitle(); });
}

void ThreadHopShell::DropMap() {
  thread_.Run([this] { window_.DropMap(); });
}

void ThreadHopShell::DiscardMap() {
  thread_.Run([this] { window_.DiscardMap(); });
}

void ThreadHopShell::RebuildMap() {
  if (thread_.IsCurrent()) return window_.RebuildMap();
  // The old data go before the new ones are loaded, so that the two never take memory together.
  if (!thread_.Answer<bool>([this] { return window_.ReleaseMapData(); })) return;
  std::unique_ptr<LayerSet> data = window_.LoadMapData();
  thread_.Run([&] { window_.InstallMapData(std::move(data)); });
}

void ThreadHopShell::Redraw() {
  thread_.Run([this] { window_.Redraw(); });
}

void ThreadHopShell::RoutingGraphStale() {
  thread_.Run([this] { window_.RoutingGraphStale(); });
}

}  // namespace viamappa
