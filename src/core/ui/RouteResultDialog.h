// The result of a shortest path ("Determinazione Percorso Minimo"): the route's length, its stretches
// street by street, and the three ways out: OK, Annulla and Salva, which asks to save the route.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace viamappa {

// The button that closed the dialog.
enum class RouteDialogChoice { Ok, Cancel, Save };

class RouteResultDialog {
 public:
  static constexpr std::string_view kTitle = "Determinazione Percorso Minimo";
  static constexpr std::string_view kOk = "OK";
  static constexpr std::string_view kCancel = "Annulla";
  static constexpr std::string_view kSave = "Salva";

  // length: the text above the list; lines: one per stretch.
  RouteResultDialog(std::string length, std::vector<std::string> lines)
      : length_(std::move(length)), lines_(std::move(lines)) {}

  const std::string& length_text() const { return length_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::string length_;
  std::vector<std::string> lines_;
};

}  // namespace viamappa
