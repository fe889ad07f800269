// The review file of a conflation: one line per record of the secondary shapefile with what became of
// it (analogous to which primary arcs, along which unified streets, inserted as which arc, or without
// geometry) and the nodes its ends got, so that the merge can be checked in a spreadsheet or a GIS.
// Semicolon-separated UTF-8 text with a header line, as spreadsheets with a decimal comma read it.
#pragma once

#include <string>
#include <vector>

#include "io/Conflation.h"

namespace viamappa {

// The header line and one line per secondary record, in record order, without line ends.
std::vector<std::string> ConflationReportLines(const ConflationResult& result);

// Writes the lines to path; false with the reason in error when the file cannot be written.
bool WriteConflationReport(const std::string& path, const ConflationResult& result, std::string& error);

}  // namespace viamappa
