// "Caratteristiche Arco Stradale": an arc's identifier and codes, its name and alternative name as they
// are and as first imported, and its road class. The name, the alternative and the class can be
// changed; OK checks them (the names against the street directory), "Elimina" asks to delete the arc.
// For a newly drawn arc it opens with the identifier 999999, every text empty and no deletion, as the
// form that names the new arc.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "edit/GeometryEdits.h"
#include "ui/UserInterface.h"

namespace viamappa {

// The road class list, in order; an entry's code is its first two characters, entry 0 has none.
inline constexpr std::array<std::string_view, 6> kRoadClassEntries = {
    "   - Classe non definita", "SC - Strada Comunale", "SP - Strada Provinciale",
    "SR - Strada Regionale",    "SS - Strada Statale",  "PR - Strada Progetto",
};

// The entry of the class list that begins with the code, without regard to letter case; entry 0 for an
// empty code or one that no entry begins with.
int RoadClassEntry(std::string_view code);

// Names are at most this many characters.
inline constexpr std::size_t kArcNameCharacters = 60;

// How the dialog was closed: OK, Annulla, or Elimina confirmed.
enum class ArcDialogClose { Ok = 1, Cancel = 2, Delete = 1019 };

// What the dialog opens with.
struct ArcAttributesInputs {
  static constexpr std::int32_t kNewArcId = 999999;

  std::int32_t id = kNewArcId;
  std::string codele;
  std::string codreg;
  std::string denom;
  std::string orgden;
  std::string alterna;
  std::string orgalt;
  std::string classe;
  bool can_delete = false;
  bool regional = false;  // the arc belongs to the regional graph: it can only be marked deleted
};

// The inputs of a stored arc: its texts without trailing blanks, deletion possible.
ArcAttributesInputs AttributesOf(const ArcRecord& arc);

class ArcAttributesDialog {
 public:
  static constexpr std::string_view kTitle = "Caratteristiche Arco Stradale";
  static constexpr std::string_view kNoNameMessage =
      "ATTENZIONE: La Denominazione dell'Arco Stradale non è indicata.\n\n"
      "Occorre specificare la Denominazione dell'Arco Stradale.";
  static constexpr std::string_view kNoClassMessage =
      "ATTENZIONE: La Classe dell'Arco Stradale non è indicata.\n\n"
      "Occorre specificare la Classe dell'Arco Stradale.";

  // Checks a typed street name; true when accepted, with the text to store in place of the typed one.
  using NameCheck = std::function<bool(std::string& text)>;

  // Opens with the inputs: the name and the alternative as given (cut to 60 characters), the class
  // entry found for the given class. Refusals and questions go to ui; check validates the names.
  ArcAttributesDialog(ArcAttributesInputs inputs, UserInterface& ui, NameCheck check);

  const ArcAttributesInputs& inputs() const { return inputs_; }
  // The identifier as shown ("%ld").
  std::string id_text() const;
  bool deletion_enabled() const { return inputs_.can_delete; }

  // The texts as typed, cut to 60 characters.
  void SetName(std::string_view text);
  void SetAlternative(std::string_view text);
  const std::string& name() const { return name_; }
  const std::string& alternative() const { return alternative_; }

  // The chosen entry of the class list; an index outside it chooses entry 0.
  void SetClassIndex(int index);
  int class_index() const { return class_index_; }

  // OK: the name must be given and a class chosen (otherwise the message is shown), an alternative equal
  // to the name is dropped, and each name must pass the check (which shows its own refusal). True when
  // the dialog closes, with values() ready; false when it stays open, with the names as the check left
  // them.
  bool Accept();

  // Elimina: asks whether to delete the arc, regional or added. True when the person confirms (the
  // dialog closes); false, without asking, when deletion is not enabled.
  bool ConfirmDeletion();

  // The values of an accepted dialog: the name, the alternative and the class code.
  const ArcAttributeValues& values() const { return values_; }

 private:
  ArcAttributesInputs inputs_;
  UserInterface& ui_;
  NameCheck check_;
  std::string name_;
  std::string alternative_;
  int class_index_ = 0;
  ArcAttributeValues values_;
};

}  // namespace viamappa
