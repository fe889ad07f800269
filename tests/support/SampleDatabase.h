// A small road network built through the engine interface, for the tests of the access layer:
// nodi, archi (every field type but memo and currency), geoarchi with a long-binary field, and a table
// `campione` with one field of every dictionary type letter.
#pragma once

#include <memory>
#include <string>

#include "db/Engine.h"

namespace viamappa::testing {

// Creates the sample database at path; a failure is reported in error and answered with null.
std::unique_ptr<EngineDatabase> CreateSampleDatabase(const std::string& path, std::string& error);

}  // namespace viamappa::testing
