// What a connection shares with the tables and queries opened on it. They keep it alive, so that a
// table outliving its connection finds it closed instead of finding freed memory.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "db/Engine.h"
#include "ui/UserInterface.h"

namespace viamappa {

// A reader that walks a result straight from the engine and must take the rest of its rows before the
// connection changes anything, so that it reads a snapshot.
class LiveReader {
 public:
  virtual void TakeRemainingRows() = 0;

 protected:
  ~LiveReader() = default;
};

struct ConnectionCore {
  explicit ConnectionCore(UserInterface& ui_in) : ui(&ui_in) {}

  bool IsOpen() const { return engine && engine->IsOpen(); }

  // Lets every live reader take its remaining rows; called before each change of the file.
  void BeforeWrite() {
    while (!live_readers.empty()) {
      LiveReader* reader = live_readers.back();
      live_readers.pop_back();
      reader->TakeRemainingRows();
    }
  }

  void AddLiveReader(LiveReader* reader) { live_readers.push_back(reader); }
  void RemoveLiveReader(LiveReader* reader) {
    live_readers.erase(std::remove(live_readers.begin(), live_readers.end(), reader), live_readers.end());
  }

  UserInterface* ui;
  std::unique_ptr<EngineDatabase> engine;
  int batch_depth = 0;
  std::vector<LiveReader*> live_readers;
};

}  // namespace viamappa
