// Database files as the commands handle them: which path is which file, and removing a file with its
// journal.
#pragma once

#include <string>

namespace viamappa {

// True when both paths name the same existing file (through links, relative paths or letter case of a
// path that the file system ignores).
bool SameFile(const std::string& a, const std::string& b);

bool FileExists(const std::string& path);

// Removes a database file and the engine's side files beside it; false with the reason when the file
// stays.
bool RemoveDatabaseFile(const std::string& path, std::string& error);

// True when a new file can be written in the folder.
bool FolderIsWritable(const std::string& folder);

}  // namespace viamappa
