// What the database commands ask of the main window: its title and the map it shows. The desktop
// program implements it; the command-line program and the tests stand in for it.
#pragma once

namespace viamappa {

class ShellWindow {
 public:
  virtual ~ShellWindow() = default;

  // Sets the title from the current state (MainWindowTitle).
  virtual void UpdateTitle() = 0;

  // Throws the map data and the map window away, keeping the window's scale and origin as the saved ones.
  virtual void DropMap() = 0;

  // Throws the map data and the map window away without keeping their view.
  virtual void DiscardMap() = 0;

  // Builds the map data of the connected database anew; the map window follows at the next paint.
  virtual void RebuildMap() = 0;

  // Repaints the main window.
  virtual void Redraw() = 0;

  // The road graph changed as a whole (its nodes regenerated, its arcs merged): a routing graph built
  // before is out of date. A window without one has nothing to do.
  virtual void RoutingGraphStale() {}
};

// A shell without a window, for the command-line program.
class WindowlessShell : public ShellWindow {
 public:
  void UpdateTitle() override {}
  void DropMap() override {}
  void DiscardMap() override {}
  void RebuildMap() override {}
  void Redraw() override {}
};

}  // namespace viamappa
