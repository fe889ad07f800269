// The findings of the graph check as people and spreadsheets read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "edit/GraphValidation.h"

namespace viamappa {

// The title of a kind, as the counts name it ("Archi di lunghezza nulla").
std::string_view FindingTitle(FindingKind kind);

// One line per kind with its count: "Archi di lunghezza nulla: 3".
std::string ValidationCountLines(const GraphValidation& validation);

// A finding for a person: its kind, the arc or node, the related one and the position.
std::string FindingText(const Finding& finding);

// The listing: a header line, then one semicolon-separated line per finding (kind code, "arco" or
// "nodo", identifier, X and Y with a decimal comma, related identifier, distance), as spreadsheets with
// a decimal comma read it. No line ends.
std::vector<std::string> ValidationReportLines(const GraphValidation& validation);

// Writes the listing to path; false with the reason in error when the file cannot be written.
bool WriteValidationReport(const std::string& path, const GraphValidation& validation, std::string& error);

}  // namespace viamappa
