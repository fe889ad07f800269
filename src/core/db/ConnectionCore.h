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

  // True while a batch believes its transaction open but the engine has ended it: an I/O failure or a
  // full disk makes the engine roll the whole transaction back. Writes must stop then, or they would be
  // stored one by one outside the batch.
  bool TransactionLost() const {
    return batch_depth > 0 && engine && engine->IsOpen() && sqlite3_get_autocommit(engine->handle()) != 0;
  }

  UserInterface* ui;
  std::unique_ptr<EngineDatabase> engine;
  int batch_depth = 0;
  bool batch_doomed = false;  // a nested batch rolled back: the outermost one will too
  std::vector<LiveReader*> live_readers;
};

}  // namespace viamappa
