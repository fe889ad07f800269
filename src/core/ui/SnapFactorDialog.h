// The snap factor asked before a secondary graph is conflated: the distance in metres within which
// points of the two graphs count as the same place. One text field, with a decimal comma.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

class SnapFactorDialog {
 public:
  static constexpr std::string_view kTitle = "Fattore di Snap Importazione Grafo Secondario";
  static constexpr std::string_view kLabel = "Fattore di snap (m.)";
  static constexpr std::array<std::string_view, 3> kExplanation = {
      "Il fattore di snap esprime la soglia di approssimazione spaziale",
      "per determinare l'identità o meno degli archi dei grafi primario", "e secondario."};
  static constexpr double kDefaultMetres = 10;

  // Opens with the default written with two decimals and a comma: "10,00".
  SnapFactorDialog();

  const std::string& text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

  // What OK does: nullopt when the text is a number of metres, zero or more, with a comma or a point
  // (snap_factor() then answers it); otherwise the warning to show, and the dialog stays open.
  std::optional<std::string> Accept();

  // The factor of the last accepted text; the default until then.
  double snap_factor() const { return snap_factor_; }

 private:
  std::string text_;
  double snap_factor_ = kDefaultMetres;
};

}  // namespace viamappa
