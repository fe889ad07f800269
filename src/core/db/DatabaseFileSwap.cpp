#include "db/DatabaseFileSwap.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace viamappa {

namespace {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// The outcome of trying to hold a database file alone.
enum class Hold { Held, InUse, NotADatabase };

// Takes the exclusive lock of the file without waiting. A journal that a killed process left behind is
// played back first, so that nothing of the old file lingers beside it.
Hold HoldAlone(const std::string& path, SqliteHandle& handle) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  handle.reset(raw);
  if (rc != SQLITE_OK) return Hold::NotADatabase;
  sqlite3_busy_timeout(raw, 0);
  const int begin = sqlite3_exec(raw, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
  if (begin == SQLITE_BUSY || begin == SQLITE_LOCKED) return Hold::InUse;
  if (begin != SQLITE_OK) return Hold::NotADatabase;
  const int read = sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (read == SQLITE_BUSY || read == SQLITE_LOCKED) return Hold::InUse;
  return Hold::Held;
}

}  // namespace

bool DatabaseFileInUse(const std::string& path) {
  if (!Exists(path)) return false;
  SqliteHandle handle;
  const bool in_use = HoldAlone(path, handle) == Hold::InUse;
  if (handle) sqlite3_exec(handle.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  return in_use;
}

bool ReplaceDatabaseFile(const std::string& replacement, const std::string& destination, std::string& error) {
  SqliteHandle old_file;
  if (Exists(destination) && HoldAlone(destination, old_file) == Hold::InUse) {
    error = "Il file " + destination + " è in uso da un altro programma e non può essere sostituito.";
    return false;
  }
  if (std::rename(replacement.c_str(), destination.c_str()) != 0) {
    error = "Impossibile scrivere il file " + destination + " (" + std::strerror(errno) + ").";
    return false;
  }
  // Whatever side files are left belong to the replaced file, which is held alone and has none pending.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) std::remove((destination + suffix).c_str());
  return true;
}

}  // namespace viamappa
