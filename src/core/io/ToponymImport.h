// Loading the map toponyms from a tab-separated text file in the Windows-1252 code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/CodePage.h"
#include "db/DbConnection.h"
#include "io/ImportReport.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct ToponymImportCounts {
  int found = 0;
  int inserted = 0;
  ImportReport report;
};

// One line of the file as the import takes it: the name (column 2), the kind (column 4) and the box
// (columns 5 to 8, as written).
struct ToponymLine {
  std::string name;
  std::string kind;
  std::string minx, miny, maxx, maxy;
};

// The columns of a line (without its line end, in the file's code page); nullopt for a line of fewer than
// eight columns. The texts become UTF-8.
std::optional<ToponymLine> ParseToponymLine(std::string_view line, CodePage page = CodePage::Windows1252);

// True for the kinds loaded: "MISC" and "CS", exactly.
bool IsLoadedToponymKind(std::string_view kind);

// Imports the file in one batch: the first line is a header; lines of the loaded kinds become toponimi
// rows with identifiers from 0. The file is Windows-1252 unless it starts with the UTF-8 byte-order
// mark; lines end with LF, CR LF or a lone CR. A box value with a decimal point or comma is accepted.
// Lines of fewer than eight columns, of other kinds or with an inverted box are counted and left out; a
// line the database refuses is counted and the first one named. A file that cannot be read, or a failure
// of the database beyond one line, stores nothing (report.failed(), the reason shown).
ToponymImportCounts ImportToponyms(DbConnection& connection, const std::string& path, UserInterface& ui);

}  // namespace viamappa
