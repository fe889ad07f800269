#include "query/RouteReport.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "base/NumberText.h"
#include "base/Windows1252.h"

namespace viamappa {

namespace {

constexpr double kKilometresPerMetre = 0.001;

// printf "%5.2lf" whatever the locale.
std::string Fixed5_2(double value) {
  std::string text = FormatFixed(value, 2);
  if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
  return text;
}

// The text in the file's code page with every line ended by CR LF.
std::string FileBytes(std::string_view text) {
  std::string out;
  for (const char c : Utf8ToWindows1252(text)) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::vector<RouteStretch> Stretches(const RouteChain& chain) {
  std::vector<RouteStretch> stretches;
  double metres = 0;
  for (std::size_t i = 0; i < chain.items.size(); ++i) {
    const RouteItem& item = chain.items[i];
    metres += item.Length();
    const bool last_of_stretch = i + 1 == chain.items.size() || chain.items[i + 1].street != item.street ||
                                 chain.items[i + 1].locality != item.locality;
    if (last_of_stretch) stretches.push_back({metres * kKilometresPerMetre, item.street, item.locality});
  }
  return stretches;
}

std::string RouteLengthText(const RouteChain& chain) {
  return "Il percorso minimo identificato misura " +
         FormatFixed(chain.TotalLength() * kKilometresPerMetre, 2) + " Km";
}

std::string StretchLine(const RouteStretch& stretch) {
  return "Km " + Fixed5_2(stretch.kilometres) + " - " + stretch.street + " - " + stretch.locality;
}

FileChoice RouteFileChoice() {
  FileChoice choice;
  choice.title = "Salvataggio Percorso Minimo";
  choice.filter = "File di testo (*.txt)|*.txt|Tutti i files (*.*)|*.*||";
  choice.default_extension = "TXT";
  choice.default_name = "PERCORSO_MINIMO";
  choice.confirm_overwrite = true;
  return choice;
}

bool WriteRouteFile(const std::string& path, const std::vector<RouteStretch>& stretches, UserInterface& ui) {
  std::string text = "Percorso Minimo deteminato da Viamappa\n\n";
  for (const RouteStretch& stretch : stretches) text += StretchLine(stretch) + "\n";
  const std::string bytes = FileBytes(text);

  // Written beside the destination and put in its place when complete, so that a failure never leaves
  // a cut file or loses the one that was there.
  const std::string staging = path + ".tmp-" + std::to_string(getpid());
  bool written = false;
  if (std::FILE* file = std::fopen(staging.c_str(), "wb")) {
    written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    std::error_code error;
    if (written) std::filesystem::rename(staging, path, error);
    written = written && !error;
  }
  if (!written) {
    std::error_code ignored;
    std::filesystem::remove(staging, ignored);
    ui.ShowMessage("Impossibile creare\n\n" + path, MessageIcon::Warning);
  }
  return written;
}

bool SaveRoute(const RouteChain& chain, UserInterface& ui) {
  const std::optional<std::string> path = ui.ChooseSaveFile(RouteFileChoice());
  if (!path) return false;
  return WriteRouteFile(*path, Stretches(chain), ui);
}

}  // namespace viamappa
