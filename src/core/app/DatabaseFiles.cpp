#include "app/DatabaseFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace viamappa {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

bool RemoveDatabaseFile(const std::string& path, std::string& error) {
  if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
    error = "Impossibile sostituire il file " + path + " (" + std::strerror(errno) + ").";
    return false;
  }
  for (const char* suffix : {"-journal", "-wal", "-shm"}) std::remove((path + suffix).c_str());
  return true;
}

bool FolderIsWritable(const std::string& folder) {
  struct stat info {};
  return !folder.empty() && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace viamappa
