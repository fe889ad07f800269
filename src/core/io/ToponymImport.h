// Loading the map toponyms from a tab-separated text file in the Windows-1252 code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct ToponymImportCounts {
  int found = 0;
  int inserted = 0;
};

// One line of the file as the import takes it: the name (column 2), the kind (column 4) and the box
// (columns 5 to 8, as written).
struct ToponymLine {
  std::string name;
  std::string kind;
  std::string minx, miny, maxx, maxy;
};

// The columns of a line (without its line end, in Windows-1252); nullopt for a line of fewer than eight
// columns. The texts become UTF-8.
std::optional<ToponymLine> ParseToponymLine(std::string_view line);

// True for the kinds loaded: "MISC" and "CS", exactly.
bool IsLoadedToponymKind(std::string_view kind);

// Imports the file: the first line is a header; lines of the loaded kinds become toponimi rows with
// identifiers from 0. A box value with a decimal point or comma is accepted. Stops without a message when
// the file cannot be opened. All rows go into one batch.
ToponymImportCounts ImportToponyms(DbConnection& connection, const std::string& path, UserInterface& ui);

}  // namespace viamappa
