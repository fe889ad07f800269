// Creating a new database: the file, the data dictionary, the road-network tables and relations built
// from it, and the rows every database starts with.
#pragma once

#include <string>

#include "ui/UserInterface.h"

namespace viamappa {

enum class CreationResult {
  FileFailed,        // the file could not be created: nothing was made
  DictionaryFailed,  // the dictionary tables could not be created: a partial file stays
  Incomplete,        // a later step failed, as shown: a partial file stays
  Created,           // complete, with its seed rows; the success message was shown
};

// Creates the database at path, which must not exist. Every failure is shown where it happens; the
// file and dictionary failures end with "Errore durante la creazione del database".
CreationResult CreateDatabaseFile(const std::string& path, UserInterface& ui);

}  // namespace viamappa
