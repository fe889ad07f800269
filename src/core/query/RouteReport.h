// What a computed route tells the person: its length, its stretches street by street with cumulative
// kilometres, and the text file they can be saved to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "query/RouteChain.h"
#include "ui/UserInterface.h"

namespace viamappa {

// Consecutive items with the same street and the same locality (exact texts), with the kilometres from
// the start of the route to the end of the stretch.
struct RouteStretch {
  double kilometres = 0;
  std::string street;
  std::string locality;

  bool operator==(const RouteStretch&) const = default;
};

std::vector<RouteStretch> Stretches(const RouteChain& chain);

// "Il percorso minimo identificato misura %1.2lf Km" with the route's length in kilometres.
std::string RouteLengthText(const RouteChain& chain);

// "Km %5.2lf - %s - %s".
std::string StretchLine(const RouteStretch& stretch);

// The choice of the file to save a route to: "Salvataggio Percorso Minimo", "PERCORSO_MINIMO", "TXT".
FileChoice RouteFileChoice();

// Writes the route file at path, replacing a file there only once the new one is complete: the heading
// "Percorso Minimo deteminato da Viamappa", a blank line, one line per stretch, in Windows-1252 with
// CR LF line ends. When it cannot be written, "Impossibile creare\n\n" and the path are shown (warning
// icon), nothing is left behind and false is answered.
bool WriteRouteFile(const std::string& path, const std::vector<RouteStretch>& stretches, UserInterface& ui);

// Asks where to save the route and writes it there; false when the person cancelled or it could not be
// written.
bool SaveRoute(const RouteChain& chain, UserInterface& ui);

}  // namespace viamappa
