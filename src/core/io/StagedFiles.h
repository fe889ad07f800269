// Files written under temporary names beside the ones they are meant to replace, and moved into place
// only once all of them are written whole. A set that could not be written (a full disk, a removed
// folder) never stands under its final names, and the files it was to replace stay as they were.
#pragma once

#include <string>
#include <vector>

namespace viamappa {

class StagedFiles {
 public:
  // The paths the files are to end at.
  explicit StagedFiles(std::vector<std::string> finals);

  // Removes every temporary file not moved into place.
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // The temporary path of the i-th file: a hidden name in the same folder, which keeps the end of the
  // final name (so that the files of a shapefile set stay siblings of one another).
  const std::string& staging(std::size_t i) const { return staging_[i]; }

  // False when a final path names a folder, or an existing file that may not be written.
  bool MayReplace() const;

  // Moves every file into place, the first one last. False when one cannot be moved: then none of the
  // files is left, neither under its temporary name nor under its final one.
  bool Commit();

 private:
  std::vector<std::string> finals_;
  std::vector<std::string> staging_;
  bool committed_ = false;
};

}  // namespace viamappa
