// The main window as the database commands see it, from whichever thread they run on.
#pragma once

#include <memory>

#include "app/ShellWindow.h"
#include "gui/ThreadHopInterface.h"
#include "map/LayerSet.h"

namespace viamappa {

// A window whose map data can be loaded on another thread than its own: only the loading reads the
// database; letting the old data go and showing the new ones belong to the window's thread.
class MapDataShell : public ShellWindow {
 public:
  // On the window's thread: lets the present map data go. False when no database is connected, and
  // there is nothing to load.
  virtual bool ReleaseMapData() = 0;
  // On the thread that uses the database: the map data of the connected database (null without one).
  virtual std::unique_ptr<LayerSet> LoadMapData() = 0;
  // On the window's thread: shows data as the map (null: no map).
  virtual void InstallMapData(std::unique_ptr<LayerSet> data) = 0;

  // The three steps on the calling thread.
  void RebuildMap() override;
};

// Carries every call of a command's worker to the window's thread, except the loading of the map
// data, which stays on the worker so that the window (and its busy clock) goes on meanwhile.
class ThreadHopShell : public ShellWindow {
 public:
  // Made on the window's thread.
  explicit ThreadHopShell(MapDataShell& window) : window_(window) {}

  void UpdateTitle() override;
  void DropMap() override;
  void DiscardMap() override;
  void RebuildMap() override;
  void Redraw() override;
  void RoutingGraphStale() override;

 private:
  MapDataShell& window_;
  WindowThread thread_;
};

}  // namespace viamappa
