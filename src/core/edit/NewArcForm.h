// The form of a newly drawn arc: its name, its alternative name and its road class, with the checks of
// OK. It gives the three values the arc is stored with; the full arc attributes dialog takes its place
// when it comes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "edit/GeometryEdits.h"

namespace viamappa {

// The road class list, in order; an entry's code is its first two characters, entry 0 has none.
inline constexpr std::array<std::string_view, 6> kRoadClassEntries = {
    "   - Classe non definita", "SC - Strada Comunale", "SP - Strada Provinciale",
    "SR - Strada Regionale",    "SS - Strada Statale",  "PR - Strada Progetto",
};

// Names are at most this many characters.
inline constexpr std::size_t kArcNameCharacters = 60;

class NewArcForm {
 public:
  // The identifier a new arc is shown with, the form's title.
  static constexpr std::string_view kShownId = "999999";
  static constexpr std::string_view kTitle = "Caratteristiche Arco Stradale";

  // The texts as typed, cut to 60 characters.
  void SetName(std::string_view text);
  void SetAlternative(std::string_view text);
  const std::string& name() const { return name_; }
  const std::string& alternative() const { return alternative_; }

  // The chosen entry of the class list; an index outside it chooses entry 0.
  void SetClassIndex(int index);
  int class_index() const { return class_index_; }

  // The checks of OK: the message to show with the stop icon (the form stays open), or nothing and the
  // values are ready.
  std::optional<std::string> Accept();

  // The values of an accepted form: the name and the alternative without trailing blanks (the
  // alternative empty when it repeats the name) and the class code.
  const NewArcValues& values() const { return values_; }

 private:
  std::string name_;
  std::string alternative_;
  int class_index_ = 0;
  NewArcValues values_;
};

// What the editing asks of a person through dialogs; the desktop program shows windows, tests play a
// script.
class EditDialogs {
 public:
  virtual ~EditDialogs() = default;

  // Shows the form of a new arc until it is accepted or cancelled; true when accepted.
  virtual bool AskNewArc(NewArcForm& form) = 0;

  // Opens the attributes of an arc of the cache (the command "Modifica Dati Arco Stradale").
  virtual void OpenArcAttributes(LineFeature& arc) = 0;
};

}  // namespace viamappa
