// Creating a new database: the file, the data dictionary, the road-network tables and relations built
// from it, and the rows every database starts with.
#pragma once

#include <string>

#include "ui/UserInterface.h"

namespace viamappa {

enum class CreationResult {
  FileFailed,        // the file could not be created
  DictionaryFailed,  // the dictionary tables could not be created
  Incomplete,        // a later step failed, as shown
  Created,           // complete, with its seed rows; the success message was shown
};

// Creates the database at path. The file is built beside it and takes its place only when complete, so
// that a failure (a full disk, a refused step) leaves nothing at path, or the file that was there. An
// existing file at path is replaced only when no other process is using it. Every failure is shown where
// it happens; the file and dictionary failures end with "Errore durante la creazione del database".
CreationResult CreateDatabaseFile(const std::string& path, UserInterface& ui);

}  // namespace viamappa
