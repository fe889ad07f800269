// Runs a long command on a thread of its own while the window's thread waits in an event loop: the
// windows repaint, the busy clock ticks, the progress bar and banner follow, and the calls the command
// carries to the window's thread (ThreadHopInterface, ThreadHopShell) are answered there. Input to the
// main window and the program's other windows is dropped meanwhile, as a modal window would have it;
// only the dialogs the command opens take input.
//
// The command's thread is the only user of the database while it runs; the window's thread uses it
// only inside the calls the command carries to it, while the command waits for them.
#pragma once

#include <functional>

#include "ui/UserInterface.h"

namespace viamappa {

class CommandWorker {
 public:
  // ui: the window's interface, whose busy state (wait cursor and clock) ends with each run; used on the
  // window's thread only.
  explicit CommandWorker(UserInterface& ui) : ui_(ui) {}

  // On the window's thread: runs work on a new thread and returns once work has ended, after ending the
  // busy state. An exception that leaves work is thrown again here. False, without running work, while
  // another run is under way: the database is used by one command at a time.
  bool Run(const std::function<void()>& work);

  // True while Run waits for its work. (This is where a request to stop the command, from a button
  // beside the clock, would be kept for the engines to read through their progress calls.)
  bool running() const { return running_; }

  // True on the window's thread while any run waits: the busy state then ends with the run, not when the
  // event loop is next idle.
  static bool AnyRunning();

 private:
  UserInterface& ui_;
  bool running_ = false;
};

}  // namespace viamappa
