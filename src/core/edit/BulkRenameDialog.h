// The bulk renaming of arc names ("Modifica Toponimi Archi Stradali"): a street name found by a
// fragment, optionally within one locality or one municipality, is replaced on every arc that carries
// it. The model holds the state of the controls, fills the lists, runs the search and the rename and
// answers the messages; a view only binds its widgets to it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DbConnection.h"
#include "db/DbQuery.h"
#include "ui/UserInterface.h"

namespace viamappa {

class BulkRenameDialog {
 public:
  static constexpr std::string_view kTitle = "Modifica Toponimi Archi Stradali";
  static constexpr std::string_view kMainName = "Denominazione principale";
  static constexpr std::string_view kAlternativeName = "Denominazione alternativa";
  static constexpr std::string_view kFragmentLabel = "Cerca:";
  static constexpr std::string_view kLocalityLabel = "Località";
  static constexpr std::string_view kMunicipalityLabel = "Comune";
  static constexpr std::string_view kSearchButton = "Ricerca";
  static constexpr std::string_view kNamesLabel = "Toponimo da sostituire";
  static constexpr std::string_view kNewNameLabel = "Nuovo:";
  static constexpr std::string_view kOkButton = "Ok";
  static constexpr std::string_view kCancelButton = "Annulla";
  static constexpr std::string_view kCloseButton = "Fine";
  // The fragment and the new name hold at most this many characters, as their fields do.
  static constexpr std::size_t kFieldCharacters = 60;

  // An entry of the locality or municipality list: its identifier (0 for "any"), for a locality the
  // identifier of its municipality, and the text shown.
  struct Entry {
    std::int32_t id = 0;
    std::int32_t municipality = 0;
    std::string text;
  };

  // What a rename did: the arcs selected and those changed.
  struct RenameCount {
    int selected = 0;
    int changed = 0;
  };

  // today gives the date written into the renamed arcs, "dd/mm/yyyy".
  BulkRenameDialog(DbConnection& connection, UserInterface& ui, std::function<std::string()> today = {});

  // Opening: both lists filled, their first entries chosen, no names, the main name to be renamed.
  void Load();

  // The radio buttons: the alternative name or the main one.
  bool alternative() const { return alternative_; }
  void SetAlternative(bool alternative) { alternative_ = alternative; }

  // "Cerca:" and "Nuovo:", cut to the characters their fields hold.
  const std::string& fragment() const { return fragment_; }
  void SetFragment(std::string_view text);
  const std::string& new_name() const { return new_name_; }
  void SetNewName(std::string_view text);

  // The filter lists: "Qualsiasi Località - 0000" then "locality [municipality-province] %04d" by
  // locality name; "Qualsiasi Comune - 0000" then "municipality-province %04d" by municipality name.
  const std::vector<Entry>& localities() const { return localities_; }
  const std::vector<Entry>& municipalities() const { return municipalities_; }
  int locality() const { return locality_; }
  int municipality() const { return municipality_; }

  // Choosing a locality chooses its municipality too; choosing a municipality chooses any locality.
  // Either empties the names and the new name. An index outside the list is ignored.
  void ChooseLocality(int index);
  void ChooseMunicipality(int index);

  // The entry whose identifier is exactly id; false, choosing nothing, when there is none.
  bool ChooseLocalityId(std::int32_t id);
  bool ChooseMunicipalityId(std::int32_t id);

  // The identifiers the search and the rename filter by (0: any).
  std::int32_t locality_filter() const { return localities_.empty() ? 0 : localities_[locality_].id; }
  std::int32_t municipality_filter() const {
    return municipalities_.empty() ? 0 : municipalities_[municipality_].id;
  }

  // "Ricerca": the names that contain the fragment, letter case aside, each once, within the filter.
  // Refuses an empty fragment with its message. False when refused.
  bool Search();
  const std::vector<std::string>& names() const { return names_; }

  // Choosing a name copies it into "Nuovo:"; -1 for none.
  int name() const { return name_; }
  void ChooseName(int index);

  // "Ok": checks the choice, asks for confirmation, renames and tells how many arcs changed. The
  // dialog stays open; after a rename the names are searched again. nullopt when refused or cancelled.
  std::optional<RenameCount> Ok();

  // The parts of Ok, for callers that confirm in their own way: the refusal to show (stop icon), the
  // confirmation question, and the rename itself with its result message. Rename changes exactly the
  // arcs whose name equals the chosen one, trailing blanks and letter case aside, within the filter;
  // nullopt when nothing could be stored (shown).
  std::optional<std::string> Refusal() const;
  std::string ConfirmationText();
  std::optional<RenameCount> Rename();

 private:
  std::string_view Field() const;
  void EmptyNames();
  void FilterQuery(DbQuery& query, std::string condition) const;
  std::string LocalityScope();
  bool RunSearch(const std::string& fragment);

  DbConnection& connection_;
  UserInterface& ui_;
  std::function<std::string()> today_;
  bool alternative_ = false;
  std::string fragment_;
  std::string searched_;  // the fragment of the last search
  std::string new_name_;
  std::vector<Entry> localities_;
  std::vector<Entry> municipalities_;
  int locality_ = 0;
  int municipality_ = 0;
  std::vector<std::string> names_;
  int name_ = -1;
};

}  // namespace viamappa
