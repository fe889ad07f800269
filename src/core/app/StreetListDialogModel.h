// The dialog that chooses what the street list covers ("Estrazione Elenco Stradario"): a check box and
// an editable list of municipalities, a check box and an editable list of localities, OK and
// "Annulla". The model holds the state of the controls, fills the lists and validates OK; a view only
// binds its widgets to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/DbConnection.h"
#include "io/StreetList.h"

namespace viamappa {

class StreetListDialogModel {
 public:
  static constexpr const char* kTitle = "Estrazione Elenco Stradario";
  static constexpr const char* kMunicipalityGroup = "Selezione Comune";
  static constexpr const char* kMunicipalityBox = "Estrazione Stradario Comunale";
  static constexpr const char* kLocalityGroup = "Selezione Località";
  static constexpr const char* kLocalityBox = "Estrazione Stradario Località";

  // One entry of a list: the identifier and the text shown, "%04d - name".
  struct Entry {
    std::int32_t id = 0;
    std::string text;
  };

  // Both lists from the rows of comuni and local with an identifier above 0, ordered by name; both
  // boxes cleared and enabled, both lists disabled, their texts empty.
  void Load(DbConnection& connection);

  const std::vector<Entry>& municipalities() const { return municipalities_; }
  const std::vector<Entry>& localities() const { return localities_; }

  // Checking a box enables its list and clears and disables the other box and its list; clearing it
  // disables its list.
  void CheckMunicipality(bool checked);
  void CheckLocality(bool checked);

  bool municipality_checked() const { return municipality_.checked; }
  bool municipality_box_enabled() const { return municipality_.box_enabled; }
  bool municipality_list_enabled() const { return municipality_.list_enabled; }
  bool locality_checked() const { return locality_.checked; }
  bool locality_box_enabled() const { return locality_.box_enabled; }
  bool locality_list_enabled() const { return locality_.list_enabled; }

  // The text in each list's edit field: a chosen entry or what the person typed.
  void SetMunicipalityText(std::string text) { municipality_.text = std::move(text); }
  void SetLocalityText(std::string text) { locality_.text = std::move(text); }
  const std::string& municipality_text() const { return municipality_.text; }
  const std::string& locality_text() const { return locality_.text; }

  // OK. The text of a checked box must begin with digits (all of its first four characters, or all of
  // a shorter text) whose number is the identifier of an entry of its list. nullopt when accepted:
  // choice() then tells what the list covers. Otherwise the message to show with the stop icon, and
  // the dialog stays open.
  std::optional<std::string> Accept();

  // The result of the last accepted OK: an unchecked box gives identifier -1 and an empty name.
  const StreetListChoice& choice() const { return choice_; }

  // An entry's text: the identifier as "%04d", " - " and the name.
  static std::string EntryText(std::int32_t id, const std::string& name);

 private:
  struct Control {
    bool checked = false;
    bool box_enabled = true;
    bool list_enabled = false;
    std::string text;
  };

  static const Entry* Chosen(const std::string& text, const std::vector<Entry>& entries);

  std::vector<Entry> municipalities_;
  std::vector<Entry> localities_;
  Control municipality_;
  Control locality_;
  StreetListChoice choice_;
};

}  // namespace viamappa
