// The engine's own description of a failure, in Italian where the failure is one a person can act on.
#pragma once

#include <sqlite3.h>

#include <string>

namespace viamappa {

// Describes the last failure of a connection, rc being the result code of the failed call.
std::string DescribeEngineError(sqlite3* db, int rc);

}  // namespace viamappa
