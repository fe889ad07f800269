#include "io/StagedFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "base/NumberText.h"

namespace viamappa {

namespace {

// A token no other staging of this process uses.
std::string NextToken() {
  static std::atomic<long long> counter{0};
  return FormatInteger(getpid()) + "-" + FormatInteger(++counter);
}

}  // namespace

StagedFiles::StagedFiles(std::vector<std::string> finals) : finals_(std::move(finals)) {
  const std::string token = NextToken();
  for (const std::string& final_path : finals_) {
    const std::size_t slash = final_path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    staging_.push_back(final_path.substr(0, name) + ".~" + token + "~" + final_path.substr(name));
  }
}

StagedFiles::~StagedFiles() {
  if (committed_) return;
  for (const std::string& path : staging_) std::remove(path.c_str());
}

bool StagedFiles::MayReplace() const {
  for (const std::string& path : finals_) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode) || access(path.c_str(), W_OK) != 0) return false;
  }
  return true;
}

bool StagedFiles::Commit() {
  // The first file (the one a person chose) goes last: while it is missing the set is not there.
  for (std::size_t k = finals_.size(); k-- > 0;) {
    if (std::rename(staging_[k].c_str(), finals_[k].c_str()) == 0) continue;
    for (std::size_t moved = k + 1; moved < finals_.size(); ++moved) std::remove(finals_[moved].c_str());
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace viamappa
